// Spherical Mercator geometry of the tile pyramid: which tile and pixel hold a position, a position moved
// by a screen offset, and the screen offset between two positions. Longitudes are west-positive inside
// the program. Pure functions; any thread.
#pragma once

#include "geo/position.h"
#include "geo/tile_id.h"

#include <QPoint>
#include <QString>

namespace zelvano::geo {

inline constexpr int kTileSize = 256;
inline constexpr double kLatitudeLimit = 85.05113;

// The tile that holds a position at one level, and the pixel of the position inside it.
struct TileLocation {
    QString letters; // the quadtree letters q/r/s/t, one per level, without the root "t"
    int x = 0;       // column from the west edge of the world
    int y = 0;       // row from the north edge of the world
    int serviceZoom = 0;
    int pixelColumn = 0; // from the tile's west edge
    int pixelRow = 0;    // from the tile's north edge; 256 on the tile's south edge

    QString name() const { return u't' + letters; }
    // The tile the letters name, which the pixel column and row are measured in. On a vertical inner
    // tile boundary it is the tile east of the boundary, while x names the one west of it.
    TileId tile() const;
};

// Tiles from the east edge of the world, growing westward.
double tilesFromEast(int level, double lonW);
// Tiles from the south edge of the world, growing northward.
double tilesFromSouth(int level, double lat);

// level 1 to 24. A position exactly on the prime meridian belongs, letters and column alike, to the tile
// west of it; elsewhere on a vertical tile boundary the column takes the west tile and the letters the
// east one, and on a horizontal boundary both take the north tile.
TileLocation LocateTile(int level, double lonW, double lat);
inline TileLocation LocateTile(int level, Position p) {
    return LocateTile(level, p.lonW, p.lat);
}

// Moves the position to the north-west corner of its pixel at `level` (1 to 24), then by dx pixels east
// and dy pixels south. False when the result had to be clamped to the world (±85.05113, ±180).
bool ShiftPosition(int dx, int dy, int level, double& lonW, double& lat);
inline bool ShiftPosition(int dx, int dy, int level, Position& p) {
    return ShiftPosition(dx, dy, level, p.lonW, p.lat);
}

// The north-west corner of the tile, within ±85.05113° and ±180°.
Position tileNorthWest(const TileId& tile);

// Screen offset of point 1 from point 2 at `level`: ox grows to the west, oy to the north, so point 1
// is drawn at (-ox, -oy) from point 2. Saturates at the 32-bit range.
struct PixelOffsetResult {
    int ox = 0;
    int oy = 0;
};
PixelOffsetResult PixelOffset(int level, double lonW1, double lat1, double lonW2, double lat2);
inline PixelOffsetResult PixelOffset(int level, Position p1, Position p2) {
    return PixelOffset(level, p1.lonW, p1.lat, p2.lonW, p2.lat);
}

} // namespace zelvano::geo
