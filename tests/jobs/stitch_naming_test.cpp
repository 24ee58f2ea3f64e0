#include "jobs/stitch_naming.h"

#include "geo/tile_math.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

using namespace zelvano;

TEST(StitchNaming, FileNameAndFormat) {
    struct Case {
        const char* chosen;
        bool coordinates;
        const char* fileName;
        bool png;
    };
    const Case cases[] = {
        {"/maps/area.jpg", false, "/maps/area.jpg", false},
        {"/maps/MAP.PNG", false, "/maps/MAP.PNG", true},                      // the extension in any case
        {"/maps/area.png", true, "/maps/area_55,75000_-37,60000.jpg", false}, // with coordinates always JPEG
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        const StitchName n = stitchFileName(QString::fromUtf8(c.chosen), c.coordinates, 55.75, -37.6);
        EXPECT_EQ(n.fileName, QString::fromUtf8(c.fileName));
        EXPECT_EQ(n.savePng, c.png);
    }
    EXPECT_EQ(pieceFileName(QStringLiteral("/maps/city.JPG"), 1, 2), QStringLiteral("/maps/city_x1y2.jpg"));
    EXPECT_EQ(pieceFileName(QStringLiteral("/maps/MAP.PNG"), 3, 1), QStringLiteral("/maps/MAP_x3y1.png"));
}

// 12 000 × 7 000 in pieces of 5 000: three columns of two rows, column by column, the third column 2 000
// wide and the second row 2 000 high; each piece's corners one pixel past its size from its own corner.
TEST(StitchNaming, SplitIntoPieces) {
    const geo::Position topLeft{55.75, -37.6};
    const auto pieces = splitPieces(14, topLeft, 12000, 7000, 5000, 5000, QStringLiteral("/maps/city.jpg"));
    ASSERT_EQ(pieces.size(), 6u);
    const char* names[] = {"city_x1y1.jpg", "city_x1y2.jpg", "city_x2y1.jpg",
                           "city_x2y2.jpg", "city_x3y1.jpg", "city_x3y2.jpg"};
    const int widths[] = {5000, 5000, 5000, 5000, 2000, 2000};
    const int heights[] = {5000, 2000, 5000, 2000, 5000, 2000};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const StitchPiece& p = pieces[static_cast<std::size_t>(i)];
        EXPECT_EQ(p.fileName, QStringLiteral("/maps/") + QString::fromLatin1(names[i]));
        EXPECT_EQ(p.width, widths[i]);
        EXPECT_EQ(p.height, heights[i]);
        const geo::PixelOffsetResult size = geo::PixelOffset(14, p.bottomRight, p.topLeft);
        EXPECT_NEAR(std::abs(size.ox), p.width + 1, 1);
        EXPECT_NEAR(std::abs(size.oy), p.height + 1, 1);
        const geo::PixelOffsetResult from = geo::PixelOffset(14, p.topLeft, topLeft);
        EXPECT_NEAR(std::abs(from.ox), (p.column - 1) * 5000, 1);
        EXPECT_NEAR(std::abs(from.oy), (p.row - 1) * 5000, 1);
    }
    EXPECT_TRUE(splitPieces(14, topLeft, 300, 200, 5000, 5000, QStringLiteral("/a.jpg")).size() == 1);
}
