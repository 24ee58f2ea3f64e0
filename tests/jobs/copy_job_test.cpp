// The copy job over a small selection with real cache files: copies named by their letters with
// calibration files beside them, calibration only (the table naming the cached file), missing tiles
// passed over with the progress running to its end, an unwritable folder, and the progress total.
#include "jobs/copy_job.h"

#include "base/text_file.h"
#include "jobs/job_fixture.h"

#include "support/qt_printers.h"

#include <QDir>

using namespace zelvano;
using namespace zelvano::test;

class CopyJobTest : public JobFixture {
protected:
    CopyRequest request(const QString& to, bool calibrationOnly, CalibrationFormats formats) {
        const JobDefinition d = area(3, 2);
        CopyRequest r;
        r.level = d.level;
        r.topLeft = d.topLeft;
        r.bottomRight = d.bottomRight;
        r.folder = to + u'/';
        r.calibrationOnly = calibrationOnly;
        r.formats = formats;
        r.layout = settings.layout;
        QDir().mkpath(to);
        return r;
    }

    // Every tile of the walk, each cached with bytes of its own unless `missing`.
    std::vector<geo::TileId> cacheTiles(const CopyRequest& r, bool missing = false) {
        std::vector<geo::TileId> tiles;
        walkGrid(selectionGrid(r.level, r.topLeft, r.bottomRight), [&](const geo::TileId& t, int, int) {
            tiles.push_back(t);
            if (missing) return;
            const QString path = satellitePath(r.layout, t);
            QDir().mkpath(QFileInfo(path).path());
            EXPECT_TRUE(writeFileAtomically(path, jpegTile(static_cast<int>(tiles.size()))));
        });
        return tiles;
    }

    static QStringList names(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }
};

TEST_F(CopyJobTest, CopiesWithCalibrationFilesAndOneSeeYouIndex) {
    const QString out = folder.file(QStringLiteral("out"));
    const CopyRequest r = request(out, false, {false, true, true, true});
    const std::vector<geo::TileId> tiles = cacheTiles(r);
    ASSERT_EQ(tiles.size(), 6u);
    ASSERT_TRUE(writeFileAtomically(out + u'/' + tiles[0].letters() + QStringLiteral(".jpg"), "old"));
    std::vector<int> steps;
    const CopyResult result = runCopyJob(r, [&](int done) {
        steps.push_back(done);
        return true;
    });
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(result.copied, 6);
    EXPECT_EQ(result.calibrated, 6);
    EXPECT_EQ(result.failed, 0);
    for (const geo::TileId& t : tiles) {
        SCOPED_TRACE(t.letters().toStdString());
        const QString copy = out + u'/' + t.letters() + QStringLiteral(".jpg");
        EXPECT_EQ(fileBytes(copy), fileBytes(satellitePath(r.layout, t))); // the old copy replaced
        EXPECT_TRUE(QFile::exists(out + u'/' + t.letters() + QStringLiteral(".tab")));
        EXPECT_TRUE(QFile::exists(copy + u'w'));
        EXPECT_FALSE(QFile::exists(out + u'/' + t.letters() + QStringLiteral(".MDS")));
        // The tile's own corner, from its name.
        const QStringList world = *readTextLines(copy + u'w');
        const geo::Position corner = geo::tileNorthWest(t);
        EXPECT_NEAR(world[5].toDouble() - world[3].toDouble() / 2, corner.lat, 1e-9);
    }
    const auto index = readTextLines(out + QStringLiteral("/ForSeeYou.MDS"));
    ASSERT_TRUE(index);
    EXPECT_EQ(index->size(), 6);
    EXPECT_TRUE(index->at(0).startsWith(tiles[0].letters() + QStringLiteral(".jpg,")));
    EXPECT_EQ(result.files.size(), 6 + 6 * 3 + 1); // copies, .tab, .jpgw, .prj and the index
}

TEST_F(CopyJobTest, CalibrationOnlyNamesTheCachedTiles) {
    const QString out = folder.file(QStringLiteral("out"));
    const CopyRequest r = request(out, true, {false, true, false, false});
    const std::vector<geo::TileId> tiles = cacheTiles(r);
    const CopyResult result = runCopyJob(r);
    EXPECT_EQ(result.copied, 0);
    EXPECT_EQ(result.calibrated, 6);
    EXPECT_EQ(names(out).filter(QStringLiteral(".jpg")), QStringList());
    const auto table = readTextLines(out + u'/' + tiles[3].letters() + QStringLiteral(".tab"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->at(5), QStringLiteral("  File \"") + satellitePath(r.layout, tiles[3]) + u'"');
}

// Missing tiles write nothing, not even calibration files or an empty index, and the progress still
// reaches every tile; OziExplorer alone is a calibration format too.
TEST_F(CopyJobTest, MissingTilesAndAFolderThatIsNotThere) {
    const QString out = folder.file(QStringLiteral("out"));
    CopyRequest r = request(out, false, {true, false, false, true});
    cacheTiles(r, true);
    int last = 0;
    const CopyResult none = runCopyJob(r, [&](int done) {
        last = done;
        return true;
    });
    EXPECT_EQ(last, 6);
    EXPECT_EQ(none.visited, 6);
    EXPECT_EQ(names(out), QStringList());

    cacheTiles(r);
    r.folder = folder.file(QStringLiteral("nowhere/"));
    const CopyResult failing = runCopyJob(r);
    EXPECT_EQ(failing.copied, 0);
    EXPECT_EQ(failing.failed, 6);
    EXPECT_FALSE(QDir(r.folder).exists());

    r.folder = out + u'/';
    const CopyResult stopped = runCopyJob(r, [](int done) { return done < 2; }); // stopped after two tiles
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.visited, 2);
    EXPECT_EQ(readTextLines(out + QStringLiteral("/ForSeeYou.MDS"))->size(), 2);

    r.formats = {true, false, false, false};
    const CopyResult ozi = runCopyJob(r);
    EXPECT_EQ(ozi.calibrated, 6);
    EXPECT_EQ(names(out).filter(QStringLiteral(".map")).size(), 6);
}

TEST(CopyProgress, TotalTruncatesEachSide) {
    struct Case {
        int w, h, c0, r0, total;
    };
    const Case cases[] = {
        {1000, 600, 0, 0, 6},
        {568, 312, 100, 100, 0},
        {768, 768, 255, 1, 4},
        {100, 100, 200, 200, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(copyProgressTotal(c.w, c.h, c.c0, c.r0), c.total) << c.w << " " << c.h << " " << c.c0 << " " << c.r0;
}
