#include "tiles/tile_record.h"

namespace zelvano {

jtype makeTileRecord(const geo::TileRequests& requests, const CacheLayout& layout) {
    jtype r;
    const TilePathSet paths = TilePaths(layout, requests.satellite);
    r.satPath = paths.sat;
    r.mapPath = paths.map;
    r.hybridPath = paths.hybrid;
    r.secAerialPath = paths.secAerial;
    r.secRoadPath = paths.secRoad;
    r.secHybridPath = paths.secHybrid;
    r.satRequest = requests.satellite;
    r.mapRequest = requests.map;
    r.hybridRequest = requests.hybrid;
    return r;
}

} // namespace zelvano
