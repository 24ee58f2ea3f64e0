#include "config/cache_list.h"
#include "config/settings.h"
#include "support/temp_program_folder.h"
#include "tiles/tile_paths.h"

#include <gtest/gtest.h>

using namespace zelvano;

namespace {

geo::TileId tile(const char* letters) {
    return *geo::TileId::fromName(u't' + QLatin1String(letters));
}

} // namespace

TEST(TilePaths, PerLayerLayout) {
    const CacheLayout layout{QStringLiteral("/prog/Cache/"), false};
    struct Case {
        const char* letters;
        const char* sat;
        const char* map;
        const char* hybrid;
        const char* secAerial;
        const char* secRoad;
        const char* secHybrid;
    };
    const Case cases[] = {
        {"r", "kh/02/tr.jpg", "mt/02/tr.png", "tt/02/tr.png", "virtualearth/vea/02/tr.jpg",
         "virtualearth/ver/02/tr.png", "virtualearth/veh/02/tr.png"},
        {"qrs", "kh/04/tqrs.jpg", "mt/04/tqrs.png", "tt/04/tqrs.png", "virtualearth/vea/04/tqrs.jpg",
         "virtualearth/ver/04/tqrs.png", "virtualearth/veh/04/tqrs.png"},
        {"qrstqrstq", "kh/10/tqrstqrstq.jpg", "mt/10/tqrstqrstq.png", "tt/10/tqrstqrstq.png",
         "virtualearth/vea/10/tqrstqrstq.jpg", "virtualearth/ver/10/tqrstqrstq.png",
         "virtualearth/veh/10/tqrstqrstq.png"},
        {"", "kh/01/t.jpg", "mt/01/t.png", "tt/01/t.png", "virtualearth/vea/01/t.jpg", "virtualearth/ver/01/t.png",
         "virtualearth/veh/01/t.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sat);
        const TilePathSet p = TilePaths(layout, tile(c.letters));
        EXPECT_EQ(p.sat, layout.root + QLatin1String(c.sat));
        EXPECT_EQ(p.map, layout.root + QLatin1String(c.map));
        EXPECT_EQ(p.hybrid, layout.root + QLatin1String(c.hybrid));
        EXPECT_EQ(p.secAerial, layout.root + QLatin1String(c.secAerial));
        EXPECT_EQ(p.secRoad, layout.root + QLatin1String(c.secRoad));
        EXPECT_EQ(p.secHybrid, layout.root + QLatin1String(c.secHybrid));
    }
    EXPECT_EQ(levelFolder({24, 0, 0}), QStringLiteral("25"));
}

TEST(TilePaths, SingleFolderLayout) {
    const CacheLayout layout{QStringLiteral("/prog/Cache/"), true};
    const TilePathSet p = TilePaths(layout, tile("qrs"));
    EXPECT_EQ(p.sat, QStringLiteral("/prog/Cache/qrs.jpg"));
    EXPECT_EQ(p.map, QStringLiteral("/prog/Cache/tqrs.png"));
    EXPECT_EQ(p.hybrid, QStringLiteral("/prog/Cache/tqrs.png"));
    EXPECT_EQ(p.secAerial, p.sat);
    EXPECT_EQ(p.secRoad, p.map);
    EXPECT_EQ(p.secHybrid, p.hybrid);
}

TEST(TilePaths, CustomCacheFolder) {
    Settings s;
    s.cacheFolder = QStringLiteral("/data/Maps");
    s.useCacheFolder = true;
    const CacheLayout layout{cacheRoot(s, QStringLiteral("/prog")), false};
    EXPECT_EQ(TilePaths(layout, tile("q")).sat, QStringLiteral("/data/Maps/kh/02/tq.jpg"));
}

TEST(CacheList, MissingFileIsAnEmptyListAndSavedListsReadBack) {
    test::TempProgramFolder folder;
    EXPECT_TRUE(loadCacheList(folder.path()).isEmpty());
    const QStringList folders = {QStringLiteral("/media/archive/Карты"), QStringLiteral("/srv/tiles")};
    ASSERT_TRUE(saveCacheList(folder.path(), folders));
    EXPECT_EQ(folder.read(QStringLiteral("CacheList.dat")),
              QByteArray("/media/archive/\xCA\xE0\xF0\xF2\xFB\r\n/srv/tiles\r\n"));
    EXPECT_EQ(loadCacheList(folder.path()), folders);
}
