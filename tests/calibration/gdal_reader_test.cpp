// A real reader of the calibration files: GDAL's gdalinfo opens an image with each file beside it and
// takes the positions the writer put there.
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

#include <cmath>

using namespace zelvano;

namespace {

std::optional<QJsonObject> gdalInfo(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("gdalinfo"), {QStringLiteral("-json"), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return std::nullopt;
    // The points' labels come through as the table's code page 1251 bytes, which are not UTF-8.
    return QJsonDocument::fromJson(QString::fromLatin1(p.readAllStandardOutput()).toUtf8()).object();
}

// The ground position GDAL gives the control point at the pixel, or nothing.
std::optional<QPointF> gcpAt(const QJsonObject& info, int pixel, int line) {
    for (const QJsonValue v : info["gcps"].toObject()["gcpList"].toArray()) {
        const QJsonObject g = v.toObject();
        if (g["pixel"].toDouble() == pixel && g["line"].toDouble() == line)
            return QPointF(g["x"].toDouble(), g["y"].toDouble());
    }
    return std::nullopt;
}

// Mercator on the WGS 84 ellipsoid, as GDAL projects the OziExplorer file's points.
QPointF mercator(double lat, double lonEast) {
    constexpr double a = 6378137.0, e = 0.0818191908426215;
    const double phi = lat * M_PI / 180, s = e * std::sin(phi);
    return {a * lonEast * M_PI / 180, a * std::log(std::tan(M_PI / 4 + phi / 2) * std::pow((1 - s) / (1 + s), e / 2))};
}

struct Place {
    double lat, lonEast;
};
constexpr Place kPlaces[] = {{55.75, 37.6}, {-33.9, 151.2}, {51.6, -0.3}};

// An image of 512 × 256 pixels at level 12 with the calibration files of `formats` beside it.
CalibrationImage writeImage(const test::TempProgramFolder& folder, const Place& place,
                            const CalibrationFormats& formats) {
    CalibrationImage image;
    image.level = 12;
    image.width = 512;
    image.height = 256;
    image.imagePath = folder.file(QStringLiteral("area.jpg"));
    image.topLeft = geo::Position::fromEastLongitude(place.lat, place.lonEast);
    QImage picture(512, 256, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    EXPECT_TRUE(picture.save(image.imagePath, "JPEG"));
    EXPECT_FALSE(writeCalibration(image, formats).failed);
    return image;
}

bool haveGdal() {
    return !QStandardPaths::findExecutable(QStringLiteral("gdalinfo")).isEmpty();
}

} // namespace

// GDAL places the image's corners where the writer put them (half a pixel at level 12 is 1.7e-4°).
TEST(GdalReadsCalibration, WorldFile) {
    if (!haveGdal()) GTEST_SKIP() << "gdalinfo (Debian gdal-bin) is not installed";
    for (const Place& place : kPlaces) {
        SCOPED_TRACE(testing::Message() << place.lat << ", " << place.lonEast);
        const test::TempProgramFolder folder;
        const CalibrationImage image = writeImage(folder, place, {false, false, true, false});
        geo::Position br = image.topLeft;
        geo::ShiftPosition(512, 256, 12, br);
        const auto info = gdalInfo(image.imagePath);
        ASSERT_TRUE(info);
        const QJsonObject corners = (*info)["cornerCoordinates"].toObject();
        const QJsonArray ul = corners["upperLeft"].toArray(), lr = corners["lowerRight"].toArray();
        ASSERT_EQ(ul.size(), 2);
        EXPECT_NEAR(ul[0].toDouble(), place.lonEast, 1e-6);
        EXPECT_NEAR(ul[1].toDouble(), place.lat, 1e-6);
        EXPECT_NEAR(lr[0].toDouble(), -br.lonW, 1e-6);
        EXPECT_NEAR(lr[1].toDouble(), br.lat, 1e-6);
    }
}

// The MapInfo table's and the OziExplorer file's nine points reach GDAL as control points: in degrees
// from the table, in Mercator metres on WGS 84 from the map file.
TEST(GdalReadsCalibration, ControlPointsOfTheTableAndTheMapFile) {
    if (!haveGdal()) GTEST_SKIP() << "gdalinfo (Debian gdal-bin) is not installed";
    for (const bool mapFile : {false, true}) {
        for (const Place& place : kPlaces) {
            SCOPED_TRACE(testing::Message()
                         << (mapFile ? "map file " : "table ") << place.lat << ", " << place.lonEast);
            const test::TempProgramFolder folder;
            const CalibrationImage image = writeImage(folder, place, {mapFile, !mapFile, false, false});
            geo::Position br = image.topLeft;
            geo::ShiftPosition(512, 256, 12, br);
            const auto info = gdalInfo(mapFile ? folder.file(QStringLiteral("area.map")) : image.imagePath);
            ASSERT_TRUE(info);
            const QPointF wantTl = mapFile ? mercator(place.lat, place.lonEast) : QPointF(place.lonEast, place.lat);
            const QPointF wantBr = mapFile ? mercator(br.lat, -br.lonW) : QPointF(-br.lonW, br.lat);
            const int points = static_cast<int>((*info)["gcps"].toObject()["gcpList"].toArray().size());
            if (points == 0) {
                // Where the nine points lie close enough to a plane, GDAL fits a transform to them instead.
                const double fit = mapFile ? 10.0 : 1e-4; // metres or degrees
                const QJsonObject corners = (*info)["cornerCoordinates"].toObject();
                const QJsonArray ul = corners["upperLeft"].toArray(), lr = corners["lowerRight"].toArray();
                ASSERT_EQ(ul.size(), 2);
                EXPECT_NEAR(ul[0].toDouble(), wantTl.x(), fit);
                EXPECT_NEAR(ul[1].toDouble(), wantTl.y(), fit);
                EXPECT_NEAR(lr[0].toDouble(), wantBr.x(), fit);
                EXPECT_NEAR(lr[1].toDouble(), wantBr.y(), fit);
                continue;
            }
            EXPECT_EQ(points, 9);
            const auto tl = gcpAt(*info, 0, 0), brPoint = gcpAt(*info, 512, 256);
            ASSERT_TRUE(tl && brPoint);
            const double tolerance = mapFile ? 1.0 : 1e-6; // a metre; the degrees have 9 decimals
            EXPECT_NEAR(tl->x(), wantTl.x(), tolerance);
            EXPECT_NEAR(tl->y(), wantTl.y(), tolerance);
            EXPECT_NEAR(brPoint->x(), wantBr.x(), tolerance);
            EXPECT_NEAR(brPoint->y(), wantBr.y(), tolerance);
        }
    }
}
