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
        if (QFileInfo(exe).isWritable())
            folder = exe;
        else
            folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zelvano");
    }
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    QDir().mkpath(folder);
    return folder;
}

QString settingsFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/ZLV2.ini");
}

QString languageFolderPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Language");
}

} // namespace zelvano
