#include "config/program_state.h"

#include "config/cache_list.h"

namespace zelvano {

ProgramState ProgramState::load(const QString& folder) {
    ProgramState state;
    state.folder = folder;
    state.extraCaches = loadCacheList(folder);
    state.loaded = loadSettings(state.settings, *state.language, folder);
    return state;
}

} // namespace zelvano
