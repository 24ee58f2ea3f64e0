// Lower-zoom generation: a parent satellite tile is its four children scaled to half size side by side
// (q top left, r top right, s bottom right, t bottom left). Runs on the thread that calls it; two threads
// building the same parent leave the last writer's file.
#pragma once

#include "geo/tile_id.h"
#include "tiles/tile_paths.h"

namespace zelvano {

enum class ParentBuild { Built, Kept, MissingChildren, Failed }; // Kept: nothing to build, the parent stays

// What a child that is present but does not load does to its parent.
enum class UnreadableChild {
    BlackQuarter, // the parent is built with that quarter black (the walk up from a new tile)
    NoParent,     // the parent is left as it was (a generation job)
};

// Composes `parent` from its four children and saves it as JPEG of `quality`. Needs all four children
// present and none read-only.
ParentBuild buildParentTile(const geo::TileId& parent, const CacheLayout& layout, int quality,
                            UnreadableChild unreadable = UnreadableChild::BlackQuarter);

// A generation job's step for one tile of its list: the parent of `tile` from the tile and its three
// siblings, when `replace` is set or the parent is not cached; nothing for the whole-world tile.
ParentBuild buildJobParent(const geo::TileId& tile, bool replace, const CacheLayout& layout, int quality);

// Walks up from the tile: builds each parent from its children, up to the first parent already cached
// (replace off) or the whole-world tile "t" (replace on). A failure to compose or save ends the walk.
void BuildParents(const geo::TileId& tile, bool replace, const CacheLayout& layout, int quality);

} // namespace zelvano
