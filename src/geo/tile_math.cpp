#include "geo/tile_math.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zelvano::geo {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kInvPi = 1.0 / kPi;
constexpr double kInv180 = 1.0 / 180.0;
constexpr double kInv360 = 1.0 / 360.0;

// Out-of-range and NaN values saturate instead of being undefined behaviour.
int saturate(double v) {
    if (std::isnan(v)) return 0;
    if (v <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (v >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

int saturate(std::int64_t v) {
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

std::int64_t floorToInt64(double v) {
    if (std::isnan(v)) return 0;
    constexpr double limit = 9.0e18;
    if (v <= -limit) return static_cast<std::int64_t>(-limit);
    if (v >= limit) return static_cast<std::int64_t>(limit);
    return static_cast<std::int64_t>(std::floor(v));
}

double pow2(int n) {
    return std::ldexp(1.0, n);
}

} // namespace

TileId TileLocation::tile() const {
    return *TileId::fromName(name()); // LocateTile writes letters of the tile alphabet only
}

double tilesFromEast(int level, double lonW) {
    return pow2(level) * (lonW + 180) * kInv360;
}

double tilesFromSouth(int level, double lat) {
    return pow2(level) * (1 - std::log(std::tan((kPi / 2 - lat * kPi * kInv180) * 0.5)) * kInvPi) * 0.5;
}

TileLocation LocateTile(int level, double lonW, double lat) {
    level = std::clamp(level, kMinLevel, kMaxLevel);
    const std::int64_t h = std::int64_t{1} << (level - 1);
    std::int64_t g = h / 2;
    double Y = tilesFromSouth(level, lat) - static_cast<double>(h);
    double X = tilesFromEast(level, lonW) - static_cast<double>(h);
    const std::int64_t xi = floorToInt64(X);
    const std::int64_t yi = floorToInt64(Y);

    // Fold into the quarter: Y northward from its south edge, X eastward from its west edge. On the prime
    // meridian itself (X = 0 in the western quarter) X is the quarter's full width, so the letters name
    // the same tile as the column does.
    Y = Y >= 0 ? std::fabs(Y) : static_cast<double>(h) - std::fabs(Y);
    X = X > 0 || (X == 0 && lonW >= 0) ? static_cast<double>(h) - std::fabs(X) : std::fabs(X);

    TileLocation t;
    t.letters.reserve(level);
    std::int64_t x = 0;
    std::int64_t y = 0;
    const bool north = lat >= 0;
    const bool west = lonW >= 0;
    if (north && !west) {
        t.letters += u'r';
        x = std::abs(xi) + h;
        y = h - yi;
    } else if (north) {
        t.letters += u'q';
        x = h - xi;
        y = h - yi;
    } else if (!west) {
        t.letters += u's';
        x = std::abs(xi) + h;
        y = std::abs(yi) + h;
    } else {
        t.letters += u't';
        x = h - xi;
        y = std::abs(yi) + h;
    }
    t.x = saturate(x - 1);
    t.y = saturate(y - 1);

    for (; g > 0; g /= 2) {
        const double gd = static_cast<double>(g);
        if (Y >= gd && X >= gd) {
            t.letters += u'r';
            Y -= gd;
            X -= gd;
        } else if (Y >= gd) {
            t.letters += u'q';
            Y -= gd;
        } else if (X >= gd) {
            t.letters += u's';
            X -= gd;
        } else {
            t.letters += u't';
        }
    }
    t.serviceZoom = 17 - level;
    t.pixelRow = saturate(std::trunc(256 - Y * 256));
    t.pixelColumn = saturate(std::trunc(X * 256));
    return t;
}

bool ShiftPosition(int dx, int dy, int level, double& lonW, double& lat) {
    const TileLocation t = LocateTile(level, lonW, lat);
    const QChar first = t.letters.at(0);
    const bool south = first == u't' || first == u's';
    const bool east = first == u'r' || first == u's';
    std::int64_t V = south ? -1 : 1;
    const std::int64_t An = south ? 1 : 0;
    const std::int64_t As = south ? 0 : -1;
    std::int64_t H = east ? -1 : 1;
    const std::int64_t Dw = east ? 1 : 0;
    const std::int64_t De = east ? 0 : -1;
    for (qsizetype i = 1; i < t.letters.size(); ++i) {
        switch (t.letters.at(i).unicode()) {
        case u'q':
            V = 2 * V + An;
            H = 2 * H + Dw;
            break;
        case u'r':
            V = 2 * V + An;
            H = 2 * H + De;
            break;
        case u's':
            V = 2 * V + As;
            H = 2 * H + De;
            break;
        default:
            V = 2 * V + As;
            H = 2 * H + Dw;
            break;
        }
    }
    // Pixels above the equator and west of the prime meridian, in 64 bits: level 24 spans 2^32 pixels.
    const std::int64_t Yp = 256 * V + (south ? 256 : 0) - t.pixelRow - dy;
    const std::int64_t Xp = 256 * H + (east ? 256 : 0) - t.pixelColumn - dx;
    const double half = 256 * pow2(level - 1);
    const double world = 256 * pow2(level);
    lat = (kPi / 2 - 2 * std::atan(std::exp((1 - (half + static_cast<double>(Yp)) / world * 2) * kPi))) * kInvPi * 180;
    lonW = (half + static_cast<double>(Xp)) / world * 360 - 180;

    bool inside = true;
    auto clampTo = [&inside](double& v, double limit) {
        if (v > limit || v < -limit) {
            v = v > limit ? limit : -limit;
            inside = false;
        }
    };
    clampTo(lat, kLatitudeLimit);
    clampTo(lonW, 180);
    return inside;
}

Position tileNorthWest(const TileId& tile) {
    const double n = pow2(tile.level);
    const double lat = std::atan(std::sinh(kPi * (1 - 2.0 * tile.y / n))) * kInvPi * 180;
    const double lonW = 180 - 360.0 * tile.x / n;
    return {std::clamp(lat, -kLatitudeLimit, kLatitudeLimit), std::clamp(lonW, -180.0, 180.0)};
}

PixelOffsetResult PixelOffset(int level, double lonW1, double lat1, double lonW2, double lat2) {
    return {saturate(std::trunc(256 * (tilesFromEast(level, lonW1) - tilesFromEast(level, lonW2)))),
            saturate(std::trunc(256 * (tilesFromSouth(level, lat1) - tilesFromSouth(level, lat2))))};
}

} // namespace zelvano::geo
