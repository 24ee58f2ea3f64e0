// The single-folder cache moved to the per-layer layout with real files: the names and level folders,
// what stays in the root (incomplete tiles, level 24, PNG files, unreadable files, targets that cannot be
// written), and the question's text.
#include "tiles/cache_conversion.h"

#include "base/text_file.h"
#include "support/temp_program_folder.h"
#include "support/tile_fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace zelvano;

namespace {

// A whole JPEG tile of more than 1000 bytes, different for each seed.
QByteArray completeTile(int seed) {
    QByteArray bytes = test::jpegTile(seed);
    EXPECT_GT(bytes.size(), 1000);
    return bytes;
}

QByteArray ending(QByteArray bytes, qsizetype size) {
    bytes.truncate(size - 2);
    return bytes + "\xFF\xD9";
}

} // namespace

TEST(CacheConversion, MovesCompleteTilesToTheirLevelFolders) {
    const test::TempProgramFolder folder;
    const QString root = folder.file(QStringLiteral("Cache/"));
    QDir().mkpath(root);
    const QString letters23 = QStringLiteral("qrstqrstqrstqrstqrstqrs");
    struct Case {
        QString name;
        QByteArray bytes;
        QString target; // empty: the file stays in the root
    };
    const Case cases[] = {
        {QStringLiteral("ab.jpg"), completeTile(1), QStringLiteral("kh/03/tab.jpg")},
        {QStringLiteral("QRST.JPG"), completeTile(2), QStringLiteral("kh/05/tqrst.jpg")},
        {letters23 + QStringLiteral(".jpg"), completeTile(3), QStringLiteral("kh/24/t") + letters23 + ".jpg"},
        {letters23 + QStringLiteral("q.jpg"), completeTile(4), {}},   // level 24 takes no part
        {QStringLiteral("qq.jpg"), ending(completeTile(5), 900), {}}, // 900 bytes
        {QStringLiteral("qr.jpg"), completeTile(6).chopped(2), {}},   // not ending with the marker
        {QStringLiteral("tq.png"), test::pngTile(), {}},              // map tiles stay
        {QStringLiteral(".jpg"), completeTile(7), {}},                // no letters
    };
    for (const Case& c : cases)
        ASSERT_TRUE(writeFileAtomically(root + c.name, c.bytes));
    createLayerFolders(root);
    for (const char* layer : {"kh/01", "mt/24", "tt/13"})
        EXPECT_TRUE(QDir(root + QLatin1StringView(layer)).exists()) << layer;
    EXPECT_FALSE(QDir(root + QStringLiteral("kh/25")).exists());
    EXPECT_EQ(conversionSources(root).size(), 5);

    int steps = 0;
    const ConversionResult r = convertCache(root, [&](int done) { steps = done; });
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(r.moved, 3);
    EXPECT_EQ(r.incomplete, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        if (c.target.isEmpty()) {
            EXPECT_EQ(folder.read(QStringLiteral("Cache/") + c.name), c.bytes);
        } else {
            EXPECT_FALSE(QFile::exists(root + c.name));
            EXPECT_EQ(folder.read(QStringLiteral("Cache/") + c.target), c.bytes);
        }
    }
    EXPECT_TRUE(conversionSources(root).size() == 2); // the two incomplete ones, found again next time
}

// Without its level folder a tile cannot move and stays whole in the root; an unreadable one stays too,
// and the tile after it moves with its own bytes.
TEST(CacheConversion, WhatCannotMoveStays) {
    const test::TempProgramFolder folder;
    const QString root = folder.file(QStringLiteral("Cache/"));
    QDir().mkpath(root + QStringLiteral("kh/03"));
    ASSERT_TRUE(writeFileAtomically(root + QStringLiteral("qrs.jpg"), completeTile(1))); // kh/04 is missing
    ASSERT_TRUE(writeFileAtomically(root + QStringLiteral("aa.jpg"), completeTile(2)));
    ASSERT_TRUE(writeFileAtomically(root + QStringLiteral("ab.jpg"), completeTile(3)));
    QFile(root + QStringLiteral("aa.jpg")).setPermissions({});
    const bool unreadable = !QFileInfo(root + QStringLiteral("aa.jpg")).isReadable();
    const ConversionResult r = convertCache(root);
    EXPECT_EQ(folder.read(QStringLiteral("Cache/qrs.jpg")), completeTile(1));
    EXPECT_FALSE(QDir(root + QStringLiteral("kh/04")).exists());
    EXPECT_EQ(folder.read(QStringLiteral("Cache/kh/03/tab.jpg")), completeTile(3));
    if (unreadable) {
        EXPECT_EQ(r.failed, 2);
        QFile(root + QStringLiteral("aa.jpg")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_EQ(folder.read(QStringLiteral("Cache/aa.jpg")), completeTile(2));
        EXPECT_FALSE(QFile::exists(root + QStringLiteral("kh/03/taa.jpg")));
    }
}

TEST(CacheConversion, Question) {
    const test::TempProgramFolder folder;
    LanguageTable table;
    QString file = QStringLiteral("Russian.txt");
    table.loadLanguage(folder.path(), file);
    EXPECT_EQ(conversionQuestion(table, 25),
              QStringLiteral("Обнаружено 25  файлов, их обработка может занять около 120 минут. .  Продолжить? "));
    EXPECT_EQ(conversionQuestion(table, 0),
              QStringLiteral("Обнаружено 0  файлов, их обработка может занять около 0 минут. .  Продолжить? "));
}
