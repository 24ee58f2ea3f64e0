// A real reader of the calibration files: GDAL's gdalinfo opens an image with its world file beside it
// and places its corners from it.
#include "calibration/calibration_writer.h"

#include "geo/tile_math.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

using namespace zelvano;

namespace {

struct Corners {
    double west, north, east, south;
};

// gdalinfo's corner coordinates of the file, or nothing when it cannot read them.
std::optional<Corners> gdalCorners(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("gdalinfo"), {QStringLiteral("-json"), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return std::nullopt;
    const QJsonObject c = QJsonDocument::fromJson(p.readAllStandardOutput()).object()["cornerCoordinates"].toObject();
    const QJsonArray ul = c["upperLeft"].toArray(), lr = c["lowerRight"].toArray();
    if (ul.size() < 2 || lr.size() < 2) return std::nullopt;
    return Corners{ul[0].toDouble(), ul[1].toDouble(), lr[0].toDouble(), lr[1].toDouble()};
}

} // namespace

TEST(GdalReadsCalibration, CornersOfEachFormat) {
    if (QStandardPaths::findExecutable(QStringLiteral("gdalinfo")).isEmpty())
        GTEST_SKIP() << "gdalinfo (Debian gdal-bin) is not installed";
    struct Case {
        const char* name;
        CalibrationFormats formats;
        const char* opened; // the file gdalinfo opens
        double tolerance;   // degrees
    };
    const Case cases[] = {
        {"world file", {false, false, true, false}, "area.jpg", 1e-7},
    };
    const struct { double lat, lonEast; } places[] = {{55.75, 37.6}, {-33.9, 151.2}, {51.6, -0.3}};
    for (const Case& c : cases) {
        for (const auto& place : places) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << place.lat << ", " << place.lonEast);
            test::TempProgramFolder folder;
            const QString jpg = folder.file(QStringLiteral("area.jpg"));
            QImage picture(512, 256, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            ASSERT_TRUE(picture.save(jpg, "JPEG"));
            CalibrationImage image;
            image.level = 12;
            image.width = 512;
            image.height = 256;
            image.imagePath = jpg;
            image.topLeft = geo::Position::fromEastLongitude(place.lat, place.lonEast);
            ASSERT_FALSE(writeCalibration(image, c.formats).failed);
            geo::Position br = image.topLeft;
            geo::ShiftPosition(512, 256, 12, br);
            const auto got = gdalCorners(folder.file(QString::fromLatin1(c.opened)));
            ASSERT_TRUE(got);
            // The world file holds the image's corner where GDAL reads the centre of the first pixel, so
            // GDAL sees the image half a pixel up and to the left.
            const double halfX = c.formats.worldFile ? (-br.lonW - place.lonEast) / 512 / 2 : 0;
            const double halfY = c.formats.worldFile ? (br.lat - place.lat) / 256 / 2 : 0;
            EXPECT_NEAR(got->west, place.lonEast - halfX, c.tolerance);
            EXPECT_NEAR(got->north, place.lat - halfY, c.tolerance);
            EXPECT_NEAR(got->east, -br.lonW - halfX, c.tolerance);
            EXPECT_NEAR(got->south, br.lat - halfY, c.tolerance);
        }
    }
}
