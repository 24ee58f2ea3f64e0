#include "tiles/fetch_fixture.h"

#include "tiles/imaging.h"
#include "tiles/parent_builder.h"

#include <QBuffer>
#include <QDir>

using namespace zelvano;
using namespace zelvano::test;

class ParentBuilderTest : public FetchFixture {
protected:
    static geo::TileId tile(const QString& letters) { return *geo::TileId::fromName(u't' + letters); }
    QString path(const QString& letters) const { return satellitePath(settings.layout, tile(letters)); }
    void put(const QString& letters, const QByteArray& bytes) {
        folder.write(QDir(folder.path()).relativeFilePath(path(letters)), bytes);
    }
};

TEST_F(ParentBuilderTest, LevelOneTilesBuildTheWholeWorldTile) {
    put("q", solidJpeg(Qt::red));
    put("r", solidJpeg(Qt::green));
    put("s", solidJpeg(Qt::blue));
    put("t", QByteArray(2000, 'x')); // present but does not decode: its quarter stays unpainted
    BuildParents(tile("r"), false, settings.layout, 70);
    ASSERT_TRUE(path("").endsWith(QLatin1String("/kh/01/t.jpg")));
    QImage world;
    ASSERT_TRUE(LoadImageFile(world, path("")));
    EXPECT_EQ(world.size(), QSize(256, 256));
    EXPECT_TRUE(nearColour(world.pixelColor(40, 60), Qt::red));
    EXPECT_TRUE(nearColour(world.pixelColor(200, 60), Qt::green));
    EXPECT_TRUE(nearColour(world.pixelColor(200, 200), Qt::blue));
    EXPECT_TRUE(nearColour(world.pixelColor(60, 200), Qt::black));
}

TEST_F(ParentBuilderTest, WalkStopsAtTheFirstCachedAncestorUnlessReplacing) {
    // Three of the four level-3 siblings: their parent cannot be built.
    for (const char* c : {"qrq", "qrr", "qrs"})
        put(c, solidJpeg(Qt::red));
    // The level-1 ancestor is cached, and so are its siblings: the world tile could be built from them.
    for (const char* c : {"q", "r", "s", "t"})
        put(c, solidJpeg(Qt::darkGreen));

    BuildParents(tile("qrq"), false, settings.layout, 70);
    EXPECT_FALSE(QFile::exists(path("qr")));
    EXPECT_FALSE(QFile::exists(path("")));
    EXPECT_TRUE(nearColour(decoded(fileBytes(path("q"))).pixelColor(9, 9), Qt::darkGreen));

    BuildParents(tile("qrq"), true, settings.layout, 70);
    EXPECT_FALSE(QFile::exists(path("qr")));
    EXPECT_TRUE(QFile::exists(path(""))); // replacing walks to the root
    EXPECT_TRUE(nearColour(decoded(fileBytes(path("q"))).pixelColor(9, 9), Qt::darkGreen)); // q's children are missing
}

TEST_F(ParentBuilderTest, ReadOnlyChildrenAndTargets) {
    for (const char* c : {"qq", "qr", "qs", "qt"})
        put(c, solidJpeg(Qt::blue));
    QFile::setPermissions(path("qs"), QFileDevice::ReadOwner);
    EXPECT_EQ(buildParentTile(tile("q"), settings.layout, 70), ParentBuild::MissingChildren);
    EXPECT_FALSE(QFile::exists(path("q")));

    QFile::setPermissions(path("qs"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    put("q", "old");
    QFile::setPermissions(path("q"), QFileDevice::ReadOwner);
    EXPECT_EQ(buildParentTile(tile("q"), settings.layout, 70), ParentBuild::Built);
    EXPECT_EQ(fileBytes(path("q")), QByteArray("old"));
}

// The view's fetches build parents as tiles arrive, in the primary satellite folder whatever the service.
TEST_F(ParentBuilderTest, FetchingTheLastChildBuildsItsParent) {
    settings.autoGenerate = true;
    refreshContext();
    for (const char* c : {"qrq", "qrr", "qrs"})
        put(c, solidJpeg(Qt::red));
    jtype r = record(tile("qrt"));
    server.answer(target(r.satRequest), {200, solidJpeg(Qt::yellow)});
    fetch(r, loader());
    EXPECT_TRUE(QFile::exists(path("qr")));

    jtype secondary = record(tile("qrt"));
    QFile::remove(path("qr"));
    const QString key = secondary.tile.quadkey();
    server.answer(QStringLiteral("/tiles/a") + key + QStringLiteral("jpeg"), {200, solidJpeg(Qt::cyan)});
    FetchOptions o = loader();
    o.layers.secondary = true;
    fetch(secondary, o);
    EXPECT_TRUE(QFile::exists(secondary.secAerialPath));
    EXPECT_TRUE(QFile::exists(path("qr")));
    EXPECT_TRUE(nearColour(decoded(fileBytes(path("qr"))).pixelColor(60, 200), Qt::yellow)); // from kh/, not vea/
}
