// The program folder: where the settings, language, bookmark and cache-list files and the default cache
// live. $ZELVANO_HOME when set; else the executable's folder when it is writable and not under /usr (a
// portable copy); else ~/.local/share/Zelvano (an installed program). Any thread.
#pragma once

#include <QString>

namespace zelvano {

// The folder path without a trailing slash; created when it does not exist yet.
QString programFolder();

// Whether a program in this folder keeps its files beside itself.
bool isPortableFolder(const QString& executableFolder);

QString settingsFilePath(const QString& programFolder);   // <folder>/ZLV2.ini
QString languageFolderPath(const QString& programFolder); // <folder>/Language

} // namespace zelvano
