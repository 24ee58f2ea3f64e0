#include "base/text_file.h"
#include "config/language_table.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace zelvano;

namespace {

QStringList numberedTexts(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(i % 7 == 3 ? QString() : QStringLiteral("текст %1").arg(i));
    return lines;
}

struct Loaded {
    QStringList entries;
    QString languageFile;
    int applied = 0;
};

Loaded load(const test::TempProgramFolder& folder, QString languageFile) {
    LanguageTable table;
    Loaded result;
    const auto relabel = table.subscribe([&] { ++result.applied; });
    table.loadLanguage(folder.path(), languageFile);
    result.entries = table.entries();
    result.languageFile = languageFile;
    return result;
}

} // namespace

TEST(LanguageTable, BuiltinTexts) {
    const QStringList builtin = LanguageTable::builtinEntries();
    ASSERT_EQ(builtin.size(), 215);
    EXPECT_EQ(builtin[0], QStringLiteral("широта"));
    EXPECT_EQ(builtin[8], QStringLiteral("Выполнить"));
    EXPECT_EQ(builtin[25], QStringLiteral("Mb из интернета"));
    EXPECT_EQ(builtin[35], QStringLiteral("Запись файла ZLV.ini невозможна"));
    EXPECT_EQ(builtin[61], QStringLiteral(" начало ..."));
    EXPECT_EQ(builtin[142], QStringLiteral("Остановка, если ошибок записи  фрагментов на диск"));
    EXPECT_EQ(builtin[208], QStringLiteral("Прекратить"));
    // The tile fetcher's and the view's messages.
    const std::pair<int, const char*> messages[] = {
        {20, "найден недокачанный файл, удален"},
        {21, "найден ошибочный файл, удален"},
        {22, "Снимок отсутствует в кэше"},
        {23, "ожидает загрузки..."},
        {24, "ошибка при получении"},
        {26, "ошибка записи на диск"},
        {27, "недокачаный файл, не сохранен"},
        {28, "файл менее 4 байт"},
        {29, "файл испорчен, удален"},
        {33, "Карта отсутствует в кэше"},
        {34, "Работа с картографическими слоями возможна только после преобразования кэша в новый формат. См. "
             "Настройки"},
        {168, "Предупреждение"},
        {201, "Векторный слой оключен, так как для этого увеличения недоступен."},
    };
    for (const auto& [entry, text] : messages)
        EXPECT_EQ(builtin[entry], QString::fromUtf8(text)) << "entry " << entry;
    for (int reserved : {40, 41, 47, 156, 203, 209, 210, 211, 212, 213, 214})
        EXPECT_TRUE(builtin[reserved].isEmpty());
    for (int ours : {125, 126, 160})
        EXPECT_FALSE(builtin[ours].isEmpty());
    for (const QString& text : builtin) {
        EXPECT_FALSE(text.contains(u'#')) << text.toStdString();
        EXPECT_FALSE(text.contains(u'\n')) << text.toStdString();
    }
}

TEST(LanguageTable, FileEntriesAreTakenVerbatim) {
    test::TempProgramFolder folder;
    const QStringList texts = numberedTexts(215);
    folder.writeLines(QStringLiteral("Language/Plain.txt"), texts);
    const Loaded loaded = load(folder, QStringLiteral("Plain.txt"));
    EXPECT_EQ(loaded.entries, texts);
    EXPECT_EQ(loaded.languageFile, QStringLiteral("Plain.txt"));
    EXPECT_EQ(loaded.applied, 1);
}

TEST(LanguageTable, CommentRules) {
    test::TempProgramFolder folder;
    QStringList texts = numberedTexts(215);
    QStringList lines = texts;
    lines.prepend(QStringLiteral("# English, by a volunteer"));
    lines[5] = QStringLiteral("word # a comment");
    texts[4] = QStringLiteral("word ");
    lines.insert(100, QStringLiteral("#another comment line"));
    lines.append({QStringLiteral("beyond 1"), QStringLiteral("beyond 2")});
    folder.writeLines(QStringLiteral("Language/Commented.txt"), lines);
    const Loaded loaded = load(folder, QStringLiteral("Commented.txt"));
    EXPECT_EQ(loaded.entries, texts);
    EXPECT_EQ(loaded.languageFile, QStringLiteral("Commented.txt"));
}

TEST(LanguageTable, UnusableFilesFallBackToTheBuiltinTexts) {
    struct Case {
        const char* label;
        QString languageFile;
        int entriesInFile; // -1: no file
    };
    const Case cases[] = {
        {"214 entries", QStringLiteral("Short.txt"), 214},
        {"missing file", QStringLiteral("Nowhere.txt"), -1},
        {"empty name", QString(), -1},
        {"Russian.txt too short", QStringLiteral("Russian.txt"), 10},
    };
    const QStringList builtin = LanguageTable::builtinEntries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        test::TempProgramFolder folder;
        if (c.entriesInFile >= 0)
            folder.writeLines(QStringLiteral("Language/") + c.languageFile, numberedTexts(c.entriesInFile));
        const Loaded loaded = load(folder, c.languageFile);
        EXPECT_EQ(loaded.entries, builtin);
        EXPECT_EQ(loaded.languageFile, QStringLiteral("Russian.txt"));
        EXPECT_EQ(loaded.applied, 1);
        EXPECT_EQ(readTextLines(folder.file(QStringLiteral("Language/Russian.txt"))), builtin);
    }
}

