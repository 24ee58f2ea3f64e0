#include "geo/mirror_random.h"
#include "geo/tile_math.h"
#include "geo/tile_requests.h"

#include <gtest/gtest.h>

#include <QSet>

#include <cmath>
#include <cstring>
#include <random>

using namespace zelvano::geo;

namespace {

const RequestTemplates kTemplates = {QStringLiteral("http://khm.orbexa.com/kh?v=99&n=404&t=t"),
                                     QStringLiteral("http://mt.orbexa.com/mt?n=404&v=w2.70&x="),
                                     QStringLiteral("http://mt.orbexa.com/mt?n=404&v=w2t.70&x="),
                                     QStringLiteral("http://a0.tiles.orbexa.net/tiles/a....jpeg?g=66"),
                                     QStringLiteral("http://h0.tiles.orbexa.net/tiles/h....jpeg?g=66"),
                                     QStringLiteral("http://r0.tiles.orbexa.net/tiles/r....jpeg?g=66")};

enum Direction { East, West, North, South };

TileId stepTo(Direction d, const TileId& t) {
    switch (d) {
    case East:
        return StepEast(t);
    case West:
        return StepWest(t);
    case North:
        return StepNorth(t);
    case South:
        break;
    }
    return StepSouth(t);
}

// The map request's text after the template, written out.
QString columnRowZoom(int x, int y, int zoom) {
    return QStringLiteral("%1&y=%2&zoom=%3").arg(x).arg(y).arg(zoom);
}

} // namespace

TEST(TileRequests, FormsOfTheThreePrimaryRequests) {
    const TileLocation location = LocateTile(18, 0, 0);
    const TileId tile = location.tile();
    EXPECT_EQ(satelliteRequest(kTemplates.satellite, tile), kTemplates.satellite + location.letters);
    EXPECT_EQ(mapRequest(kTemplates.map, tile),
              QStringLiteral("http://mt.orbexa.com/mt?n=404&v=w2.70&x=131071&y=131071&zoom=-1"));
    EXPECT_EQ(mapRequest(kTemplates.hybrid, tile),
              QStringLiteral("http://mt.orbexa.com/mt?n=404&v=w2t.70&x=131071&y=131071&zoom=-1"));
}

// The examples of the neighbour steps, as the requests they give: the name wraps around the world, the
// column and row of the map requests do not.
TEST(TileRequests, NeighbourStepsOfTheNamedExamples) {
    struct Case {
        const char* name;
        int x, y;
        Direction direction;
        const char* expectedLetters;
        int expectedX, expectedY;
    };
    const Case cases[] = {
        {"tqr", 1, 0, East, "rq", 2, 0},   // the carry letter flips, then q moves east
        {"trr", 3, 0, East, "qq", 4, 0},   // east-most tile: the name wraps, x does not
        {"tqq", 0, 0, West, "rr", -1, 0},  // west-most tile
        {"trq", 2, 0, North, "st", 2, -1}, // top row wraps to the bottom row, y becomes -1
        {"tq", 0, 0, South, "t", 0, 1},
        {"tq", 0, 0, East, "r", 1, 0},
        {"tt", 0, 1, South, "q", 0, 2}, // level 1 wraps as well
        {"tsst", 6, 7, North, "ssq", 6, 6},
        {"tqqqqqqqqqqqqqqqqr", 1, 0, West, "qqqqqqqqqqqqqqqqq", 0, 0},   // level 17: service zoom 0
        {"tqqqqqqqqqqqqqqqqqr", 1, 0, East, "qqqqqqqqqqqqqqqqrq", 2, 0}, // level 18: service zoom -1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " direction " << c.direction);
        const TileId start = *TileId::fromName(QString::fromLatin1(c.name));
        ASSERT_EQ(std::make_pair(start.x, start.y), std::make_pair(c.x, c.y));
        const TileId stepped = stepTo(c.direction, start);
        const int zoom = 17 - start.level;
        EXPECT_EQ(satelliteRequest(kTemplates.satellite, stepped),
                  kTemplates.satellite + QLatin1String(c.expectedLetters));
        EXPECT_EQ(mapRequest(kTemplates.map, stepped), kTemplates.map + columnRowZoom(c.expectedX, c.expectedY, zoom));
        EXPECT_EQ(mapRequest(kTemplates.hybrid, stepped),
                  kTemplates.hybrid + columnRowZoom(c.expectedX, c.expectedY, zoom));
    }
    EXPECT_TRUE(mapRequest(kTemplates.map, *TileId::fromName(u"tqqqqqqqqqqqqqqqqqr")).endsWith(u"&zoom=-1"));
}

