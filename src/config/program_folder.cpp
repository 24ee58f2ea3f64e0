#include "config/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zelvano {

namespace {

QString executableFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

} // namespace

QString programFolder() {
    QString folder = qEnvironmentVariable("ZELVANO_HOME");
    if (folder.isEmpty()) {
        const QString exe = executableFolder();
        if (isPortableFolder(exe))
            folder = exe;
        else
            folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zelvano");
    }
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    QDir().mkpath(folder);
    return folder;
}

bool isPortableFolder(const QString& executableFolder) {
    // An installed program (under /usr) never writes there, even where it may, as root may.
    const QString folder = QDir::cleanPath(executableFolder);
    return QFileInfo(folder).isWritable() && folder != QLatin1StringView("/usr") &&
           !folder.startsWith(QLatin1StringView("/usr/"));
}

QString settingsFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/ZLV2.ini");
}

QString languageFolderPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Language");
}

} // namespace zelvano
