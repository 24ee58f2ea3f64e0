// The names and pieces of a stitched image: the output file as the stitch builder settles it (the
// coordinates in the name, JPEG or PNG by the extension), and a selection too large for one image cut
// into a grid of pieces, each a stitch job of its own, named "_x<column>y<row>". Pure functions; any thread.
#pragma once

#include "geo/position.h"

#include <QString>

#include <vector>

namespace zelvano {

struct StitchName {
    QString fileName;
    bool savePng = false;
};

// With the coordinates in the name, the chosen name loses its last 4 characters and gets
// "_<topLat>_<leftLon>.jpg" (five decimals, the comma, west-positive longitude); PNG when the final name
// ends in "png", whatever the case.
StitchName stitchFileName(const QString& chosen, bool coordinatesInName, double topLat, double leftLon);

// "city.JPG", column 1, row 2 → "city_x1y2.jpg": the extension's four characters in lower case.
QString pieceFileName(const QString& chosen, int column, int row);

struct StitchPiece {
    int column = 0; // from 1, west to east
    int row = 0;    // from 1, north to south
    int width = 0;  // pixels at the job level
    int height = 0;
    geo::Position topLeft;
    geo::Position bottomRight;
    QString fileName;
};

// The pieces of a W × H selection at `level` from its top-left corner, column by column and each column
// from north to south: pieces of pw × ph, the last column and row what remains.
std::vector<StitchPiece> splitPieces(int level, geo::Position topLeft, int width, int height, int pieceWidth,
                                     int pieceHeight, const QString& chosen);

} // namespace zelvano
