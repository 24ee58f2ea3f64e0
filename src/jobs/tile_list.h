// The tiles a job works through: the grid that covers the selection at a level, walked column by column
// from west to east and each column from north to south, and the job's list built from it. A node holds
// the tile's identity, its pixel offsets from the selection's north-west corner and its two pending flags;
// requests and cache paths are made when the worker takes the tile, so a list of a million tiles stays
// small. Any thread.
#pragma once

#include "geo/position.h"
#include "geo/tile_id.h"

#include <cstdint>
#include <vector>

namespace zelvano {

struct JobTile {
    geo::TileId tile;
    std::int32_t x = 0; // west edge from the selection's west edge at the tile's level; the first column ≤ 0
    std::int32_t y = 0; // north edge from the selection's north edge; the first row ≤ 0
    bool satPending = false;
    bool overlayPending = false;

    bool operator==(const JobTile&) const = default;
};

// A rectangle at one level: its north-west corner and its size in pixels there.
struct GridRect {
    int level = 1;
    geo::Position topLeft;
    int width = 0;
    int height = 0;
};

// The selection between two corners at one level: the size is the pixel offset between them, whichever
// way round they were given.
GridRect selectionGrid(int level, geo::Position topLeft, geo::Position bottomRight);

// Visits every tile of the grid in walk order with its offsets: from the tile that holds the corner, whose
// pixel column c0 and row r0 it lies at, columns x = -c0, -c0 + 256, … while x < width, and in each rows
// y = -r0, … while y < height, the neighbours found by steps, not by projecting again.
template <class Visit> void walkGrid(const GridRect& rect, Visit&& visit);

// The tiles of a job in the order the worker takes them. Built in walk order and taken from the back: the
// tile built last is the first processed.
class JobTileList {
public:
    // A download or stitch job: the grid at the job's level.
    static JobTileList forLevel(const GridRect& rect);
    // A lower-zoom generation job: the grids at levels 1 to `jobLevel` between the two corners, built in
    // increasing level, so that the job level's tiles are taken first and level 1's last.
    static JobTileList forGeneration(int jobLevel, geo::Position topLeft, geo::Position bottomRight);

    std::size_t size() const { return tiles_.size(); }
    bool empty() const { return tiles_.empty(); }
    // The next tile to process, and taking it off the list.
    const JobTile& next() const { return tiles_.back(); }
    JobTile takeNext();
    // In the order they were built (the last one is next).
    const std::vector<JobTile>& built() const { return tiles_; }

private:
    std::vector<JobTile> tiles_;
};

// --- implementation of the walk ---

struct GridStart {
    geo::TileId tile; // the tile that holds the corner
    int column = 0;   // the corner's pixel column inside it
    int row = 0;      // its pixel row; 256 on the tile's south edge
};
GridStart gridStart(const GridRect& rect);

template <class Visit> void walkGrid(const GridRect& rect, Visit&& visit) {
    const GridStart start = gridStart(rect);
    geo::TileId top = start.tile;
    for (int x = -start.column; x < rect.width; x += 256) {
        geo::TileId tile = top;
        for (int y = -start.row; y < rect.height; y += 256) {
            visit(tile, x, y);
            tile = geo::StepSouth(tile);
        }
        top = geo::StepEast(top);
    }
}

} // namespace zelvano
