#include "support/qt_printers.h"
#include "support/temp_program_folder.h"
#include "tools/bookmarks.h"

#include <gtest/gtest.h>

using namespace zelvano;

TEST(Bookmarks, LinesInTheirColumns) {
    struct Case {
        BookmarkFields fields;
        QString line;
    };
    const Case cases[] = {
        {{QStringLiteral("Home"), QStringLiteral("12"), QStringLiteral("N"), QStringLiteral("55°45,123'"),
          QStringLiteral("E"), QStringLiteral("37°36,456'")},
         QStringLiteral("Home                 12 N55°45,123'     E37°36,456'    ")},
        {{QStringLiteral("Дача"), QStringLiteral("5"), QStringLiteral("S"), QStringLiteral("33°30'"),
          QStringLiteral("W"), QStringLiteral("151°15'")},
         QStringLiteral("Дача                 5  S33°30'         W151°15'       ")},
        {{QStringLiteral("A name of twenty-five chars"), QString(), QStringLiteral("N"), QStringLiteral("1°2,345'"),
          QStringLiteral("E"), QStringLiteral("2")},
         QStringLiteral("A name of twenty-fiv    N1°2,345'       E2             ")},
        {{QString(), QStringLiteral("24"), QStringLiteral("N"), QStringLiteral("89°59,999999'"), QStringLiteral("W"),
          QStringLiteral("179°59,99999'")},
         QStringLiteral("                     24 N89°59,999999'  W179°59,99999' ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const QString line = bookmarkLine(c.fields);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(line.size(), 55);
        EXPECT_EQ(line[24], c.fields.latHemisphere[0]); // column 25
        EXPECT_EQ(line[40], c.fields.lonHemisphere[0]); // column 41
        const auto chosen = chosenBookmark(line);
        ASSERT_TRUE(chosen);
        EXPECT_EQ(chosen->zoom, c.fields.zoom.isEmpty() ? 1 : c.fields.zoom.toInt());
        EXPECT_EQ(chosen->south, c.fields.latHemisphere == u"S");
        EXPECT_EQ(chosen->west, c.fields.lonHemisphere == u"W");
        EXPECT_EQ(chosen->latText, c.fields.latText);
        EXPECT_EQ(chosen->lonText, c.fields.lonText);
    }
    EXPECT_EQ(bookmarkName(QStringLiteral("Home")), QStringLiteral("Home                "));
    EXPECT_EQ(chosenBookmark(QStringLiteral("____________________ N E")), std::nullopt); // too short
}

TEST(Bookmarks, FileInCodePage1251AndSortedWhenLoaded) {
    test::TempProgramFolder folder;
    EXPECT_EQ(loadBookmarks(folder.path()), std::nullopt);
    const QStringList lines = {QStringLiteral("zeta                 3  N1°'           E2°'           "),
                               QStringLiteral("Альфа                3  N1°'           E2°'           "),
                               QStringLiteral("alpha                3  N1°'           E2°'           "),
                               QStringLiteral("Яхта                 3  N1°'           E2°'           "),
                               QStringLiteral("ёж                   3  N1°'           E2°'           "),
                               QStringLiteral("Жук                  3  N1°'           E2°'           ")};
    ASSERT_TRUE(saveBookmarks(folder.path(), lines));
    const QByteArray bytes = folder.read(QStringLiteral("Favorites.dat"));
    EXPECT_EQ(bytes.count("\r\n"), 6);
    EXPECT_TRUE(bytes.contains("\xC0\xEB\xFC\xF4\xE0")); // "Альфа"
    EXPECT_EQ(loadBookmarks(folder.path()), (QStringList{lines[2], lines[0], lines[1], lines[4], lines[5], lines[3]}));
    ASSERT_TRUE(saveBookmarks(folder.path(), {}));
    EXPECT_EQ(loadBookmarks(folder.path()), QStringList());
}
