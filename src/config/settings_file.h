// The positional settings file ZLV2.ini: 98 lines without keys, each setting on a fixed line, in code page
// 1251 with CR LF. Loading and saving run on the UI thread (or in a command-line run).
#pragma once

#include "config/language_table.h"
#include "config/settings.h"

#include <QJsonObject>
#include <QStringList>

#include <optional>

namespace zelvano {

inline constexpr int kSettingsLineCount = 98;

struct SettingsLoadResult {
    bool fileRead = false;
    std::optional<int> stoppedAtLine; // the first line reading needed and could not take
    bool selectionPresent = false;    // the saved selection counts as present again
};

// Reads the lines in the program's fixed order and applies each to `settings` at once. Reading stops at
// the first absent line and at the first malformed decimal; what was not applied keeps its value. Loads
// the language table right after line 86, and again at the end when reading stopped early.
SettingsLoadResult loadSettings(Settings& settings, LanguageTable& language, const QString& programFolder);

// The same, from lines already in memory.
SettingsLoadResult applySettingsLines(Settings& settings, const QStringList* lines, LanguageTable& language,
                                      const QString& programFolder);

// The 98 lines that saveSettings writes.
QStringList settingsLines(const Settings& settings);

// Replaces ZLV2.ini in the program folder; false (the file unchanged) when it cannot be written.
bool saveSettings(const Settings& settings, const QString& programFolder);

// Sets one setting by its name from text: flags "true"/"false", numbers with a point, work modes by the
// names settingsAsJson uses, mouseMode "S" or "C", a tool window's field as "toolWindowLayout.2.visible".
// False for an unknown name or a value of the wrong kind.
bool setSettingByName(Settings& settings, const QString& name, const QString& value);

enum class Secrets { Masked, Shown };

// Every setting under its name; work modes as "cacheOnly", "internetOnly" or "cacheAndInternet". A proxy
// password shows as "********" unless asked for.
QJsonObject settingsAsJson(const Settings& settings, Secrets secrets = Secrets::Masked);

} // namespace zelvano
