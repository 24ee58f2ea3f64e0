#include "geo/tile_id.h"

#include <gtest/gtest.h>

#include <sstream>
#include <unordered_set>

using namespace zelvano::geo;

// A tile's name and quadkey from its column and row, and back, at the ends of the level range.
TEST(TileId, NameAndQuadkeyBothWays) {
    const int last = (1 << 24) - 1;
    const int middle = (1 << 23) - 1;
    struct Case {
        TileId tile;
        QString name;
        QString quadkey;
    };
    const Case cases[] = {
        {{0, 0, 0}, QStringLiteral("t"), QString()},
        {{1, 0, 0}, QStringLiteral("tq"), QStringLiteral("0")},
        {{1, 1, 0}, QStringLiteral("tr"), QStringLiteral("1")},
        {{1, 1, 1}, QStringLiteral("ts"), QStringLiteral("3")},
        {{1, 0, 1}, QStringLiteral("tt"), QStringLiteral("2")},
        {{4, 6, 3}, QStringLiteral("tqrst"), QStringLiteral("0132")},
        {{24, last, 0}, u't' + QString(24, u'r'), QString(24, u'1')},
        {{24, 0, last}, u't' + QString(24, u't'), QString(24, u'2')},
        {{24, last, last}, u't' + QString(24, u's'), QString(24, u'3')},
        {{24, middle, middle}, QStringLiteral("tq") + QString(23, u's'), u'0' + QString(23, u'3')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(c.tile.name(), c.name);
        EXPECT_EQ(c.tile.letters(), c.name.mid(1));
        EXPECT_EQ(c.tile.quadkey(), c.quadkey);
        EXPECT_EQ(TileId::fromName(c.name), c.tile);
        EXPECT_EQ(TileId::fromQuadkey(c.quadkey), c.tile);
    }
}

TEST(TileId, OnlyTheTileAlphabetNamesATile) {
    for (const QString& name : {QString(), QStringLiteral("q"), QStringLiteral("T"), QStringLiteral("tqx"),
                                QStringLiteral("t../"), u't' + QString(25, u'q')}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(TileId::fromName(name), std::nullopt);
    }
    for (const QString& key : {QStringLiteral("4"), QStringLiteral("01a"), QStringLiteral("-1"), QString(25, u'0')}) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(TileId::fromQuadkey(key), std::nullopt);
    }
}

// A step past the edge keeps the column or row it reached, and the name of the tile it wrapped to.
TEST(TileId, StepsPastTheEdgeWrapTheNameOnly) {
    const TileId east = StepEast(*TileId::fromName(u"trr"));
    EXPECT_EQ(east, (TileId{2, 4, 0}));
    EXPECT_EQ(east.name(), QStringLiteral("tqq"));
    EXPECT_EQ(east.wrapped(), (TileId{2, 0, 0}));
    const TileId north = StepNorth(*TileId::fromName(u"tq"));
    EXPECT_EQ(north.y, -1);
    EXPECT_EQ(north.name(), QStringLiteral("tt"));
    EXPECT_EQ(north.quadkey(), QStringLiteral("2"));
}

TEST(TileId, ParentsAndChildren) {
    const TileId tile = *TileId::fromName(u"tqrs");
    EXPECT_EQ(tile.parent(), TileId::fromName(u"tqr"));
    EXPECT_EQ(TileId::fromName(u"tq")->parent(), (TileId{0, 0, 0}));
    EXPECT_EQ((TileId{0, 0, 0}).parent(), std::nullopt);
    EXPECT_EQ(StepEast(*TileId::fromName(u"trr")).parent(), TileId::fromName(u"tq")); // of the wrapped tile
    const TileId parent = *TileId::fromName(u"tqr");
    EXPECT_EQ(parent.child(0, 0).name(), QStringLiteral("tqrq"));
    EXPECT_EQ(parent.child(1, 0).name(), QStringLiteral("tqrr"));
    EXPECT_EQ(parent.child(1, 1).name(), QStringLiteral("tqrs"));
    EXPECT_EQ(parent.child(0, 1).name(), QStringLiteral("tqrt"));
}

TEST(TileId, OrderHashAndPrinter) {
    std::unordered_set<TileId> tiles;
    for (int level = 0; level <= 4; ++level)
        for (int x = 0; x < (1 << level); ++x)
            for (int y = 0; y < (1 << level); ++y)
                tiles.insert({level, x, y});
    EXPECT_EQ(tiles.size(), 1u + 4 + 16 + 64 + 256);
    EXPECT_LT((TileId{3, 7, 7}), (TileId{4, 0, 0})); // level first, then column, then row
    EXPECT_LT((TileId{4, 1, 9}), (TileId{4, 2, 0}));
    std::ostringstream out;
    out << TileId{4, 6, 3};
    EXPECT_EQ(out.str(), "tile 4/6/3 tqrst");
}
