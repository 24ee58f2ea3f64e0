#include "tiles/tile_record.h"

namespace zelvano {

jtype makeTileRecord(const geo::TileId& tile, const geo::RequestTemplates& templates, const CacheLayout& layout) {
    jtype r;
    r.tile = tile;
    const TilePathSet paths = TilePaths(layout, tile);
    r.satPath = paths.sat;
    r.mapPath = paths.map;
    r.hybridPath = paths.hybrid;
    r.secAerialPath = paths.secAerial;
    r.secRoadPath = paths.secRoad;
    r.secHybridPath = paths.secHybrid;
    r.satRequest = geo::satelliteRequest(templates.satellite, tile);
    r.mapRequest = geo::mapRequest(templates.map, tile);
    r.hybridRequest = geo::mapRequest(templates.hybrid, tile);
    return r;
}

} // namespace zelvano
