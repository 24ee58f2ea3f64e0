#include "geo/tile_math.h"
#include "jobs/tile_list.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zelvano;
using geo::TileId;

namespace {

// A position at pixel column `column` and row `row` of a tile at level 10 (row 256: on its south edge),
// nudged a tenth of a pixel south-east when `inside`.
geo::Position cornerAt(int column, int row, bool inside = false) {
    geo::Position p{55.75, -37.6}; // Moscow, west-positive
    const geo::TileLocation at = geo::LocateTile(10, p);
    geo::ShiftPosition(column - at.pixelColumn, row - at.pixelRow, 10, p);
    if (inside) {
        const geo::Position next = [&] {
            geo::Position q = p;
            geo::ShiftPosition(1, 1, 10, q);
            return q;
        }();
        p = {p.lat + (next.lat - p.lat) / 10, p.lonW + (next.lonW - p.lonW) / 10};
    }
    return p;
}

std::vector<std::pair<int, int>> offsets(const JobTileList& list) {
    std::vector<std::pair<int, int>> out;
    for (const JobTile& t : list.built())
        out.emplace_back(t.x, t.y);
    return out;
}

} // namespace

// The walk: columns from -c0 and rows from -r0 in steps of 256 while inside the rectangle, column by column
// from west to east and each column from north to south; the tile built last is taken first.
TEST(GridWalk, OffsetsAndOrderFromTheCornersPixel) {
    using Offsets = std::vector<std::pair<int, int>>;
    struct Case {
        const char* name;
        int column, row;
        bool inside;
        int width, height;
        Offsets expected; // in walk order
    };
    const Case cases[] = {
        // The rows run while y < 200, so 206 is not one: two nodes, not the four a quick reading suggests.
        {"300 x 200 from column 100, row 50", 100, 50, false, 300, 200, {{-100, -50}, {156, -50}}},
        {"300 x 300 from column 100, row 50",
         100,
         50,
         false,
         300,
         300,
         {{-100, -50}, {-100, 206}, {156, -50}, {156, 206}}},
        {"512 x 256 from a tile's corner", 0, 0, true, 512, 256, {{0, 0}, {256, 0}}},
        // Exactly on a horizontal boundary the corner belongs to the tile north of it, at its row 256:
        // the walk starts a row higher.
        {"512 x 256 exactly on a corner", 0, 256, false, 512, 256, {{0, -256}, {0, 0}, {256, -256}, {256, 0}}},
        {"no width from a tile's edge", 0, 0, true, 0, 200, {}},
        {"no width inside a tile", 100, 50, false, 0, 200, {{-100, -50}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const geo::Position corner = cornerAt(c.column, c.row, c.inside);
        const geo::TileLocation at = geo::LocateTile(10, corner);
        ASSERT_EQ(at.pixelColumn, c.column);
        ASSERT_EQ(at.pixelRow, c.row);
        const JobTileList list = JobTileList::forLevel({10, corner, c.width, c.height});
        EXPECT_EQ(offsets(list), c.expected);
        // Each node is the corner's tile moved by its offsets, found by steps.
        for (const JobTile& t : list.built()) {
            const TileId start = at.tile();
            EXPECT_EQ(t.tile, (TileId{10, start.x + (t.x + c.column) / 256, start.y + (t.y + c.row) / 256}));
            EXPECT_FALSE(t.satPending || t.overlayPending);
        }
        if (list.empty()) continue;
        EXPECT_EQ(list.next(), list.built().back());
    }

    // Taken in the reverse of the walk, down to nothing.
    JobTileList list = JobTileList::forLevel({10, cornerAt(100, 50), 300, 300});
    Offsets taken;
    while (!list.empty()) {
        const JobTile t = list.takeNext();
        taken.emplace_back(t.x, t.y);
    }
    EXPECT_EQ(taken, (Offsets{{156, 206}, {156, -50}, {-100, 206}, {-100, -50}}));
}

// The selection's size is the pixel offset between its corners at the level, whichever way round.
TEST(GridWalk, SelectionSizeAtTheLevel) {
    const geo::Position topLeft = cornerAt(100, 50);
    geo::Position bottomRight = topLeft;
    geo::ShiftPosition(300, 200, 10, bottomRight);
    for (int level : {10, 11, 9}) {
        SCOPED_TRACE(level);
        const GridRect rect = selectionGrid(level, topLeft, bottomRight);
        const int scale = level == 11 ? 2 : 1;
        EXPECT_NEAR(rect.width, level == 9 ? 150 : 300 * scale, 1);
        EXPECT_NEAR(rect.height, level == 9 ? 100 : 200 * scale, 1);
        EXPECT_EQ(selectionGrid(level, bottomRight, topLeft).width, rect.width);
    }
}

// A generation job walks levels 1 to the job level in increasing order, so the job level's tiles come
// first and level 1's last; each level is the walk of that level's grid.
TEST(GridWalk, GenerationListsEveryLevelUpToTheJobs) {
    const geo::Position topLeft = cornerAt(200, 200);
    geo::Position bottomRight = topLeft;
    geo::ShiftPosition(400, 300, 10, bottomRight);
    const JobTileList list = JobTileList::forGeneration(10, topLeft, bottomRight);
    const std::vector<JobTile>& built = list.built();
    EXPECT_TRUE(std::is_sorted(built.begin(), built.end(),
                               [](const JobTile& a, const JobTile& b) { return a.tile.level < b.tile.level; }));
    EXPECT_EQ(list.next().tile.level, 10);
    EXPECT_EQ(built.front().tile.level, 1);
    std::size_t from = 0;
    for (int level = 1; level <= 10; ++level) {
        SCOPED_TRACE(level);
        const JobTileList one = JobTileList::forLevel(selectionGrid(level, topLeft, bottomRight));
        ASSERT_GE(one.size(), 1u);
        ASSERT_LE(from + one.size(), built.size());
        EXPECT_TRUE(std::equal(one.built().begin(), one.built().end(), built.begin() + from));
        from += one.size();
    }
    EXPECT_EQ(from, built.size());
    EXPECT_EQ(JobTileList::forLevel(selectionGrid(10, topLeft, bottomRight)).size(), 6u); // 3 columns, 2 rows
}
