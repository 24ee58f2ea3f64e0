#include "config/extra_settings.h"

#include <QSettings>

namespace zelvano {

namespace {

QString iniPath(const QString& folder) {
    return folder + QStringLiteral("/Zelvano.ini");
}

} // namespace

ExtraSettings loadExtraSettings(const QString& folder) {
    ExtraSettings extra;
    const QSettings ini(iniPath(folder), QSettings::IniFormat);
    bool ok = false;
    const int connections = ini.value(QStringLiteral("download/connections")).toInt(&ok);
    if (ok && connections >= kMinDownloadConnections && connections <= kMaxDownloadConnections)
        extra.downloadConnections = connections;
    return extra;
}

bool setExtraSettingByName(ExtraSettings& extra, const QString& name, const QString& value) {
    if (name != QLatin1StringView("downloadConnections")) return false;
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < kMinDownloadConnections || n > kMaxDownloadConnections) return false;
    extra.downloadConnections = n;
    return true;
}

bool saveExtraSettings(const QString& folder, const ExtraSettings& extra) {
    QSettings ini(iniPath(folder), QSettings::IniFormat);
    ini.setValue(QStringLiteral("download/connections"), extra.downloadConnections);
    ini.sync(); // QSettings writes through a temporary file and renames it
    return ini.status() == QSettings::NoError;
}

} // namespace zelvano
