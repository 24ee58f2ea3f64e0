// The stitched image: tiles drawn at their offsets with clipping, the size rules, and the strip encoders'
// files read back by strict decoders (TurboJPEG stops at any warning; libpng checks every CRC and zlib
// the stream's checksum).
#include "jobs/stitch_encoders.h"
#include "jobs/stitched_image.h"

#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <turbojpeg.h>

#include <cmath>
#include <stop_token>

using namespace zelvano;

namespace {

// A tile whose every pixel tells which tile and which pixel it is.
QImage patternTile(int index) {
    QImage tile(256, 256, QImage::Format_RGB32);
    for (int row = 0; row < 256; ++row)
        for (int col = 0; col < 256; ++col)
            tile.setPixel(col, row, qRgb(index * 60, col, row));
    return tile;
}

QRgb as565(QRgb c) {
    const int r = qRed(c) >> 3, g = qGreen(c) >> 2, b = qBlue(c) >> 3;
    return qRgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
}

// A smooth picture in RGB 5-6-5 that is not the same in any two strips.
QImage smoothImage(int width, int height) {
    QImage image = newStitchImage(width, height);
    const StitchCanvas canvas = StitchCanvas::of(image);
    for (int y = 0; y < height; y += 256)
        for (int x = 0; x < width; x += 256) {
            QImage tile(256, 256, QImage::Format_RGB32);
            for (int row = 0; row < 256; ++row)
                for (int col = 0; col < 256; ++col)
                    tile.setPixel(col, row,
                                  qRgb((x + col) * 255 / width, (y + row) * 255 / height,
                                       static_cast<int>(127 + 100 * std::sin((x + col + y + row) / 40.0))));
            drawStitchTile(canvas, tile, x, y);
        }
    return image;
}

// The JPEG decoded strictly, or a null image.
QImage strictJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    tjhandle decoder = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    QImage image;
    if (tjDecompressHeader3(decoder, data, static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                            &colourspace) == 0) {
        image = QImage(width, height, QImage::Format_RGB888);
        if (tjDecompress2(decoder, data, static_cast<unsigned long>(bytes.size()), image.bits(), width,
                          static_cast<int>(image.bytesPerLine()), height, TJPF_RGB, TJFLAG_STOPONWARNING) != 0)
            image = QImage();
    }
    tjDestroy(decoder);
    return image;
}

} // namespace

// The 300 × 200 selection whose corner lies at column 100, row 50 of its tile: the tiles at −100 and 156
// across and −50 down, cut at every edge of the image; a tile of another size is scaled to 256.
TEST(StitchedImage, TilesAtTheirOffsetsClipped) {
    QImage image = newStitchImage(300, 200);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_RGB16);
    image.fill(Qt::black);
    const StitchCanvas canvas = StitchCanvas::of(image);
    drawStitchTile(canvas, patternTile(1), -100, -50);
    drawStitchTile(canvas, patternTile(2).scaled(512, 512), 156, -50);
    drawStitchTile(canvas, patternTile(3), 400, 0); // wholly outside: nothing happens
    struct Probe {
        int x, y;
        QRgb expected;
    };
    const Probe probes[] = {
        {0, 0, qRgb(60, 100, 50)},       // the first tile's pixel (100, 50)
        {155, 199, qRgb(60, 255, 249)},  // its last column
        {156, 0, qRgb(120, 0, 50)},      // the second tile's first column
        {299, 199, qRgb(120, 143, 249)}, // the image's corner
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        const QRgb got = image.pixel(p.x, p.y);
        const QRgb want = as565(p.expected);
        // The scaled tile may blend neighbouring pixels by one step.
        EXPECT_NEAR(qRed(got), qRed(want), 8);
        EXPECT_NEAR(qGreen(got), qGreen(want), 8);
        EXPECT_NEAR(qBlue(got), qBlue(want), 8);
    }
    EXPECT_EQ(image.pixel(0, 0), as565(qRgb(60, 100, 50))); // the unscaled tile exactly
    drawStitchTile(StitchCanvas{}, patternTile(1), 0, 0);   // an image that could not be made: no effect
}

