#include "calibration/calibration_writer.h"

#include "base/number_text.h"
#include "base/text_file.h"
#include "geo/tile_math.h"
#include "tools/distance.h"

#include <QFileInfo>

#include <array>
#include <cmath>
#include <cstdlib>

namespace zelvano {

namespace {

// The corners and the centre of the image, and its size.
struct Frame {
    int w = 0;
    int h = 0;
    geo::Position tl, br, c;
};

Frame frameOf(const CalibrationImage& image) {
    Frame f;
    f.w = std::abs(image.width);
    f.h = std::abs(image.height);
    f.tl = f.br = f.c = image.topLeft;
    geo::ShiftPosition(f.w, f.h, image.level, f.br);
    geo::ShiftPosition(f.w / 2, f.h / 2, image.level, f.c);
    return f;
}

QString f(double v, int decimals) {
    return formatFixed(v, decimals, u'.');
}

double east(double lonW) {
    return -lonW;
}

// Whole degrees of |v|, ", ", the minutes with five decimals.
QString dm(double v) {
    const double a = std::abs(v);
    const double degrees = std::trunc(a);
    return QString::number(static_cast<long long>(degrees)) + QStringLiteral(", ") + f((a - degrees) * 60, 5);
}

QString n(int v) {
    return QString::number(v);
}

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

struct Point {
    int x, y;
    double lat, lonW;
};

// The nine points in the OziExplorer order; MapInfo exchanges the third and the fourth.
std::array<Point, 9> points(const Frame& fr) {
    const int w2 = fr.w / 2, h2 = fr.h / 2;
    return {{{0, 0, fr.tl.lat, fr.tl.lonW},
             {fr.w, fr.h, fr.br.lat, fr.br.lonW},
             {0, fr.h, fr.br.lat, fr.tl.lonW},
             {fr.w, 0, fr.tl.lat, fr.br.lonW},
             {w2, h2, fr.c.lat, fr.c.lonW},
             {w2, 0, fr.tl.lat, fr.c.lonW},
             {0, h2, fr.c.lat, fr.tl.lonW},
             {fr.w, h2, fr.c.lat, fr.br.lonW},
             {w2, fr.h, fr.br.lat, fr.c.lonW}}};
}

bool write(const QString& path, const QStringList& lines, CalibrationResult& result) {
    if (result.failed) return false;
    if (!writeTextLines(path, lines)) {
        result.failed = path;
        return false;
    }
    result.written << path;
    return true;
}

} // namespace

QString oziPath(const QString& imagePath) {
    return imagePath.chopped(3) + QStringLiteral("map");
}
QString mapInfoPath(const QString& imagePath) {
    return imagePath.chopped(3) + QStringLiteral("tab");
}
QString worldFilePath(const QString& imagePath) {
    return imagePath + u'w';
}
QString seeYouPath(const QString& imagePath) {
    return imagePath.chopped(3) + QStringLiteral("MDS");
}

QStringList oziLines(const CalibrationImage& image) {
    const Frame fr = frameOf(image);
    QStringList l{QStringLiteral("OziExplorer Map Data File Version 2.2"),
                  fileName(image.imagePath),
                  image.imagePath,
                  QStringLiteral("1 ,Map Code,"),
                  QStringLiteral("WGS 84,,   0.0000,   0.0000,WGS 84"),
                  QStringLiteral("Reserved 1"),
                  QStringLiteral("Reserved 2"),
                  QStringLiteral("Magnetic Variation,,,E"),
                  QStringLiteral("Map Projection,Mercator,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No")};
    const auto all = points(fr);
    for (int i = 0; i < 9; ++i) {
        const Point& p = all[static_cast<std::size_t>(i)];
        const QString prefix =
            i == 0 ? QStringLiteral("Point01,xy,    0, 0,in, deg, ")
                   : QStringLiteral("Point%1,xy,   %2, %3,in, deg, ").arg(i + 1, 2, 10, QChar(u'0')).arg(p.x).arg(p.y);
        l << prefix + dm(p.lat) + u',' + (p.lat >= 0 ? u'N' : u'S') + QStringLiteral(", ") + dm(p.lonW) + u',' +
                 (p.lonW >= 0 ? u'W' : u'E') + QStringLiteral(", grid,   ,           ,           ,N");
    }
    for (int k = 10; k <= 30; ++k)
        l << QStringLiteral("Point%1,xy,     ,     ,in, deg,    ,        ,N,    ,        ,W, grid,   ,           ,"
                            "           ,N")
                 .arg(k);
    const double metres = distanceMetres({fr.c.lat, fr.br.lonW}, {fr.c.lat, fr.tl.lonW});
    l << QStringLiteral("Projection Setup,,,,,,,,,,")
      << QStringLiteral("Map Feature = MF ; Map Comment = MC     These follow if they exist")
      << QStringLiteral("Track File = TF      These follow if they exist")
      << QStringLiteral("Moving Map Parameters = MM?    These follow if they exist") << QStringLiteral("MM0,Yes")
      << QStringLiteral("MMPNUM,4") << QStringLiteral("MMPXY,1,0,0") << QStringLiteral("MMPXY,2,") + n(fr.w) + ",0"
      << QStringLiteral("MMPXY,3,") + n(fr.w) + u',' + n(fr.h) << QStringLiteral("MMPXY,4,0,") + n(fr.h)
      << QStringLiteral("MMPLL,1, ") + f(east(fr.tl.lonW), 6) + QStringLiteral(", ") + f(fr.tl.lat, 6)
      << QStringLiteral("MMPLL,2, ") + f(east(fr.br.lonW), 6) + QStringLiteral(", ") + f(fr.tl.lat, 6)
      << QStringLiteral("MMPLL,3, ") + f(east(fr.br.lonW), 6) + QStringLiteral(", ") + f(fr.br.lat, 6)
      << QStringLiteral("MMPLL,4, ") + f(east(fr.tl.lonW), 6) + QStringLiteral(", ") + f(fr.br.lat, 6)
      << QStringLiteral("MM1B,") + f(fr.w > 0 ? metres / fr.w : 0, 6) << QStringLiteral("MOP,Map Open Position,0,0")
      << QStringLiteral("IWH,Map Image Width/Height,") + n(fr.w) + u',' + n(fr.h);
    return l;
}

QStringList mapInfoLines(const CalibrationImage& image) {
    const Frame fr = frameOf(image);
    const QString name = image.linkedToCache ? image.cacheFile : fileName(image.imagePath);
    QStringList l{QStringLiteral("!table"),
                  QStringLiteral("!version 300"),
                  QStringLiteral("!charset WindowsCyrillic"),
                  QString(),
                  QStringLiteral("Definition Table"),
                  QStringLiteral("  File ") + quoted(name),
                  QStringLiteral("  Type ") + quoted(QStringLiteral("RASTER"))};
    auto all = points(fr);
    std::swap(all[2], all[3]);
    for (int i = 0; i < 9; ++i) {
        const Point& p = all[static_cast<std::size_t>(i)];
        l << QStringLiteral("  (") + f(east(p.lonW), 9) + u',' + f(p.lat, 9) + QStringLiteral(") (") + n(p.x) + u',' +
                 n(p.y) + QStringLiteral(") Label ") + quoted(QStringLiteral("Точка %1").arg(i + 1)) +
                 (i < 8 ? QStringLiteral(",") : QString());
    }
    l << QStringLiteral("  CoordSys Earth Projection 1, 104")
      << QStringLiteral("  Units ") + quoted(QStringLiteral("degree"));
    return l;
}

QStringList worldFileLines(const CalibrationImage& image) {
    // A world file names the centre of the top-left pixel, which every reader takes as such; the image's
    // corner is half a pixel further out.
    const Frame fr = frameOf(image);
    const double xSize = fr.w > 0 ? (east(fr.br.lonW) - east(fr.tl.lonW)) / fr.w : 0;
    const double ySize = fr.h > 0 ? (fr.br.lat - fr.tl.lat) / fr.h : 0;
    return {f(xSize, 15),
            QStringLiteral("0"),
            QStringLiteral("0"),
            f(ySize, 15),
            f(east(fr.tl.lonW) + xSize / 2, 15),
            f(fr.tl.lat + ySize / 2, 15)};
}

QString seeYouEntry(const CalibrationImage& image) {
    const Frame fr = frameOf(image);
    return fileName(image.imagePath) + u',' + f(std::abs(fr.tl.lonW), 9) + u',' + f(std::abs(fr.tl.lat), 9) + u',' +
           f(std::abs(fr.br.lonW), 9) + u',' + f(std::abs(fr.br.lat), 9) + QStringLiteral(",1");
}

CalibrationResult writeCalibration(const CalibrationImage& image, const CalibrationFormats& formats,
                                   QStringList* seeYouIndex) {
    CalibrationResult result;
    if (formats.ozi) write(oziPath(image.imagePath), oziLines(image), result);
    if (formats.mapInfo) write(mapInfoPath(image.imagePath), mapInfoLines(image), result);
    if (formats.worldFile && write(worldFilePath(image.imagePath), worldFileLines(image), result)) {
        // So that GIS programs take the coordinates as WGS 84 degrees without asking.
        write(image.imagePath.left(image.imagePath.lastIndexOf(u'.')) + QStringLiteral(".prj"),
              {QStringLiteral("GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563]],"
                              "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]]")},
              result);
    }
    if (formats.seeYou && !result.failed) {
        if (seeYouIndex)
            seeYouIndex->append(seeYouEntry(image));
        else
            write(seeYouPath(image.imagePath), {seeYouEntry(image)}, result);
    }
    return result;
}

} // namespace zelvano