// Away from the edges a step lands on the tile that holds the centre of the neighbour.
TEST(TileRequests, StepsMatchTheNeighbourTileEverywhereInside) {
    std::mt19937 rng(7);
    for (int i = 0; i < 400; ++i) {
        const int level = 2 + i % 23;
        const double tiles = std::ldexp(1.0, level);
        std::uniform_int_distribution<int> index(1, static_cast<int>(tiles) - 2);
        const int x = index(rng);
        const int y = index(rng);
        auto centreOf = [&](int cx, int cy) {
            const double lonW = 180 - (cx + 0.5) / tiles * 360;
            const double lat = std::atan(std::sinh(M_PI * (1 - 2 * (cy + 0.5) / tiles))) * 180 / M_PI;
            return LocateTile(level, lonW, lat);
        };
        const TileLocation start = centreOf(x, y);
        ASSERT_EQ(start.tile(), (TileId{level, x, y}));
        ASSERT_EQ(std::make_pair(start.x, start.y), std::make_pair(x, y));
        const struct {
            Direction d;
            int dx, dy;
        } steps[] = {{East, 1, 0}, {West, -1, 0}, {North, 0, -1}, {South, 0, 1}};
        for (const auto& s : steps) {
            SCOPED_TRACE(testing::Message() << "level " << level << " x " << x << " y " << y << " dir " << s.d);
            const TileId stepped = stepTo(s.d, start.tile());
            const TileLocation expected = centreOf(x + s.dx, y + s.dy);
            EXPECT_EQ(stepped, expected.tile());
            EXPECT_EQ(satelliteRequest(kTemplates.satellite, stepped), kTemplates.satellite + expected.letters);
            EXPECT_EQ(mapRequest(kTemplates.map, stepped),
                      kTemplates.map + columnRowZoom(expected.x, expected.y, 17 - level));
        }
    }
}

// A map template without the markers of the default form still gets each tile's own column, row and
// service zoom after it: nothing is read back from a request.
TEST(TileRequests, AMapTemplateOfAnotherFormStillNamesEachTile) {
    const QString other = QStringLiteral("http://elsewhere/tile?a=1");
    const TileId start = *TileId::fromName(u"tqq");
    EXPECT_EQ(mapRequest(other, StepSouth(start)), other + QStringLiteral("0&y=1&zoom=15"));
    EXPECT_EQ(mapRequest(other, StepEast(StepSouth(start))), other + QStringLiteral("1&y=1&zoom=15"));
}

TEST(TileRequests, SecondaryRequests) {
    const TileId sat = *TileId::fromName(u"tqrs");
    EXPECT_EQ(secondaryRequest(kTemplates.secondaryAerial, sat, false),
              QStringLiteral("http://a0.tiles.orbexa.net/tiles/a013.jpeg?g=66"));
    EXPECT_EQ(secondaryRequest(kTemplates.secondaryRoad, sat, false),
              QStringLiteral("http://r0.tiles.orbexa.net/tiles/r013.jpeg?g=66"));
    EXPECT_EQ(secondaryRequest(QStringLiteral("http://host/q="), sat, false), QStringLiteral("http://host/q=013"));

    seedMirrorRandom(1);
    QSet<QChar> digits;
    for (int i = 0; i < 200; ++i) {
        QString sent = secondaryRequest(kTemplates.secondaryHybrid, sat, true);
        ASSERT_EQ(sent.size(), 47);
        digits.insert(sent[8]);
        sent[8] = u'0';
        EXPECT_EQ(sent, QStringLiteral("http://h0.tiles.orbexa.net/tiles/h013.jpeg?g=66"));
    }
    EXPECT_EQ(digits, (QSet<QChar>{u'0', u'1', u'2', u'3'}));
}

TEST(TileRequests, PrimaryMirrorDigitGoesBeforeTheServiceDomain) {
    const QString request = kTemplates.satellite + QStringLiteral("qrs");
    EXPECT_EQ(withMirror(request, false), request);
    EXPECT_EQ(withMirror(QStringLiteral("http://127.0.0.1:8080/kh?t=tq"), true),
              QStringLiteral("http://127.0.0.1:8080/kh?t=tq"));
    seedMirrorRandom(2);
    QSet<QString> sent;
    for (int i = 0; i < 200; ++i)
        sent.insert(withMirror(request, true));
    QSet<QString> expected;
    for (char d = '0'; d <= '3'; ++d)
        expected.insert(QStringLiteral("http://khm%1.orbexa.com/kh?v=99&n=404&t=tqrs").arg(QChar(d)));
    EXPECT_EQ(sent, expected);
}
