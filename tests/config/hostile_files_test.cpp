#include "base/text_file.h"
#include "config/cache_list.h"
#include "config/program_state.h"
#include "config/settings_file.h"
#include "support/temp_program_folder.h"
#include "tools/bookmarks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include <sys/stat.h>

using namespace zelvano;

namespace {

void makeFifo(const QString& path) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
}

QStringList usableLanguage() {
    QStringList texts;
    for (int i = 0; i < 215; ++i)
        texts.append(QStringLiteral("T%1").arg(i));
    return texts;
}

} // namespace

// The language setting names a file inside Language; nothing else is opened, and what is not a small
// regular file there falls back to the built-in texts as a missing file does.
TEST(HostileFiles, LanguageFileNamesThatAreNotFilesOfTheLanguageFolder) {
    test::TempProgramFolder folder;
    folder.writeLines(QStringLiteral("secret.txt"), usableLanguage()); // a usable table, but outside
    folder.writeLines(QStringLiteral("Language/Good.txt"), usableLanguage());
    makeFifo(folder.file(QStringLiteral("Language/Pipe.txt")));
    QFile::link(QStringLiteral("/dev/zero"), folder.file(QStringLiteral("Language/Zero.txt")));
    struct Case {
        QString name;
        bool taken;
    };
    const Case cases[] = {
        {QStringLiteral("Good.txt"), true},
        {QStringLiteral("../secret.txt"), false},
        {folder.file(QStringLiteral("secret.txt")), false}, // an absolute path
        {QStringLiteral("/etc/passwd"), false},
        {QStringLiteral(".."), false},
        {QStringLiteral("..\\secret.txt"), false},
        {QStringLiteral("Pipe.txt"), false}, // a FIFO is not waited for
        {QStringLiteral("Zero.txt"), false}, // nor a device read without end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        LanguageTable table;
        QString name = c.name;
        table.loadLanguage(folder.path(), name);
        EXPECT_EQ(table.languageText(0), c.taken ? QStringLiteral("T0") : QStringLiteral("широта"));
        EXPECT_EQ(name, c.taken ? c.name : QStringLiteral("Russian.txt"));
        EXPECT_EQ(isLanguageFileName(c.name), c.name == u"Good.txt" || c.name == u"Pipe.txt" || c.name == u"Zero.txt");
    }
}

// A FIFO or a device in the place of the settings, bookmarks or cache list: defaults, at once.
TEST(HostileFiles, TheProgramFolderOpensPastFifosAndDevices) {
    test::TempProgramFolder folder;
    makeFifo(folder.file(QStringLiteral("ZLV2.ini")));
    makeFifo(folder.file(QStringLiteral("Favorites.dat")));
    QFile::link(QStringLiteral("/dev/zero"), folder.file(QStringLiteral("CacheList.dat")));
    const ProgramState state = ProgramState::load(folder.path());
    EXPECT_FALSE(state.loaded.fileRead);
    EXPECT_EQ(state.settings, Settings{});
    EXPECT_TRUE(state.extraCaches.isEmpty());
    EXPECT_EQ(loadBookmarks(folder.path()), std::nullopt);
}

// Only what loads back is saved: a decimal that would round past the largest double, an infinity or not a
// number would make the next start refuse that line and reset every line after it.
TEST(HostileFiles, DecimalsAreSavedSoThatTheyLoadBack) {
    test::TempProgramFolder folder;
    constexpr double kMax = std::numeric_limits<double>::max();
    Settings s;
    s.viewLatitude = kMax;
    s.viewLongitude = -std::numeric_limits<double>::infinity();
    s.selectionTop = std::numeric_limits<double>::quiet_NaN();
    s.selectionRight = -kMax;
    s.languageFile = QStringLiteral("Russian.txt");
    s.secondaryMirrors = true; // the last line: it must load too
    ASSERT_TRUE(saveSettings(s, folder.path()));
    Settings back;
    LanguageTable language;
    const SettingsLoadResult result = loadSettings(back, language, folder.path());
    EXPECT_EQ(result.stoppedAtLine, std::nullopt);
    EXPECT_TRUE(back.secondaryMirrors);
    EXPECT_GT(back.viewLatitude, kMax * 0.999999);
    EXPECT_LT(back.viewLongitude, -kMax * 0.999999);
    EXPECT_EQ(back.selectionTop, 0);
    EXPECT_LT(back.selectionRight, -kMax * 0.999999);
}

