// The temporary tile files that a crash left in the cache ("….jpg.part<pid>-<n>"): removed once the
// program folder is opened, on a detached thread of their own, since a large cache has many folders and
// the window must not wait for them. Touches only the file system.
#pragma once

#include "tiles/tile_paths.h"

namespace zelvano {

void removeStaleTileFilesInBackground(const CacheLayout& layout);

} // namespace zelvano
