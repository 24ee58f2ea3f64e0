#include "jobs/stitch_naming.h"

#include "base/number_text.h"
#include "geo/tile_math.h"

namespace zelvano {

StitchName stitchFileName(const QString& chosen, bool coordinatesInName, double topLat, double leftLon) {
    StitchName n;
    n.fileName = chosen;
    if (coordinatesInName)
        n.fileName = chosen.chopped(std::min<qsizetype>(4, chosen.size())) + u'_' + formatFixed(topLat, 5) + u'_' +
                     formatFixed(leftLon, 5) + QStringLiteral(".jpg");
    n.savePng = n.fileName.right(3).toLower() == QLatin1StringView("png");
    return n;
}

QString pieceFileName(const QString& chosen, int column, int row) {
    const qsizetype cut = std::min<qsizetype>(4, chosen.size());
    return chosen.chopped(cut) + QStringLiteral("_x%1y%2").arg(column).arg(row) + chosen.right(cut).toLower();
}

std::vector<StitchPiece> splitPieces(int level, geo::Position topLeft, int width, int height, int pieceWidth,
                                     int pieceHeight, const QString& chosen) {
    std::vector<StitchPiece> pieces;
    if (pieceWidth <= 0 || pieceHeight <= 0) return pieces;
    int column = 0;
    for (int x = 0; x < width;) {
        ++column;
        const int w = x + pieceWidth > width ? width - x : pieceWidth;
        int row = 0;
        for (int y = 0; y < height;) {
            ++row;
            const int h = y + pieceHeight > height ? height - y : pieceHeight;
            StitchPiece p;
            p.column = column;
            p.row = row;
            p.width = w;
            p.height = h;
            p.topLeft = p.bottomRight = topLeft;
            geo::ShiftPosition(x, y, level, p.topLeft);
            geo::ShiftPosition(x + w + 1, y + h + 1, level, p.bottomRight);
            p.fileName = pieceFileName(chosen, column, row);
            pieces.push_back(p);
            y += h;
        }
        x += w;
    }
    return pieces;
}

} // namespace zelvano
