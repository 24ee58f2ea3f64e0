#include "geo/tile_math.h"
#include "tools/distance.h"
#include "tools/measured_path.h"

#include <gtest/gtest.h>

using namespace zelvano;

TEST(Distance, TheEllipsoidsDegrees) {
    // West-positive longitudes: (lat, lonW).
    EXPECT_NEAR(distanceMetres({0, 0}, {0, -1}), 111320, 1);  // a degree of longitude on the equator
    EXPECT_NEAR(distanceMetres({0, 0}, {1, 0}), 110574, 1);   // a degree of latitude near the equator
    EXPECT_NEAR(distanceMetres({60, 0}, {61, 0}), 111421, 5); // longer towards the pole
    EXPECT_EQ(distanceMetres({10, 20}, {10, 20}), 0);
    EXPECT_GT(distanceMetres({45, 10}, {45, 10.0000001}), 0); // tiny, on one parallel: no NaN
    EXPECT_NEAR(distanceMetres({45, 10}, {45, 10.0000001}), 0.00787, 0.0001);
}

// Point 2 more than 180° further west: the path is cut at the midpoint and follows the flat map; the other
// way round no cut is made.
TEST(Distance, TheMidpointCutIsOneSided) {
    const geo::Position east{0, -170}; // 170 E
    const geo::Position west{0, 170};  // 170 W
    const double cut = distanceMetres(east, west);
    EXPECT_DOUBLE_EQ(cut, legMetres(east, {0, 0}) + legMetres({0, 0}, west));
    EXPECT_NEAR(cut, 340 * 111320, 340 * 2);
    EXPECT_DOUBLE_EQ(distanceMetres(west, east), legMetres(west, east)); // the short way, 20 degrees
    EXPECT_NEAR(distanceMetres(west, east), 20 * 111320, 20 * 2);
}

TEST(Distance, ReadOut) {
    struct Case {
        double km;
        const char* text;
    };
    const Case cases[] = {{2.345, "2,345km"},  {0.8124, "812,40m"}, {1.0, "1000,00m"},
                          {1.0004, "1,000km"}, {1.0006, "1,001km"}, {0, "0,00m"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(distanceText(c.km), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(pathKilometres({}), 0);
}

// The path keeps its places on the map through pans and zooms; its total is the sum of its legs.
TEST(MeasuredPath, PointsFollowTheMap) {
    const QSize buffer(800, 600);
    const geo::Position centre{45.25, -20.5};
    MeasuredPath path;
    EXPECT_EQ(path.readOut(), QStringLiteral("----"));
    path.add(centre, 10, buffer, {400, 300});
    EXPECT_EQ(path.readOut(), QStringLiteral("0,00m")); // one point
    EXPECT_TRUE(path.lines(buffer, 10).empty());
    path.add(centre, 10, buffer, {500, 250});
    path.add(centre, 10, buffer, {500, 250}); // the same pixel: a leg of 0
    ASSERT_EQ(path.points().size(), 3u);
    EXPECT_EQ(path.points().front().offset, QPoint(100, -50));
    EXPECT_DOUBLE_EQ(path.kilometres(), distanceMetres(path.points()[2].position, path.points()[1].position) * 0.001);
    const std::vector<QLine> lines = path.lines(buffer, 10);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], QLine(QPoint(500, 250), QPoint(400, 300)));

    // A pan of 30 pixels east and a zoom in: the same places on the map.
    geo::Position panned = centre;
    geo::ShiftPosition(30, 0, 10, panned);
    path.renewOffsets(panned, 11);
    EXPECT_TRUE(path.lines(buffer, 10).empty()); // the offsets are of the new level now
    const geo::PixelOffsetResult back = geo::PixelOffset(11, panned, path.points().back().position);
    EXPECT_EQ(path.points().back().offset, QPoint(back.ox, back.oy));
    EXPECT_NEAR(path.points().back().offset.x(), -60, 1); // 30 pixels west at level 10 are 60 at level 11
    EXPECT_EQ(path.lines(buffer, 11).size(), 2u);
    const double before = path.kilometres();
    EXPECT_DOUBLE_EQ(path.kilometres(), before); // the read-out does not change
    path.clear();
    EXPECT_EQ(path.readOut(), QStringLiteral("----"));
}
