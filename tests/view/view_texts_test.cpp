#include "config/language_table.h"
#include "geo/tile_math.h"
#include "support/temp_program_folder.h"
#include "view/draw_pass.h"
#include "view/view_texts.h"

#include <gtest/gtest.h>

#include <set>

using namespace zelvano;

TEST(ViewTexts, SelectionSummaries) {
    test::TempProgramFolder folder;
    LanguageTable table;
    QString name = QStringLiteral("Russian.txt");
    table.loadLanguage(folder.path(), name);
    const SelectionSize square{1024, 1024};
    EXPECT_EQ(selectionLabel(table, square), QStringLiteral("Выделено 1024x1024 пикселей"));
    EXPECT_EQ(selectionPanel(table, square), QStringLiteral("Выделено 1024x1024px, в памяти 2mb, скачать~0,1mb"));
    EXPECT_EQ(selectionReleasePanel(table, square),
              QStringLiteral("Выделено 1024x1024px, в памяти 2,000mb, скачать~ 0,1mb"));

    // From the corners: 512 x 256 pixels at level 3, measured either way round.
    double right = 90;
    double bottom = 40;
    ASSERT_TRUE(geo::ShiftPosition(512, 256, 3, right, bottom));
    double left = 90;
    double top = 40;
    geo::ShiftPosition(0, 0, 3, left, top);
    const SelectionSize s = selectionSize(3, top, left, bottom, right);
    EXPECT_NEAR(static_cast<double>(s.width()), 512, 1);
    EXPECT_NEAR(static_cast<double>(s.height()), 256, 1);
    EXPECT_GT(s.megabytes(), 0);
    const SelectionSize reversed = selectionSize(3, bottom, right, top, left);
    EXPECT_EQ(reversed.width(), s.width());
    EXPECT_EQ(reversed.megabytes(), s.megabytes());
}

TEST(Spiral, RingsRunClockwiseFromTheNorthInSingleSteps) {
    EXPECT_EQ(spiralRing(0), std::vector<QPoint>{QPoint(0, 0)});
    const std::vector<QPoint> ring1 = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    EXPECT_EQ(spiralRing(1), ring1);
    QPoint last(0, 0);
    std::set<std::pair<int, int>> seen{{0, 0}};
    for (int k = 1; k <= 6; ++k) {
        const auto ring = spiralRing(k);
        EXPECT_EQ(ring.size(), static_cast<size_t>(8 * k));
        for (const QPoint p : ring) {
            EXPECT_EQ((p - last).manhattanLength(), 1) << k;
            EXPECT_TRUE(seen.insert({p.x(), p.y()}).second);
            EXPECT_EQ(std::max(std::abs(p.x()), std::abs(p.y())), k);
            last = p;
        }
    }
}
