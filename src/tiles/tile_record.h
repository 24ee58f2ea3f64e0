// jtype: one tile of a view or job list: its identity, picture, six cache paths, three requests, the two
// pending flags and its place in the target bitmap. A record belongs to the thread that works on it.
#pragma once

#include "geo/tile_requests.h"
#include "tiles/tile_paths.h"

#include <QImage>
#include <QString>

namespace zelvano {

struct jtype {
    geo::TileId tile;
    QImage bitmap; // null when there is none
    QString satPath;
    QString mapPath;
    QString hybridPath;
    QString secAerialPath;
    QString secRoadPath;
    QString secHybridPath;
    QString satRequest;
    QString mapRequest;
    QString hybridRequest;
    bool satPending = false;     // the satellite part was asked for and did not come from the cache
    bool overlayPending = false; // the map or hybrid part was asked for and is not in the bitmap yet
    int x = 0;                   // left edge in the target bitmap
    int y = 0;                   // top edge
};

// A record of the tile with its three primary requests and its six paths.
jtype makeTileRecord(const geo::TileId& tile, const geo::RequestTemplates& templates, const CacheLayout& layout);

} // namespace zelvano
