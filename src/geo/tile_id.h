// The identity of one tile: its level and its column and row, counted from the world's west and north
// edges. Tile names, quadkeys, parents and neighbour steps are computed from it; requests and cache paths
// are formatted from it where they are needed. A value type; any thread.
#pragma once

#include <QString>

#include <compare>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>

namespace zelvano::geo {

// The levels the view and the jobs work at; lower-zoom generation reaches level 0, the whole world.
inline constexpr int kMinLevel = 1;
inline constexpr int kMaxLevel = 24;

struct TileId {
    int level = 0; // 0 (the whole world) to 24
    int x = 0;     // column; a step past the world's west or east edge leaves it outside 0 … 2^level − 1
    int y = 0;     // row; likewise past the north or south edge

    auto operator<=>(const TileId&) const = default;

    // The quadtree letters, one per level: q north-west, r north-east, s south-east, t south-west. The
    // column and row count modulo the world's width, so a tile stepped past an edge is named after the
    // tile it wrapped around to.
    QString letters() const;
    QString name() const { return u't' + letters(); } // the whole world is "t"
    // One digit per letter: q 0, r 1, t 2, s 3.
    QString quadkey() const;
    // The map service's zoom number: 16 at level 1, 0 at level 17, -7 at level 24.
    int serviceZoom() const { return 17 - level; }

    // The column and row brought into the world.
    TileId wrapped() const;
    // The tile one level up that holds this one (of the wrapped tile); the whole world has none.
    std::optional<TileId> parent() const;
    // The quarter (dx, dy each 0 or 1) one level down.
    TileId child(int dx, int dy) const { return {level + 1, 2 * x + dx, 2 * y + dy}; }

    // "t" followed by 0 to 24 letters q, r, s, t; nothing for any other text.
    static std::optional<TileId> fromName(QStringView name);
    // 0 to 24 digits 0 to 3; nothing for any other text.
    static std::optional<TileId> fromQuadkey(QStringView quadkey);
};

// "tile 4/6/3 tqrst", for test output.
std::ostream& operator<<(std::ostream& out, const TileId& tile);

// The neighbour one tile away at the same level. The name wraps around the world; the column and row
// of the map requests do not.
inline TileId StepEast(const TileId& t) {
    return {t.level, t.x + 1, t.y};
}
inline TileId StepWest(const TileId& t) {
    return {t.level, t.x - 1, t.y};
}
inline TileId StepNorth(const TileId& t) {
    return {t.level, t.x, t.y - 1};
}
inline TileId StepSouth(const TileId& t) {
    return {t.level, t.x, t.y + 1};
}

} // namespace zelvano::geo

template <> struct std::hash<zelvano::geo::TileId> {
    std::size_t operator()(const zelvano::geo::TileId& t) const noexcept {
        const auto packed = (static_cast<unsigned long long>(static_cast<unsigned>(t.level)) << 58) ^
                            (static_cast<unsigned long long>(static_cast<unsigned>(t.x)) << 29) ^
                            static_cast<unsigned long long>(static_cast<unsigned>(t.y));
        return std::hash<unsigned long long>{}(packed);
    }
};
