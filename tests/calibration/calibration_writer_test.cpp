#include "calibration/calibration_writer.h"

#include "base/cp1251.h"
#include "support/qt_printers.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cmath>

using namespace zelvano;

namespace {

CalibrationImage image(double lat, double lonEast, int w = 1024, int h = 1024, int level = 10) {
    CalibrationImage i;
    i.level = level;
    i.width = w;
    i.height = h;
    i.imagePath = QStringLiteral("/maps/area.png");
    i.topLeft = geo::Position::fromEastLongitude(lat, lonEast);
    return i;
}

} // namespace

TEST(Calibration, FileNames) {
    const QString png = QStringLiteral("/maps/area.png");
    EXPECT_EQ(oziPath(png), QStringLiteral("/maps/area.map"));
    EXPECT_EQ(mapInfoPath(png), QStringLiteral("/maps/area.tab"));
    EXPECT_EQ(worldFilePath(png), QStringLiteral("/maps/area.pngw"));
    EXPECT_EQ(seeYouPath(png), QStringLiteral("/maps/area.MDS"));
}

// The example corner, 55.5° N 37.6° E: the first point, the pixel corners, the first MMPLL and the image
// size, in the 56 lines of the template.
TEST(Calibration, OziExplorerFile) {
    const QStringList l = oziLines(image(55.5, 37.6));
    ASSERT_EQ(l.size(), 56);
    EXPECT_EQ(l[0], QStringLiteral("OziExplorer Map Data File Version 2.2"));
    EXPECT_EQ(l[1], QStringLiteral("area.png"));
    EXPECT_EQ(l[2], QStringLiteral("/maps/area.png"));
    EXPECT_EQ(l[9], QStringLiteral("Point01,xy,    0, 0,in, deg, 55, 30.00000,N, 37, 36.00000,E, grid,   ,           ,"
                                   "           ,N"));
    EXPECT_TRUE(l[10].startsWith(QStringLiteral("Point02,xy,   1024, 1024,in, deg, "))) << l[10].toStdString();
    EXPECT_TRUE(l[13].startsWith(QStringLiteral("Point05,xy,   512, 512,in, deg, "))) << l[13].toStdString();
    EXPECT_EQ(l[18], QStringLiteral("Point10,xy,     ,     ,in, deg,    ,        ,N,    ,        ,W, grid,   ,     "
                                    "      ,           ,N"));
    EXPECT_EQ(l[38].left(8), QStringLiteral("Point30,"));
    EXPECT_EQ(l[46], QStringLiteral("MMPXY,2,1024,0"));
    EXPECT_EQ(l[47], QStringLiteral("MMPXY,3,1024,1024"));
    EXPECT_EQ(l[49], QStringLiteral("MMPLL,1, 37.600000, 55.500000"));
    EXPECT_EQ(l[55], QStringLiteral("IWH,Map Image Width/Height,1024,1024"));
    // Negative sizes are their absolute values.
    EXPECT_EQ(oziLines(image(55.5, 37.6, -1024, -1024)), l);
    // An odd width puts the middle points at (W - 1) / 2.
    EXPECT_TRUE(oziLines(image(55.5, 37.6, 1023, 7))[13].startsWith(QStringLiteral("Point05,xy,   511, 3,")));
}

// South of the equator and west of Greenwich: the letters in the points, the signs in the MMPLL, MapInfo
// and world-file lines; the world file's x size positive and y size negative either way.
TEST(Calibration, HemispheresAndSigns) {
    struct Case {
        double lat, lonEast;
        QString point1;
        QString mmpll1;
    };
    const Case cases[] = {
        {-33.5, 151.25, QStringLiteral("33, 30.00000,S, 151, 15.00000,E"),
         QStringLiteral("MMPLL,1, 151.250000, -33.500000")},
        {40.75, -74.5, QStringLiteral("40, 45.00000,N, 74, 30.00000,W"),
         QStringLiteral("MMPLL,1, -74.500000, 40.750000")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point1.toStdString());
        const CalibrationImage i = image(c.lat, c.lonEast);
        const QStringList ozi = oziLines(i);
        EXPECT_TRUE(ozi[9].contains(c.point1)) << ozi[9].toStdString();
        EXPECT_EQ(ozi[49], c.mmpll1);
        const QStringList world = worldFileLines(i);
        ASSERT_EQ(world.size(), 6);
        EXPECT_GT(world[0].toDouble(), 0);
        EXPECT_EQ(world[1], QStringLiteral("0"));
        EXPECT_LT(world[3].toDouble(), 0);
        EXPECT_NEAR(world[0].toDouble(), 360.0 / (256 << 10), 360.0 / (256 << 10) * 0.002); // a pixel at level 10
        // The centre of the first pixel, half a pixel inside the corner.
        EXPECT_NEAR(world[4].toDouble(), c.lonEast + world[0].toDouble() / 2, 1e-12);
        EXPECT_NEAR(world[5].toDouble(), c.lat + world[3].toDouble() / 2, 1e-12);
        EXPECT_TRUE(mapInfoLines(i)[7].startsWith(QStringLiteral("  (") + QString::number(c.lonEast, 'f', 9) + u',' +
                                                  QString::number(c.lat, 'f', 9) + QStringLiteral(") (0,0) Label")));
    }
}

