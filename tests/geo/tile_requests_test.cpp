#include "geo/mirror_random.h"
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

TileRequests requestsFor(const QString& letters, int x, int y, int zoom) {
    return {kTemplates.satellite + letters, mapRequest(kTemplates.map, x, y, zoom),
            mapRequest(kTemplates.hybrid, x, y, zoom)};
}

enum Direction { East, West, North, South };

void stepTo(Direction d, TileRequests& r) {
    switch (d) {
    case East:
        return StepEast(r, kTemplates);
    case West:
        return StepWest(r, kTemplates);
    case North:
        return StepNorth(r, kTemplates);
    case South:
        return StepSouth(r, kTemplates);
    }
}

} // namespace

TEST(TileRequests, FormsOfTheThreePrimaryRequests) {
    const TileRequests r = tileRequests(kTemplates, LocateTile(18, 0, 0));
    EXPECT_EQ(r.satellite, kTemplates.satellite + LocateTile(18, 0, 0).letters);
    EXPECT_EQ(tileNameOf(r.satellite), LocateTile(18, 0, 0).name());
    EXPECT_EQ(r.map, QStringLiteral("http://mt.orbexa.com/mt?n=404&v=w2.70&x=131071&y=131071&zoom=-1"));
    EXPECT_EQ(r.hybrid, QStringLiteral("http://mt.orbexa.com/mt?n=404&v=w2t.70&x=131071&y=131071&zoom=-1"));
}

TEST(TileRequests, NeighbourStepsOfTheNamedExamples) {
    struct Case {
        const char* letters;
        int x, y;
        Direction direction;
        const char* expectedLetters;
        int expectedX, expectedY;
    };
    const Case cases[] = {
        {"qr", 1, 0, East, "rq", 2, 0},   // the carry letter flips, then q moves east
        {"rr", 3, 0, East, "qq", 4, 0},   // east-most tile: the name wraps, x does not
        {"qq", 0, 0, West, "rr", -1, 0},  // west-most tile
        {"rq", 2, 0, North, "st", 2, -1}, // top row wraps to the bottom row, y becomes -1
        {"q", 0, 0, South, "t", 0, 1},     {"q", 0, 0, East, "r", 1, 0},
        {"t", 0, 1, South, "q", 0, 2}, // level 1 wraps as well
        {"sst", 6, 7, North, "ssq", 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.letters << " direction " << c.direction);
        TileRequests r = requestsFor(QString::fromLatin1(c.letters), c.x, c.y, 17 - int(strlen(c.letters)));
        stepTo(c.direction, r);
        EXPECT_EQ(r.satellite, kTemplates.satellite + QLatin1String(c.expectedLetters));
        const int zoom = 17 - int(strlen(c.letters));
        EXPECT_EQ(r.map, mapRequest(kTemplates.map, c.expectedX, c.expectedY, zoom));
        EXPECT_EQ(r.hybrid, mapRequest(kTemplates.hybrid, c.expectedX, c.expectedY, zoom));
    }
}

// Away from the edges a step lands on the same requests as locating the centre of the neighbour tile.
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
            return tileRequests(kTemplates, LocateTile(level, lonW, lat));
        };
        const TileRequests start = centreOf(x, y);
        ASSERT_EQ(start.map, mapRequest(kTemplates.map, x, y, 17 - level));
        const struct {
            Direction d;
            int dx, dy;
        } steps[] = {{East, 1, 0}, {West, -1, 0}, {North, 0, -1}, {South, 0, 1}};
        for (const auto& s : steps) {
            SCOPED_TRACE(testing::Message() << "level " << level << " x " << x << " y " << y << " dir " << s.d);
            TileRequests r = start;
            stepTo(s.d, r);
            const TileRequests expected = centreOf(x + s.dx, y + s.dy);
            EXPECT_EQ(r.satellite, expected.satellite);
            EXPECT_EQ(r.map, expected.map);
            EXPECT_EQ(r.hybrid, expected.hybrid);
        }
    }
}

TEST(TileRequests, MapRequestWithoutNumbersStepsFromZeros) {
    TileRequests r{kTemplates.satellite + QStringLiteral("qq"), QStringLiteral("http://elsewhere/tile?a=1"), QString()};
    StepSouth(r, kTemplates);
    EXPECT_EQ(r.map, mapRequest(kTemplates.map, 0, 1, 0));
    EXPECT_EQ(r.hybrid, mapRequest(kTemplates.hybrid, 0, 1, 0));
}

TEST(TileRequests, Quadkeys) {
    EXPECT_EQ(quadkey(QStringLiteral("tqrst")), QStringLiteral("0132"));
    EXPECT_EQ(quadkey(QStringLiteral("t")), QString());
}

TEST(TileRequests, SecondaryRequests) {
    const QString sat = kTemplates.satellite + QStringLiteral("qrs");
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
