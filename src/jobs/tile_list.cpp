#include "jobs/tile_list.h"

#include "geo/tile_math.h"

#include <cstdlib>

namespace zelvano {

GridRect selectionGrid(int level, geo::Position topLeft, geo::Position bottomRight) {
    const geo::PixelOffsetResult size = geo::PixelOffset(level, bottomRight, topLeft);
    return {level, topLeft, std::abs(size.ox), std::abs(size.oy)};
}

GridStart gridStart(const GridRect& rect) {
    const geo::TileLocation at = geo::LocateTile(rect.level, rect.topLeft);
    return {at.tile(), at.pixelColumn, at.pixelRow};
}

namespace {

// How many tiles the walk visits, to reserve the list once.
std::size_t gridCount(const GridRect& rect) {
    const GridStart start = gridStart(rect);
    auto steps = [](int from, int below) { return from < below ? std::size_t((below - from + 255) / 256) : 0; };
    return steps(-start.column, rect.width) * steps(-start.row, rect.height);
}

void append(std::vector<JobTile>& tiles, const GridRect& rect) {
    walkGrid(rect, [&](const geo::TileId& tile, int x, int y) { tiles.push_back({tile, x, y}); });
}

} // namespace

JobTileList JobTileList::forLevel(const GridRect& rect) {
    JobTileList list;
    list.tiles_.reserve(gridCount(rect));
    append(list.tiles_, rect);
    return list;
}

JobTileList JobTileList::forGeneration(int jobLevel, geo::Position topLeft, geo::Position bottomRight) {
    JobTileList list;
    std::size_t count = 0;
    for (int level = geo::kMinLevel; level <= jobLevel; ++level)
        count += gridCount(selectionGrid(level, topLeft, bottomRight));
    list.tiles_.reserve(count);
    for (int level = geo::kMinLevel; level <= jobLevel; ++level)
        append(list.tiles_, selectionGrid(level, topLeft, bottomRight));
    return list;
}

JobTile JobTileList::takeNext() {
    const JobTile tile = tiles_.back();
    tiles_.pop_back();
    return tile;
}

} // namespace zelvano