TEST(Calibration, MapInfoTable) {
    CalibrationImage i = image(55.5, 37.6, 1024, 512);
    QStringList l = mapInfoLines(i);
    ASSERT_EQ(l.size(), 18);
    EXPECT_EQ(l[2], QStringLiteral("!charset WindowsCyrillic"));
    EXPECT_EQ(l[3], QString());
    EXPECT_EQ(l[5], QStringLiteral("  File \"area.png\""));
    EXPECT_EQ(l[6], QStringLiteral("  Type \"RASTER\""));
    EXPECT_TRUE(l[9].contains(QStringLiteral(") (1024,0) Label \"Точка 3\","))); // top-right third here
    EXPECT_TRUE(l[10].contains(QStringLiteral(") (0,512) Label \"Точка 4\",")));
    EXPECT_TRUE(l[15].endsWith(QStringLiteral(") (512,512) Label \"Точка 9\""))); // the last without a comma
    EXPECT_EQ(l[16], QStringLiteral("  CoordSys Earth Projection 1, 104"));
    EXPECT_EQ(l[17], QStringLiteral("  Units \"degree\""));
    i.linkedToCache = true;
    i.cacheFile = QStringLiteral("/home/u/Cache/kh/11/tqrstqrstq.jpg");
    EXPECT_EQ(mapInfoLines(i)[5], QStringLiteral("  File \"/home/u/Cache/kh/11/tqrstqrstq.jpg\""));
}

// Straddling Greenwich, the metres per pixel are the image's width along its centre latitude over W.
TEST(Calibration, MetresPerPixelAcrossGreenwich) {
    const QStringList l = oziLines(image(51.6, -0.2, 1000, 400, 12));
    ASSERT_TRUE(l[53].startsWith(QStringLiteral("MM1B,")));
    const double perPixel = l[53].mid(5).toDouble();
    const double lat = std::atan(std::sinh(
        M_PI * (1 - 2 * ((1 - std::log(std::tan(51.6 * M_PI / 180) + 1 / std::cos(51.6 * M_PI / 180)) / M_PI) / 2 +
                         200.0 / (256 << 12)))));
    const double expected = 6378137.0 * std::cos(lat) * 2 * M_PI / (256 << 12); // on the sphere
    EXPECT_NEAR(perPixel, expected, expected * 0.005);
}

// On disk: code page 1251, CR LF after every line, the files of the set flags in order, a .prj beside the
// world file; a SeeYou index collects entries instead of a file per image.
TEST(Calibration, FilesOnDisk) {
    test::TempProgramFolder folder;
    CalibrationImage i = image(55.5, 37.6);
    i.imagePath = folder.file(QStringLiteral("area.jpg"));
    const CalibrationResult all = writeCalibration(i, {true, true, true, true});
    ASSERT_FALSE(all.failed);
    EXPECT_EQ(all.written, (QStringList{folder.file("area.map"), folder.file("area.tab"), folder.file("area.jpgw"),
                                        folder.file("area.prj"), folder.file("area.MDS")}));
    const QByteArray tab = folder.read(QStringLiteral("area.tab"));
    EXPECT_TRUE(tab.contains("Label \"\xD2\xEE\xF7\xEA\xE0 1\",\r\n")); // "Точка 1" in code page 1251
    EXPECT_TRUE(tab.endsWith("\"degree\"\r\n"));
    EXPECT_EQ(folder.read(QStringLiteral("area.jpgw")).count("\r\n"), 6);
    EXPECT_TRUE(folder.read(QStringLiteral("area.prj")).startsWith("GEOGCS[\"WGS 84\""));
    EXPECT_EQ(folder.read(QStringLiteral("area.MDS")), (seeYouEntry(i) + QStringLiteral("\r\n")).toLatin1());
    EXPECT_TRUE(seeYouEntry(i).startsWith(QStringLiteral("area.jpg,37.600000000,55.500000000,")));
    EXPECT_TRUE(seeYouEntry(i).endsWith(QStringLiteral(",1")));

    QStringList index;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        i.imagePath = folder.file(QString::fromLatin1(name));
        EXPECT_TRUE(writeCalibration(i, {false, false, false, true}, &index).written.isEmpty());
    }
    EXPECT_EQ(index.size(), 3);
    EXPECT_TRUE(index[2].startsWith(QStringLiteral("c.jpg,")));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("a.MDS"))));
}

// A file that cannot be written ends the call with its name; the later files are not tried.
TEST(Calibration, AFileThatCannotBeWritten) {
    test::TempProgramFolder folder;
    CalibrationImage i = image(55.5, 37.6);
    i.imagePath = folder.file(QStringLiteral("missing/area.jpg"));
    const CalibrationResult r = writeCalibration(i, {true, true, true, true});
    EXPECT_EQ(r.failed, folder.file(QStringLiteral("missing/area.map")));
    EXPECT_TRUE(r.written.isEmpty());
}
