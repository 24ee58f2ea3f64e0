#include "support/small_disk.h"
#include "tiles/fetch_fixture.h"
#include "tiles/imaging.h"

#include <QBuffer>
#include <QDir>

using namespace zelvano;
using namespace zelvano::test;

namespace {

// A JPEG cut short and given its end marker back: it ends in FF D9 but lacks coded data.
QByteArray truncatedJpeg() {
    const QByteArray whole = jpegTile(21);
    return whole.left(whole.size() * 6 / 10) + "\xFF\xD9";
}

QByteArray encoded(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 50);
    return bytes;
}

} // namespace

class StrictTilesTest : public FetchFixture {
protected:
    void cache(const QString& path, const QByteArray& bytes) {
        folder.write(QDir(folder.path()).relativeFilePath(path), bytes);
    }
};

// Qt's decoder pads what is missing with grey; the tile decoder takes a JPEG whole or not at all.
TEST_F(StrictTilesTest, AJpegThatIsNotWholeDoesNotDecode) {
    const QByteArray bad = truncatedJpeg();
    ASSERT_GE(bad.size(), 1700);
    ASSERT_FALSE(QImage::fromData(bad).isNull()); // what the file would show elsewhere
    EXPECT_TRUE(decodeImage(bad).isNull());
    EXPECT_FALSE(decodesCleanly(bad));
    EXPECT_FALSE(decodeImage(jpegTile(21)).isNull());
    EXPECT_TRUE(decodesCleanly(jpegTile(21)));
}

// Cached, such a tile is deleted and fetched again; downloaded, it is a bad file and not kept.
TEST_F(StrictTilesTest, ATileThatIsNotWholeIsFetchedAgainAndNeverKept) {
    jtype cached = record(6, 30, 40);
    cache(cached.satPath, truncatedJpeg());
    server.answer(target(cached.satRequest), {200, jpegTile(22)});
    EXPECT_TRUE(fetch(cached, jobOptions(), &job).usable);
    EXPECT_EQ(job.log, QStringList{text(20) + u' ' + cached.satPath});
    EXPECT_EQ(server.count(target(cached.satRequest)), 1);
    EXPECT_EQ(fileBytes(cached.satPath), jpegTile(22));

    jtype downloaded = record(7, 30, 40);
    server.answer(target(downloaded.satRequest), {200, truncatedJpeg()});
    job.log.clear();
    counters = {};
    EXPECT_FALSE(fetch(downloaded, jobOptions(), &job).usable);
    EXPECT_EQ(counters.badFileErrors, 1);
    EXPECT_EQ(job.log, QStringList{text(29) + u' ' + downloaded.satPath});
    EXPECT_FALSE(QFile::exists(downloaded.satPath));
}

// A tile picture over 1024 pixels a side is refused before it is decoded, whatever its format: a 5000 x
// 5000 PNG is a small file but a picture of 100 MB.
TEST_F(StrictTilesTest, PicturesLargerThanATileAreRefusedBeforeDecoding) {
    const QByteArray huge = encoded({5000, 5000}, "PNG");
    ASSERT_LT(huge.size(), 200'000);
    struct Case {
        const char* label;
        QByteArray bytes;
        bool decodes;
    };
    const Case cases[] = {
        {"JPEG 1024 x 1024", encoded({1024, 1024}, "JPEG"), true},
        {"JPEG 1025 x 16", encoded({1025, 16}, "JPEG"), false},
        {"PNG 1024 x 1024", encoded({1024, 1024}, "PNG"), true},
        {"PNG 16 x 1025", encoded({16, 1025}, "PNG"), false},
        {"PNG 5000 x 5000", huge, false},
        {"a BMP", encoded({256, 256}, "BMP"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(!decodeImage(c.bytes).isNull(), c.decodes);
        folder.write(QStringLiteral("picture"), c.bytes);
        QImage slot;
        EXPECT_EQ(LoadImageFile(slot, folder.file(QStringLiteral("picture"))), c.decodes);
    }
    jtype map = record(5, 30, 40);
    server.answer(target(map.mapRequest), {200, huge, "image/png"});
    EXPECT_FALSE(fetch(map, jobOptions(false, true), &job).usable);
    EXPECT_EQ(job.log.last(), text(29) + u' ' + map.mapPath);
    EXPECT_FALSE(QFile::exists(map.mapPath));
}

// On a read-only disk a tile that looks writable cannot be replaced or deleted: that is a disk-write
// error, not a tile obtained, and not a file reported deleted that stays.
TEST_F(StrictTilesTest, AReadOnlyDiskIsADiskWriteError) {
    SmallDisk disk(512);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    settings.layout.root = disk.path() + QStringLiteral("/Cache/");
    refreshContext();
    jtype existing = record(6, 30, 40);
    jtype broken = record(7, 30, 40);
    for (const jtype* r : {&existing, &broken})
        QDir().mkpath(QFileInfo(r->satPath).absolutePath());
    ASSERT_TRUE(writeFileAtomically(existing.satPath, jpegTile(23)));
    ASSERT_TRUE(writeFileAtomically(broken.satPath, jpegTile(24).left(1697) + "\xFF\xD9"));
    ASSERT_TRUE(disk.makeReadOnly());
    server.answer(target(existing.satRequest), {200, jpegTile(25)});
    server.answer(target(broken.satRequest), {200, jpegTile(26)});

    const FetchOutcome replaced =
        fetch(existing, options(FetchMode::JobWorker, true, false, WorkMode::InternetOnly), &job);
    EXPECT_FALSE(replaced.usable);
    EXPECT_EQ(replaced.error, FetchError::DiskWrite);
    EXPECT_EQ(job.log, QStringList{text(26) + u' ' + existing.satPath});
    EXPECT_EQ(fileBytes(existing.satPath), jpegTile(23));

    job.log.clear();
    const FetchOutcome kept = fetch(broken, jobOptions(), &job);
    EXPECT_FALSE(kept.usable);
    EXPECT_EQ(job.log, QStringList{text(26) + u' ' + broken.satPath}); // not "deleted"
    EXPECT_EQ(server.count(target(broken.satRequest)), 0);
    EXPECT_EQ(counters.writeErrors, 2);
}