TEST(StitchedImage, SizeRules) {
    constexpr qint64 kPlenty = 64LL << 30;
    struct Case {
        qint64 width, height;
        bool png;
        qint64 available;
        const char* mentions; // empty: allowed
    };
    const Case cases[] = {
        {65500, 100, false, kPlenty, ""},
        {65501, 100, false, kPlenty, "65501 × 100"},
        {100, 70000, false, kPlenty, "100 × 70000"},
        {70000, 100, true, kPlenty, ""}, // a PNG may be wider
        {10240, 10240, false, 300LL << 20, ""},
        {10240, 10240, false, 200LL << 20, "264 МБ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.png ? " png" : " jpg"));
        const auto problem =
            stitchSizeProblem(c.width, c.height, c.png, c.available, QStringLiteral("Разбить на фрагменты размерами:"));
        if (*c.mentions == 0) {
            EXPECT_FALSE(problem) << problem->toStdString();
        } else {
            ASSERT_TRUE(problem);
            EXPECT_TRUE(problem->contains(QString::fromUtf8(c.mentions))) << problem->toStdString();
            EXPECT_TRUE(problem->contains(QStringLiteral("«Разбить на фрагменты размерами»")));
        }
    }
    EXPECT_GT(availableMemory(), 0);
    EXPECT_EQ(stitchMegabytes(10240, 10240), QStringLiteral("200,000000"));
    EXPECT_EQ(stitchMegabytes(1000, 700), QStringLiteral("1,000000")); // 1,335… truncated
}

// Images of several strips (sides that are not multiples of 16) come back whole: the JPEG through a
// decoder that refuses any defect, close to the source; the PNG pixel for pixel. The tall one has more
// than eight JPEG strips on any number of cores, so its restart markers wrap from 7 to 0.
TEST(StitchEncoders, FilesReadBackWhole) {
    const test::TempProgramFolder folder;
    for (const QSize size : {QSize(520, 2100), QSize(37, 19), QSize(3000, 700), QSize(64, 20000)}) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        const QImage image = smoothImage(size.width(), size.height());
        const QImage expected = image.convertToFormat(QImage::Format_RGB888);

        const QString jpg = folder.file(QStringLiteral("area.jpg"));
        ASSERT_TRUE(saveStitchJpeg(image, jpg, 80));
        const QImage decoded = strictJpeg(jpg);
        ASSERT_EQ(decoded.size(), size);
        double error = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb a = decoded.pixel(x, y), b = expected.pixel(x, y);
                error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            }
        EXPECT_LT(error / (3.0 * size.width() * size.height()), 3.0);

        const QString png = folder.file(QStringLiteral("area.png"));
        ASSERT_TRUE(saveStitchPng(image, png));
        QImageReader reader(png);
        const QImage read = reader.read();
        ASSERT_FALSE(read.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB888), expected);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2); // no temporary file stays
    }
}

// A save that cannot finish leaves the image that stood there: a read-only target, a stop request, a
// missing folder, an image that could not be made.
TEST(StitchEncoders, FailedSavesLeaveTheOldFile) {
    const test::TempProgramFolder folder;
    const QImage image = smoothImage(600, 600);
    const QString path = folder.file(QStringLiteral("old.jpg"));
    for (const bool png : {false, true}) {
        SCOPED_TRACE(png ? "png" : "jpeg");
        const auto save = [&](const QString& to, std::stop_token stop = {}) {
            return png ? saveStitchPng(image, to, stop) : saveStitchJpeg(image, to, 80, stop);
        };
        QFile::remove(path);
        ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
        QFile(path).setPermissions(QFile::ReadOwner);
        EXPECT_FALSE(save(path));
        EXPECT_EQ(QFileInfo(path).size(), 0);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

        std::stop_source stop;
        stop.request_stop();
        EXPECT_FALSE(save(path, stop.get_token()));
        EXPECT_EQ(QFileInfo(path).size(), 0);
        EXPECT_FALSE(save(folder.file(QStringLiteral("missing/area.jpg"))));
        EXPECT_FALSE(png ? saveStitchPng(QImage(), path) : saveStitchJpeg(QImage(), path, 80));
        if (!png) {
            EXPECT_FALSE(saveStitchJpeg(newStitchImage(16, kMaxJpegSide + 1), path, 80)); // no JPEG holds it
        }
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
    }
}
