// Pictures of the demo tile server: satellite tiles cut from an equirectangular Earth image and
// reprojected to spherical Mercator, map tiles with land and water from the same image, a graticule and
// the tile's address, and transparent hybrid overlays. Encoded tiles are kept in a bounded memory cache.
// Thread-safe: the server's handler threads call it at once.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace zelvano::tileserver {

struct TileAddress {
    int level = 1;
    int x = 0;
    int y = 0;
};

enum class TileKind { Satellite, Map, Hybrid, SatelliteWithLabels };

// Address of a tile name "t" + letters, of a quadkey, and of column/row/service zoom; nothing when invalid.
std::optional<TileAddress> addressOfName(const QString& name);
std::optional<TileAddress> addressOfQuadkey(const QString& quadkey);
std::optional<TileAddress> addressOfColumnRow(int x, int y, int serviceZoom);

class TileRenderer {
public:
    explicit TileRenderer(QImage earth);

    // JPEG for the satellite kinds, PNG for map and hybrid.
    QByteArray tile(TileKind kind, const TileAddress& address);

private:
    QImage satellite(const TileAddress& a) const;
    QImage map(const TileAddress& a) const;
    QImage overlay(const TileAddress& a, bool transparent) const;
    QByteArray render(TileKind kind, const TileAddress& a) const;

    QImage earth_;
    std::mutex mutex_;
    std::list<std::pair<quint64, QByteArray>> lru_;
    std::unordered_map<quint64, std::list<std::pair<quint64, QByteArray>>::iterator> index_;
};

} // namespace zelvano::tileserver
