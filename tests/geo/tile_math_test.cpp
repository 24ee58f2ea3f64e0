#include "geo/tile_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace zelvano::geo;

namespace {

std::pair<int, int> columnRowOfLetters(const QString& letters) {
    const TileId t = *TileId::fromName(u't' + letters);
    return {t.x, t.y};
}

} // namespace

TEST(LocateTile, LevelOneNamesTheFourQuarters) {
    struct Case {
        double lonW, lat;
        const char* name;
        int x, y;
    };
    const Case cases[] = {{90, 45, "tq", 0, 0}, {-90, 45, "tr", 1, 0}, {-90, -45, "ts", 1, 1}, {90, -45, "tt", 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TileLocation t = LocateTile(1, c.lonW, c.lat);
        EXPECT_EQ(t.name(), QString::fromLatin1(c.name));
        EXPECT_EQ(t.x, c.x);
        EXPECT_EQ(t.y, c.y);
        EXPECT_EQ(t.serviceZoom, 16);
    }
}

TEST(LocateTile, OriginBelongsToTheTileNorthWestOfItAtEveryLevel) {
    EXPECT_EQ(LocateTile(3, 0, 0).name(), QStringLiteral("tqss"));
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        SCOPED_TRACE(level);
        const TileLocation t = LocateTile(level, 0, 0);
        const int h = 1 << (level - 1);
        EXPECT_EQ(t.letters.front(), u'q');
        EXPECT_EQ(t.x, h - 1);
        EXPECT_EQ(t.y, h - 1);
        EXPECT_EQ(columnRowOfLetters(t.letters), std::make_pair(t.x, t.y));
        EXPECT_EQ(t.pixelColumn, 256);
        EXPECT_EQ(t.pixelRow, 256);
        EXPECT_EQ(t.serviceZoom, 17 - level);
    }
}

TEST(LocateTile, TenDegreesWestAndEastMirrorEachOther) {
    for (int level : {2, 5, 12, 24}) {
        SCOPED_TRACE(level);
        const TileLocation west = LocateTile(level, 10, 30);
        const TileLocation east = LocateTile(level, -10, 30);
        EXPECT_EQ(west.letters.front(), u'q');
        EXPECT_EQ(east.letters.front(), u'r');
        const int h = 1 << (level - 1);
        const int k = h - 1 - west.x;
        EXPECT_EQ(east.x, h + k);
        EXPECT_EQ(east.y, west.y);
    }
}

// Away from tile boundaries the column, row and pixel follow the closed form, and the letters spell
// the same tile as the column and row.
TEST(LocateTile, AgreesWithTheClosedFormAtRandomPositions) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<double> lon(-180, 180);
    std::uniform_real_distribution<double> lat(-85, 85);
    for (int i = 0; i < 3000; ++i) {
        const int level = kMinLevel + i % kMaxLevel;
        const double lonW = lon(rng);
        const double phi = lat(rng);
        const double fx = std::ldexp(1.0, level) * (180 - lonW) / 360;
        const double fy = std::ldexp(1.0, level) - tilesFromSouth(level, phi);
        if (fx - std::floor(fx) < 1e-6 || fy - std::floor(fy) < 1e-6) continue;
        const TileLocation t = LocateTile(level, lonW, phi);
        SCOPED_TRACE(testing::Message() << "level " << level << " lonW " << lonW << " lat " << phi);
        ASSERT_EQ(t.letters.size(), level);
        EXPECT_EQ(t.x, static_cast<int>(std::floor(fx)));
        EXPECT_EQ(t.y, static_cast<int>(std::floor(fy)));
        EXPECT_EQ(columnRowOfLetters(t.letters), std::make_pair(t.x, t.y));
        EXPECT_NEAR(t.pixelColumn, 256 * (fx - std::floor(fx)), 1.0);
        EXPECT_NEAR(t.pixelRow, 256 * (fy - std::floor(fy)), 1.0);
    }
}

TEST(LocateTile, InnerBoundaries) {
    // 90 W is the boundary between columns 0 and 1 at level 2: x takes the west tile, the letters the
    // east one with pixel column 0.
    const TileLocation vertical = LocateTile(2, 90, 40);
    EXPECT_EQ(vertical.x, 0);
    EXPECT_EQ(columnRowOfLetters(vertical.letters).first, 1);
    EXPECT_EQ(vertical.pixelColumn, 0);

    // The equator at level 1 and 2: the row and the letters take the tile to the north, pixel row 256.
    for (int level : {1, 2, 7}) {
        const TileLocation horizontal = LocateTile(level, 100, 0);
        EXPECT_EQ(horizontal.y, (1 << (level - 1)) - 1);
        EXPECT_EQ(columnRowOfLetters(horizontal.letters).second, horizontal.y);
        EXPECT_EQ(horizontal.pixelRow, 256);
    }
}

TEST(LocateTile, LevelTwentyFourReachesTheEdgesWithoutOverflow) {
    const int last = (1 << 24) - 1;
    const TileLocation southEast = LocateTile(24, -179.9999999, -85.05);
    EXPECT_EQ(southEast.x, last);
    EXPECT_EQ(columnRowOfLetters(southEast.letters).first, last);
    EXPECT_EQ(southEast.serviceZoom, -7);
    const TileLocation northWest = LocateTile(24, 179.9999999, 85.05);
    EXPECT_EQ(northWest.x, 0);
    EXPECT_EQ(columnRowOfLetters(northWest.letters), std::make_pair(0, northWest.y));
    EXPECT_EQ(LocateTile(18, 0, 0).serviceZoom, -1);
}

