#include "config/program_state.h"

#include "base/text_file.h"
#include "config/cache_list.h"
#include "config/program_folder.h"

#include <QFile>

namespace zelvano {

ProgramState ProgramState::load(const QString& folder) {
    ProgramState state;
    state.folder = folder;
    // What a crash in the middle of a save left beside the settings, bookmarks, cache list and languages.
    for (const QString& f : {folder, languageFolderPath(folder)})
        removeStaleTemporaryFiles(QFile::encodeName(f).toStdString());
    state.extraCaches = loadCacheList(folder);
    state.loaded = loadSettings(state.settings, *state.language, folder);
    return state;
}

} // namespace zelvano
