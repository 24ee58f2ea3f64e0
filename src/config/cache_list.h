// CacheList.dat in the program folder: further cache folders, one per line (code page 1251, CR LF).
// Loaded at start-up and after the settings dialog; saved by the settings dialog. UI thread.
#pragma once

#include <QString>
#include <QStringList>

namespace zelvano {

// The listed folders; empty, silently, when the file is missing or unreadable.
QStringList loadCacheList(const QString& programFolder);

bool saveCacheList(const QString& programFolder, const QStringList& folders);

} // namespace zelvano
