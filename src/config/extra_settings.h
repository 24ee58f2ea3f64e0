// Settings that the 98-line settings file has no line for, kept in Zelvano.ini (INI format) in the program
// folder so that ZLV2.ini stays as it is. Absent or out-of-range values read as their defaults. UI thread
// or a command-line verb.
#pragma once

#include <QString>

namespace zelvano {

inline constexpr int kMinDownloadConnections = 1;
inline constexpr int kMaxDownloadConnections = 8;

struct ExtraSettings {
    int downloadConnections = 2; // [download] connections: parallel fetches of a download job

    bool operator==(const ExtraSettings&) const = default;
};

ExtraSettings loadExtraSettings(const QString& programFolder);
// "downloadConnections" = a number from 1 to 8; false for another name or value.
bool setExtraSettingByName(ExtraSettings& extra, const QString& name, const QString& value);
// False when the file could not be written.
bool saveExtraSettings(const QString& programFolder, const ExtraSettings& extra);

} // namespace zelvano
