// Where each tile of each layer and service lives in the tile cache, in the per-layer layout
// (kh/NN/name.jpg, mt/, tt/, virtualearth/vea|ver|veh/) and the older single-folder layout.
// Pure functions; any thread.
#pragma once

#include <QString>

namespace zelvano {

struct CacheLayout {
    QString root; // ends with "/"
    bool singleFolder = false;
};

// The six cache paths of one tile.
struct TilePathSet {
    QString sat;
    QString map;
    QString hybrid;
    QString secAerial;
    QString secRoad;
    QString secHybrid;
};

// The level folder of a tile name ("t" + L letters): its length, two digits ("02" for level 1).
QString levelFolder(const QString& tileName);

// All six paths, derived from the tile name at the end of the satellite request.
TilePathSet TilePaths(const CacheLayout& layout, const QString& satelliteRequest);

// The primary satellite path alone (lower-zoom generation works on it).
QString satellitePath(const CacheLayout& layout, const QString& satelliteRequest);

} // namespace zelvano
