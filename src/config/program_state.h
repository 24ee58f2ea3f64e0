// The program's state for a whole run, shared by the desktop window and the command-line tool: the program
// folder, the settings, the language table and the list of additional caches. Loaded and changed on the UI
// thread (or by a command-line verb); the language table may be read from any thread.
#pragma once

#include "config/settings_file.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace zelvano {

struct ProgramState {
    QString folder;
    Settings settings;
    std::shared_ptr<LanguageTable> language = std::make_shared<LanguageTable>();
    QStringList extraCaches; // CacheList.dat, for the settings dialog: no tile lookup reads them
    SettingsLoadResult loaded;

    // The state of the folder as the program starts: the settings file (which loads the language table)
    // and the cache list; what is missing or broken gives defaults, silently. Stale temporary files that
    // a crash left in the folder and in Language go first.
    static ProgramState load(const QString& folder);
};

// A short ReadMe.txt of the program (code page 1251), which the settings dialog's About tab opens; an
// existing one is left as it is.
void writeReadMeIfMissing(const QString& programFolder);

} // namespace zelvano
