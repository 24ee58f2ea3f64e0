// Where each tile of each layer and service lives in the tile cache, in the per-layer layout
// (kh/NN/name.jpg, mt/, tt/, virtualearth/vea|ver|veh/) and the older single-folder layout.
// Pure functions; any thread.
#pragma once

#include "geo/tile_id.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

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

// The level folder of a tile: the length of its name, two digits ("02" for level 1, "01" for the world).
QString levelFolder(const geo::TileId& tile);

// Makes the level folders "01" to "24" below each of the layer folders (root + layer, ending with "/");
// folders that exist stay, failures are left for the writes to meet.
void createLevelFolders(const QString& root, std::initializer_list<const char*> layers);

// All six paths, named after the tile: they never leave the cache root.
TilePathSet TilePaths(const CacheLayout& layout, const geo::TileId& tile);

// Every folder that holds tiles of the layout: the root, and each layer's level folders 01 to 25.
QStringList tileFolders(const CacheLayout& layout);

// The primary satellite path alone (lower-zoom generation works on it).
QString satellitePath(const CacheLayout& layout, const geo::TileId& tile);

} // namespace zelvano
