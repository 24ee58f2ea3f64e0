#include "support/temp_program_folder.h"
#include "support/tile_fixtures.h"
#include "tiles/imaging.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstdint>

using namespace zelvano;

namespace {

// A PNG whose header claims a picture of the given size (checksum intact, no pixel data worth the name).
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray png = test::pngTile();
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    std::uint32_t crc = 0xFFFFFFFFu; // over the chunk type and data of IHDR
    for (int i = 12; i < 29; ++i) {
        crc ^= static_cast<unsigned char>(png[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(~crc, png.data() + 29);
    return png;
}

} // namespace

TEST(Imaging, LoadsJpegAndPngByContentWhateverTheName) {
    test::TempProgramFolder folder;
    folder.write(QStringLiteral("a.png"), test::jpegTile(1));
    folder.write(QStringLiteral("b.jpg"), test::pngTile());
    QImage slot;
    EXPECT_TRUE(LoadImageFile(slot, folder.file(QStringLiteral("a.png"))));
    EXPECT_EQ(slot.size(), QSize(256, 256));
    EXPECT_TRUE(LoadImageFile(slot, folder.file(QStringLiteral("b.jpg"))));
    EXPECT_EQ(slot.pixelColor(128, 128), QColor(Qt::red));
    EXPECT_EQ(slot.pixelColor(200, 10).alpha(), 0);
}

TEST(Imaging, RefusesWhatDoesNotDecode) {
    struct Case {
        const char* label;
        QByteArray bytes;
    };
    const QByteArray jpeg = test::jpegTile(2);
    const Case cases[] = {
        {"garbage", QByteArray(3000, 'x')},
        {"empty", QByteArray()},
        {"gif", QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;")},
        {"claims 100000 x 100000 pixels", pngClaiming(100000, 100000)},
        {"claims 20000 x 1 pixels", pngClaiming(20000, 1)},
    };
    test::TempProgramFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        folder.write(QStringLiteral("tile"), c.bytes);
        QImage slot = test::decoded(jpeg);
        EXPECT_FALSE(LoadImageFile(slot, folder.file(QStringLiteral("tile"))));
        EXPECT_TRUE(slot.isNull());
        EXPECT_TRUE(decodeImage(c.bytes).isNull());
    }
    QImage slot = test::decoded(jpeg);
    EXPECT_FALSE(LoadImageFile(slot, folder.file(QStringLiteral("missing.jpg"))));
    EXPECT_TRUE(slot.isNull());
}

TEST(Imaging, ReadOnlyFilesAreNotRead) {
    test::TempProgramFolder folder;
    folder.write(QStringLiteral("ro.jpg"), test::jpegTile());
    QFile::setPermissions(folder.file(QStringLiteral("ro.jpg")), QFileDevice::ReadOwner);
    QImage slot;
    EXPECT_FALSE(LoadImageFile(slot, folder.file(QStringLiteral("ro.jpg"))));
}

TEST(Imaging, SavesJpegAndPngThroughATemporaryFile) {
    test::TempProgramFolder folder;
    const QImage image = test::decoded(test::jpegTile(3));
    const QString low = folder.file(QStringLiteral("new/level/low.jpg"));
    const QString high = folder.file(QStringLiteral("new/level/high.jpg"));
    ASSERT_TRUE(SaveImageJpeg(image, low, 10));
    ASSERT_TRUE(SaveImageJpeg(image, high, 100));
    EXPECT_LT(QFile(low).size(), QFile(high).size() / 3);
    EXPECT_TRUE(folder.read(QStringLiteral("new/level/low.jpg")).startsWith("\xFF\xD8"));
    ASSERT_TRUE(SaveImagePng(image, folder.file(QStringLiteral("new/level/x.png"))));
    EXPECT_TRUE(folder.read(QStringLiteral("new/level/x.png")).startsWith("\x89PNG"));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("new/level"))).entryList(QDir::Files).size(), 3);

    // A read-only target stays as it is, and that counts as success.
    QFile::setPermissions(high, QFileDevice::ReadOwner);
    const QByteArray before = folder.read(QStringLiteral("new/level/high.jpg"));
    EXPECT_TRUE(SaveImageJpeg(image, high, 10));
    EXPECT_EQ(folder.read(QStringLiteral("new/level/high.jpg")), before);
    EXPECT_FALSE(SaveImageJpeg(QImage(), low, 50));
}

TEST(Imaging, TileMessageIsBlackTextCentredOnGrey) {
    QImage tile = newTileImage();
    DrawTileMessage(tile, QStringLiteral("Снимок отсутствует в кэше"), QStringLiteral("qrst"));
    ASSERT_EQ(tile.size(), QSize(256, 256));
    EXPECT_EQ(tile.pixelColor(0, 0), QColor(138, 138, 138));
    EXPECT_EQ(tile.pixelColor(255, 255), QColor(138, 138, 138));
    int left = 256, right = -1, top = 256, bottom = -1;
    QList<int> inkRows;
    for (int y = 0; y < 256; ++y) {
        bool ink = false;
        for (int x = 0; x < 256; ++x) {
            if (qGray(tile.pixel(x, y)) < 40) {
                ink = true;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (ink) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            inkRows.append(y);
        }
    }
    ASSERT_GT(right, left);
    EXPECT_NEAR((left + right) / 2.0, 127.5, 4);
    EXPECT_NEAR((top + bottom) / 2.0, 127.5, 4);
    EXPECT_LT(bottom - top, 40); // two lines of a 9-point font
    int gaps = 0;
    for (int i = 1; i < inkRows.size(); ++i)
        gaps += inkRows[i] != inkRows[i - 1] + 1;
    EXPECT_GE(gaps, 1); // a blank row between the two lines

    QImage none;
    DrawTileMessage(none, QStringLiteral("x"), QStringLiteral("q"));
    EXPECT_TRUE(none.isNull());
}

// A defective JPEG leaves the thread's decoder fit for the next tile: every whole tile after it decodes,
// at full size and in the eighth-size check, so good tiles are never taken for defective ones.
TEST(Imaging, AFailedDecodeDoesNotSpoilTheNextOnes) {
    const QByteArray whole = test::jpegTile(4);
    QByteArray truncated = whole.left(600) + "\xFF\xD9"; // a warning in the middle of the data
    QByteArray noHeader = whole.mid(20);
    for (const QByteArray& bad : {truncated, noHeader}) {
        EXPECT_TRUE(decodeImage(bad).isNull());
        EXPECT_FALSE(decodesCleanly(bad));
        EXPECT_FALSE(decodeImage(whole).isNull());
        EXPECT_TRUE(decodesCleanly(whole));
        EXPECT_FALSE(decodesCleanly(bad));
        EXPECT_TRUE(decodesCleanly(whole));
    }
}