TEST(ShiftPosition, ByNothingSnapsToTheNorthWestCornerOfThePixel) {
    struct Case {
        int level;
        double lonW, lat;
    };
    const Case cases[] = {{3, 0, 0},
                          {1, 0, 0},
                          {24, 0, 0},
                          {5, 37.123456, 12.345678},
                          {17, -151.2153, -33.8568},
                          {24, -151.2153, -33.8568},
                          {10, 179.99, 85.0},
                          {12, -0.0001, -0.0001}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.level << " " << c.lonW << " " << c.lat);
        double lonW = c.lonW;
        double lat = c.lat;
        EXPECT_TRUE(ShiftPosition(0, 0, c.level, lonW, lat));
        const double pixelDegrees = 360.0 / std::ldexp(256.0, c.level);
        EXPECT_GE(lonW, c.lonW);
        EXPECT_LT(lonW - c.lonW, pixelDegrees + 1e-9);
        EXPECT_GE(lat, c.lat - 1e-12);
        // A second snap stays put: the corner is a fixed point.
        const double lonW1 = lonW;
        const double lat1 = lat;
        ShiftPosition(0, 0, c.level, lonW, lat);
        EXPECT_NEAR(lonW, lonW1, 1e-9 * pixelDegrees);
        EXPECT_NEAR(lat, lat1, 1e-9 * pixelDegrees);
    }
    double lonW = 0;
    double lat = 0;
    ShiftPosition(0, 0, 3, lonW, lat);
    EXPECT_EQ(lonW, 0);
    EXPECT_EQ(lat, 0);
}

TEST(ShiftPosition, MovesByWholePixelsAndPixelOffsetMeasuresTheMove) {
    struct Case {
        int level;
        double lonW, lat;
        int dx, dy;
    };
    const Case cases[] = {{3, 0, 0, 100, 50},
                          {10, 30.5, 40.25, -700, 300},
                          {17, -151.2153, -33.8568, 960, -540},
                          {24, -151.2153, -33.8568, 960, 540},
                          {24, 170, 60, -100000, 1},
                          {1, 10, 10, 3, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.level << " " << c.dx << " " << c.dy);
        double lonW0 = c.lonW;
        double lat0 = c.lat;
        ShiftPosition(0, 0, c.level, lonW0, lat0);
        double lonW = c.lonW;
        double lat = c.lat;
        EXPECT_TRUE(ShiftPosition(c.dx, c.dy, c.level, lonW, lat));
        const PixelOffsetResult o = PixelOffset(c.level, lonW, lat, lonW0, lat0);
        EXPECT_NEAR(o.ox, -c.dx, 1);
        EXPECT_NEAR(o.oy, -c.dy, 1);
    }
}

TEST(ShiftPosition, ClampsAtTheEdgesOfTheWorld) {
    struct Case {
        int dx, dy;
        double lonW, lat;
    };
    const Case cases[] = {
        {0, -100000, 0, kLatitudeLimit}, {0, 100000, 0, -kLatitudeLimit}, {-100000, 0, 180, 0}, {100000, 0, -180, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << " " << c.dy);
        double lonW = 0;
        double lat = 0;
        EXPECT_FALSE(ShiftPosition(c.dx, c.dy, 5, lonW, lat));
        EXPECT_EQ(lonW, c.lonW);
        EXPECT_EQ(lat, c.lat);
    }
}

TEST(PixelOffset, SignsAndSaturation) {
    // Point 1 north-west of point 2: positive offsets (ox grows west, oy north).
    const PixelOffsetResult o = PixelOffset(2, 90, 45, 0, 0);
    EXPECT_EQ(o.ox, 256);
    EXPECT_GT(o.oy, 0);
    // The whole world at level 24 is 2^32 pixels: more than 32 bits hold.
    EXPECT_EQ(PixelOffset(24, 180, 0, -180, 0).ox, std::numeric_limits<int>::max());
    EXPECT_EQ(PixelOffset(24, -180, 0, 180, 0).ox, std::numeric_limits<int>::min());
}

// A tile's north-west corner lies on its west and north edges, as the forward projection counts them.
TEST(TileNorthWest, CornerOfTheTile) {
    EXPECT_NEAR(tileNorthWest({1, 0, 0}).lat, 85.0511287798, 1e-9);
    EXPECT_EQ(tileNorthWest({1, 0, 0}).lonW, 180);
    EXPECT_NEAR(tileNorthWest({1, 1, 1}).lat, 0, 1e-12);
    EXPECT_NEAR(tileNorthWest({1, 1, 1}).lonW, 0, 1e-12);
    for (const TileId tile : {TileId{10, 619, 320}, TileId{16, 40000, 50000}, TileId{24, 1 << 23, 12345}}) {
        const Position corner = tileNorthWest(tile);
        const double n = std::ldexp(1.0, tile.level);
        EXPECT_NEAR(tilesFromEast(tile.level, corner.lonW), n - tile.x, 1e-6);
        EXPECT_NEAR(tilesFromSouth(tile.level, corner.lat), n - tile.y, 1e-6);
    }
}