TEST(LanguageTable, MissingFolderIsRecreatedAndReadsBackIdentical) {
    test::TempProgramFolder folder;
    ASSERT_FALSE(QDir(folder.file(QStringLiteral("Language"))).exists());
    const Loaded first = load(folder, QStringLiteral("Russian.txt"));
    const QByteArray written = folder.read(QStringLiteral("Language/Russian.txt"));
    ASSERT_FALSE(written.isEmpty());
    EXPECT_TRUE(
        written.endsWith("\xCF\xF0\xE5\xEA\xF0\xE0\xF2\xE8\xF2\xFC\r\n\r\n\r\n\r\n\r\n\r\n\r\n")); // "Прекратить"
    EXPECT_EQ(written.count("\r\n"), 215);
    EXPECT_FALSE(QByteArray(written).replace("\r\n", "").contains('\n'));

    const Loaded second = load(folder, QStringLiteral("Russian.txt"));
    EXPECT_EQ(second.entries, first.entries);
    EXPECT_EQ(second.entries, LanguageTable::builtinEntries());
}

TEST(LanguageTable, LanguageTextOutsideTheTableIsEmpty) {
    test::TempProgramFolder folder;
    LanguageTable table;
    EXPECT_EQ(table.languageText(0), QString());
    QString name = QStringLiteral("Russian.txt");
    table.loadLanguage(folder.path(), name);
    EXPECT_EQ(table.languageText(36), QStringLiteral("Сохранение невозможно"));
    EXPECT_EQ(table.languageText(215), QString());
    EXPECT_EQ(table.languageText(-1), QString());
}

// Every window subscribes for itself: a dialog that subscribes later or goes away unhooks no one else.
TEST(LanguageTable, NotifiesEverySubscriberUntilItsHandleGoes) {
    test::TempProgramFolder folder;
    QString name = QStringLiteral("Russian.txt");
    LanguageTable::Subscription outlivesTable;
    int window = 0;
    int dialog = 0;
    {
        LanguageTable table;
        const auto windowHandle = table.subscribe([&] { ++window; });
        auto dialogHandle = table.subscribe([&] { ++dialog; });
        table.loadLanguage(folder.path(), name);
        EXPECT_EQ(std::make_pair(window, dialog), std::make_pair(1, 1));
        dialogHandle.reset();
        table.loadLanguage(folder.path(), name);
        EXPECT_EQ(std::make_pair(window, dialog), std::make_pair(2, 1));
        outlivesTable = table.subscribe([] {});
    }
    outlivesTable.reset(); // the table is gone: nothing to unhook, nothing touched
}

// English.txt is written beside Russian.txt on the first load and kept after; chosen, it gives 215 English
// texts whose spaces at either end are those of the Russian ones (the program joins texts around them).
TEST(LanguageTable, EnglishFileShippedAndRead) {
    test::TempProgramFolder folder;
    load(folder, QStringLiteral("Russian.txt"));
    const QByteArray written = folder.read(QStringLiteral("Language/English.txt"));
    ASSERT_TRUE(written.startsWith("# "));
    EXPECT_EQ(written.count("\r\n"), 217); // two comment lines and the entries

    const Loaded english = load(folder, QStringLiteral("English.txt"));
    EXPECT_EQ(english.languageFile, QStringLiteral("English.txt"));
    ASSERT_EQ(english.entries.size(), 215);
    EXPECT_EQ(english.entries[3], QStringLiteral("Show"));
    const QStringList russian = LanguageTable::builtinEntries();
    for (int i = 0; i < 215; ++i) {
        SCOPED_TRACE(i);
        const QString& e = english.entries[i];
        const QString& r = russian[i];
        EXPECT_EQ(e.isEmpty(), r.isEmpty());
        const auto lead = [](const QString& s) { return s.size() - s.trimmed().size() ? s.indexOf(s.trimmed()) : 0; };
        EXPECT_EQ(lead(e), lead(r));
        EXPECT_EQ(e.endsWith(u' '), r.endsWith(u' '));
        for (const QChar c : e)
            EXPECT_LT(c.unicode(), 128) << e.toStdString(); // code page 1251 safe
    }
    folder.write(QStringLiteral("Language/English.txt"), "# edited by hand\r\n");
    load(folder, QStringLiteral("Russian.txt"));
    EXPECT_EQ(folder.read(QStringLiteral("Language/English.txt")), "# edited by hand\r\n"); // not overwritten
}