// Random and mutated files through the real readers of the settings, language, bookmarks and cache
// list: none of them fails, the language table always has its 215 entries, and settings that loaded save
// and load back the same.
TEST(HostileFiles, ReadersTakeAnyBytes) {
    // In memory where the machine has it: every case saves the settings, and each save waits for the disk.
    const QString shm = QStringLiteral("/dev/shm");
    const QByteArray previousTemp = qgetenv("TMPDIR");
    const bool hadTemp = qEnvironmentVariableIsSet("TMPDIR");
    if (QFileInfo(shm).isWritable()) qputenv("TMPDIR", shm.toUtf8());
    test::TempProgramFolder folder;
    if (hadTemp)
        qputenv("TMPDIR", previousTemp);
    else
        qunsetenv("TMPDIR");
    Settings sample;
    sample.proxyHost = QStringLiteral("прокси");
    sample.viewLatitude = -33.5;
    ASSERT_TRUE(saveSettings(sample, folder.path()));
    const QByteArray settingsSeed = folder.read(QStringLiteral("ZLV2.ini"));
    const QByteArray languageSeed = folder.read(QStringLiteral("Language/Russian.txt"));
    std::mt19937 rng(20261210);
    auto mutated = [&](QByteArray bytes) {
        const int edits = std::uniform_int_distribution<int>(1, 8)(rng);
        for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
            const int at = std::uniform_int_distribution<int>(0, bytes.size() - 1)(rng);
            switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
            case 0:
                bytes[at] = static_cast<char>(rng());
                break;
            case 1:
                bytes.remove(at, std::uniform_int_distribution<int>(1, 40)(rng));
                break;
            case 2:
                bytes.insert(at, QByteArray(std::uniform_int_distribution<int>(1, 5)(rng), "\r\n,.-#\xFF"[rng() % 7]));
                break;
            default:
                bytes.insert(at, bytes.mid(at, std::uniform_int_distribution<int>(1, 200)(rng)));
                break;
            }
        }
        return bytes;
    };
    auto random = [&] {
        QByteArray bytes(std::uniform_int_distribution<int>(0, 3000)(rng), Qt::Uninitialized);
        for (char& c : bytes)
            c = static_cast<char>(rng() % 4 == 0 ? "\r\n"[rng() % 2] : rng());
        return bytes;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int cases = 0;
    for (; cases < 3000 && std::chrono::steady_clock::now() < deadline; ++cases) {
        SCOPED_TRACE(cases);
        const bool fromSeed = cases % 3 != 0;
        folder.write(QStringLiteral("ZLV2.ini"), fromSeed ? mutated(settingsSeed) : random());
        folder.write(QStringLiteral("Language/Russian.txt"), fromSeed ? mutated(languageSeed) : random());
        folder.write(QStringLiteral("Favorites.dat"), random());
        folder.write(QStringLiteral("CacheList.dat"), random());

        const ProgramState state = ProgramState::load(folder.path());
        ASSERT_EQ(state.language->entries().size(), 215);
        loadBookmarks(folder.path());
        loadCacheList(folder.path());
        ASSERT_TRUE(saveSettings(state.settings, folder.path()));
        Settings again;
        LanguageTable language;
        loadSettings(again, language, folder.path());
        ASSERT_EQ(settingsLines(again), settingsLines(state.settings));
    }
    EXPECT_GE(cases, 300); // a slow machine still tries a good number
    std::printf("%d cases\n", cases);
}
