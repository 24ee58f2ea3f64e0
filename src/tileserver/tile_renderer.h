// Pictures of the demo tile server: satellite tiles cut from an equirectangular Earth image and
// reprojected to spherical Mercator, map tiles with land and water from the same image, a graticule and
// the tile's address, and transparent hybrid overlays. Encoded tiles are kept in a bounded memory cache.
// Thread-safe: the server's handler threads call it at once.
#pragma once

#include "geo/tile_id.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace zelvano::tileserver {

enum class TileKind { Satellite, Map, Hybrid, SatelliteWithLabels };

// The tile a request names, when it is one the server has: levels 1 to 24, inside the world.
std::optional<geo::TileId> servedTile(std::optional<geo::TileId> tile);
// The tile of a map request's column, row and service zoom.
std::optional<geo::TileId> tileOfColumnRow(int x, int y, int serviceZoom);

class TileRenderer {
public:
    explicit TileRenderer(QImage earth);

    // JPEG for the satellite kinds, PNG for map and hybrid.
    QByteArray tile(TileKind kind, const geo::TileId& address);

private:
    QImage satellite(const geo::TileId& a) const;
    QImage map(const geo::TileId& a) const;
    QImage overlay(const geo::TileId& a, bool transparent) const;
    QByteArray render(TileKind kind, const geo::TileId& a) const;

    QImage earth_;
    std::mutex mutex_;
    std::list<std::pair<quint64, QByteArray>> lru_;
    std::unordered_map<quint64, std::list<std::pair<quint64, QByteArray>>::iterator> index_;
};

} // namespace zelvano::tileserver
