// Lower-zoom generation: a parent satellite tile is its four children scaled to half size side by side
// (q top left, r top right, s bottom right, t bottom left). Runs on the thread that calls it; two threads
// building the same parent leave the last writer's file.
#pragma once

#include "geo/tile_id.h"
#include "tiles/tile_paths.h"

namespace zelvano {

enum class ParentBuild { Built, MissingChildren, Failed };

// Composes `parent` from its four children and saves it as JPEG of `quality`. Needs all four children
// present and none read-only; a child that does not decode leaves its quarter black.
ParentBuild buildParentTile(const geo::TileId& parent, const CacheLayout& layout, int quality);

// Walks up from the tile: builds each parent from its children, up to the first parent already cached
// (replace off) or the whole-world tile "t" (replace on). A failure to compose or save ends the walk.
void BuildParents(const geo::TileId& tile, bool replace, const CacheLayout& layout, int quality);

} // namespace zelvano
