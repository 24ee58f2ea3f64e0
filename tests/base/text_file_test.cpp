#include "base/cp1251.h"
#include "base/text_file.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace zelvano;

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toCp1251(fromCp1251(all)), all);
}

TEST(Cp1251, CyrillicAndOtherCharacters) {
    EXPECT_EQ(toCp1251(u"Кэш и интернет"), QByteArray("\xCA\xFD\xF8\x20\xE8\x20\xE8\xED\xF2\xE5\xF0\xED\xE5\xF2"));
    EXPECT_EQ(fromCp1251("\xA8\xB8\xB9\x96"), QStringLiteral("Ёё№–"));
    EXPECT_EQ(toCp1251(u"日本"), QByteArray("??"));
}

TEST(TextFile, SplitLinesOnEveryLineEnd) {
    struct Case {
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"\n\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        EXPECT_EQ(splitLines(c.bytes), c.lines);
    }
}

TEST(TextFile, WritesCp1251WithCrLfAndReadsBack) {
    test::TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("list.txt"));
    const QStringList lines = {QStringLiteral("Только кэш"), QString(), QStringLiteral("end")};
    ASSERT_TRUE(writeTextLines(path, lines));
    EXPECT_EQ(folder.read(QStringLiteral("list.txt")),
              QByteArray("\xD2\xEE\xEB\xFC\xEA\xEE \xEA\xFD\xF8\r\n\r\nend\r\n"));
    EXPECT_EQ(readTextLines(path), lines);
    EXPECT_FALSE(readTextLines(folder.file(QStringLiteral("missing.txt"))));
}

TEST(TextFile, ReplacesWholeFilesAndLeavesReadOnlyOnesAlone) {
    test::TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("data.bin"));
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, "second, longer"));
    EXPECT_EQ(folder.read(QStringLiteral("data.bin")), QByteArray("second, longer"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.bin")});

    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_TRUE(isReadOnly(path));
    EXPECT_FALSE(writeFileAtomically(path, "third"));
    EXPECT_EQ(folder.read(QStringLiteral("data.bin")), QByteArray("second, longer"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.bin")});

    EXPECT_FALSE(writeFileAtomically(folder.file(QStringLiteral("no/such/folder/file")), "x"));
}
