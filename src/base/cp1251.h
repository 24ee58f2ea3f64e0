// Conversion between Unicode text and the 8-bit Windows Cyrillic code page (1251) in which the
// program's settings, language, bookmark and cache-list files are stored. Pure functions; any thread.
#pragma once

#include <QByteArray>
#include <QString>

namespace zelvano {

QString fromCp1251(QByteArrayView bytes);

// Characters that code page 1251 cannot hold become '?'.
QByteArray toCp1251(QStringView text);

} // namespace zelvano
