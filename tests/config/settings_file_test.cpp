#include "base/cp1251.h"
#include "base/text_file.h"
#include "config/program_folder.h"
#include "config/program_state.h"
#include "config/settings_file.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <set>

using namespace zelvano;

namespace {

// A settings file in which every setting differs from its default; written the way the program writes.
const QStringList kFixture = {
    "http://127.0.0.1:8080/kh?v=7&t=t",
    "c",
    "-",
    "-",
    "t",
    "p",
    "proxy.local",
    "3128",
    "Юзер",
    "pa ss", // 0-9
    "32",
    "1",
    "0",
    "-",
    "16",
    "700",
    "1000",
    "3",
    "40",
    "5", // 10-19
    "7",
    "9",
    "40",
    "/srv/tiles",
    "c",
    "12",
    "-33,8568",
    "-151,2153",
    "17",
    "-", // 20-29
    "12",
    "1",
    "300",
    "200",
    "v",
    "f",
    "-", // 30-36
    "5",
    "1",
    "400",
    "150",
    "v",
    "-",
    "-",
    "4", // 37-44
    "3",
    "2",
    "250",
    "260",
    "v",
    "-",
    "V",
    "2", // 45-52
    "700",
    "1000",
    "40",
    "60",
    "12",
    "-",
    "G",
    "z",
    "-",
    "M", // 53-62
    "-",
    "C",
    "90",
    "K",
    "2000",
    "3000",
    "/home/user/Карты",
    "g",
    "-",
    "i", // 63-72
    "-",
    "60",
    "D",
    "N",
    "-",
    "O",
    "http://127.0.0.1:8080/mt?x=",
    "http://127.0.0.1:8080/mth?x=",
    "M",
    "-", // 73-82
    "M",
    "-",
    "A",
    "Test.txt",
    " ",
    "S",
    "-33.85",
    "-151.2",
    "-33.9",
    "-151.25", // 83-92
    "http://127.0.0.1:8080/a/...?x",
    "http://127.0.0.1:8080/h/...?x",
    "http://127.0.0.1:8080/r/...?x",
    "L",
    "M", // 93-97
};

// The file a program with every setting at its default writes: the defaults of the settings table, line by
// line. The hosts in the request templates and the tool windows' places are the program's own design.
const QStringList kDefaults = {
    "http://khm.orbexa.com/kh?v=99&n=404&t=t",         // 0 primarySatelliteTemplate
    "-",                                               // 1 workMode cache only
    "-",                                               // 2 workMode internet only
    "ci",                                              // 3 workMode cache and internet
    "-",                                               // 4 showTimerDialog
    "-",                                               // 5 useProxy
    "",                                                // 6 proxyHost
    "",                                                // 7 proxyPort
    "",                                                // 8 proxyUser
    "",                                                // 9 proxyPassword
    "39",                                              // 10 1 + the position of the template's last "="
    "0",                                               // 11 searchLatHemisphere: N
    "1",                                               // 12 searchLonHemisphere: E
    "-",                                               // 13
    "1",                                               // 14 searchZoomIndex: zoom 2
    "564",                                             // 15 window height
    "792",                                             // 16 window width
    "7",                                               // 17 panelJpegIndex: 80%
    "115",                                             // 18 window top
    "3",                                               // 19 retryCount
    "3",                                               // 20 writeErrorLimit
    "3",                                               // 21 fetchErrorLimit
    "25",                                              // 22 badFileErrorLimit
    "",                                                // 23 cacheFolder
    "-",                                               // 24 useCacheFolder
    "1",                                               // 25 retryInterval
    "0",                                               // 26 viewLatitude
    "0",                                               // 27 viewLongitude
    "1",                                               // 28 viewZoom
    "e",                                               // 29 errorControl
    "-4",                                              // 30 TBToolWindow1: dockPos
    "0",                                               // 31 dockRow
    "0",                                               // 32 floatLeft
    "0",                                               // 33 floatTop
    "-",                                               // 34 vertical
    "-",                                               // 35 floating
    "2",                                               // 36 dockSide: bottom
    "0",                                               // 37 TBToolWindow2: dockPos
    "0",                                               // 38 dockRow
    "0",                                               // 39 floatLeft
    "0",                                               // 40 floatTop
    "-",                                               // 41 vertical
    "-",                                               // 42 floating
    "V",                                               // 43 visible
    "3",                                               // 44 dockSide: top
    "0",                                               // 45 TBToolWindow3: dockPos
    "1",                                               // 46 dockRow
    "0",                                               // 47 floatLeft
    "0",                                               // 48 floatTop
    "-",                                               // 49 vertical
    "-",                                               // 50 floating
    "V",                                               // 51 visible
    "3",                                               // 52 dockSide: top
    "564",                                             // 53 windowHeight
    "792",                                             // 54 windowWidth
    "115",                                             // 55 windowTop
    "183",                                             // 56 windowLeft
    "7",                                               // 57 jobZoomIndex: zoom 8
    "g",                                               // 58 autoGenerate
    "-",                                               // 59 autoGenerateReplace
    "-",                                               // 60 useExtraCaches
    "l",                                               // 61 showLogAuto
    "-",                                               // 62 calibMapInfo
    "O",                                               // 63 calibOzi
    "S",                                               // 64 mouseMode: the wheel zooms
    "70",                                              // 65 autoGenerateQuality
    "-",                                               // 66 stitchAddCoords
    "5000",                                            // 67 stitchPieceWidth
    "5000",                                            // 68 stitchPieceHeight
    QDir::tempPath(),                                  // 69 copyFolder: the system temp folder
    "-",                                               // 70 generateReplace
    "-",                                               // 71 jobWorkMode cache only
    "-",                                               // 72 jobWorkMode internet only
    "ci",                                              // 73 jobWorkMode cache and internet
    "80",                                              // 74 jobJpegQuality
    "-",                                               // 75 stitchSplit
    "-",                                               // 76 copyCalibrationOnly
    "Q",                                               // 77 primaryMirrors
    "-",                                               // 78 singleFolderCache
    "http://mt.orbexa.com/mt?n=404&v=w2.70&x=",        // 79 primaryMapTemplate
    "http://mt.orbexa.com/mt?n=404&v=w2t.70&x=",       // 80 primaryHybridTemplate
    "-",                                               // 81 viewMap
    "S",                                               // 82 viewSatellite
    "-",                                               // 83 jobMap
    "S",                                               // 84 jobSatellite
    "-",                                               // 85 calibArcGis
    "Russian.txt",                                     // 86 languageFile
    " ",                                               // 87
    "-",                                               // 88 calibSeeYou
    "0",                                               // 89 selectionTop
    "0",                                               // 90 selectionLeft
    "0",                                               // 91 selectionBottom
    "0",                                               // 92 selectionRight
    "http://a0.tiles.orbexa.net/tiles/a....jpeg?g=66", // 93 secondaryAerialTemplate
    "http://h0.tiles.orbexa.net/tiles/h....jpeg?g=66", // 94 secondaryHybridTemplate
    "http://r0.tiles.orbexa.net/tiles/r....jpeg?g=66", // 95 secondaryRoadTemplate
    "-",                                               // 96 useSecondaryService
    "-",                                               // 97 secondaryMirrors
};

QByteArray crlf(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toCp1251(line) + "\r\n";
    return bytes;
}

struct Load {
    Settings settings;
    SettingsLoadResult result;
    int languageLoads = 0;
};

// A program folder holding the given settings lines and a usable language file "Test.txt".
Load loadLines(const QStringList& lines, bool writeFile = true) {
    test::TempProgramFolder folder;
    QStringList texts;
    for (int i = 0; i < 215; ++i)
        texts.append(QStringLiteral("T%1").arg(i));
    folder.writeLines(QStringLiteral("Language/Test.txt"), texts);
    if (writeFile) folder.writeLines(QStringLiteral("ZLV2.ini"), lines);
    Load load;
    LanguageTable language;
    const auto relabel = language.subscribe([&] { ++load.languageLoads; });
    load.result = loadSettings(load.settings, language, folder.path());
    return load;
}

QStringList withLine(int n, const QString& text) {
    QStringList lines = kFixture;
    lines[n] = text;
    return lines;
}

} // namespace

TEST(SettingsFile, FixtureExercisesEveryLine) {
    ASSERT_EQ(kFixture.size(), kSettingsLineCount);
    ASSERT_EQ(kDefaults.size(), kSettingsLineCount);
    std::set<int> same;
    for (int n = 0; n < kSettingsLineCount; ++n)
        if (kDefaults[n] == kFixture[n]) same.insert(n);
    // A docked window keeps line "floating" at its default, and the saved selection needs its tool window visible.
    EXPECT_EQ(same, (std::set<int>{2, 13, 42, 50, 51, 71, 87}));
}

TEST(SettingsFile, EverySettingRoundTripsByteForByte) {
    const Load load = loadLines(kFixture);
    EXPECT_TRUE(load.result.fileRead);
    EXPECT_FALSE(load.result.stoppedAtLine);
    EXPECT_TRUE(load.result.selectionPresent);
    EXPECT_EQ(load.languageLoads, 1);

    const Settings& s = load.settings;
    EXPECT_EQ(s.workMode, WorkMode::CacheOnly);
    EXPECT_EQ(s.jobWorkMode, WorkMode::InternetOnly);
    EXPECT_EQ(s.proxyUser, QStringLiteral("Юзер"));
    EXPECT_EQ(s.viewLatitude, -33.8568);
    EXPECT_EQ(s.viewLongitude, -151.2153);
    EXPECT_EQ(s.selectionRight, -151.25);
    EXPECT_EQ(s.mouseMode, MouseMode::Click);
    EXPECT_EQ(s.toolWindowLayout[0], (ToolWindowLayout{12, 1, 300, 200, true, true, true, kLeftDock}));
    EXPECT_EQ(s.toolWindowLayout[1], (ToolWindowLayout{5, 1, 400, 150, true, false, false, kRightDock}));
    EXPECT_EQ(s.toolWindowLayout[2], (ToolWindowLayout{3, 2, 250, 260, true, false, true, kBottomDock}));
    EXPECT_TRUE(s.useSecondaryService && s.secondaryMirrors);
    EXPECT_EQ(s.languageFile, QStringLiteral("Test.txt"));
    EXPECT_EQ(cacheRoot(s, QStringLiteral("/prog")), QStringLiteral("/srv/tiles/"));
    EXPECT_EQ(cacheRoot(Settings{}, QStringLiteral("/prog")), QStringLiteral("/prog/Cache/"));

    test::TempProgramFolder other;
    ASSERT_TRUE(saveSettings(s, other.path()));
    EXPECT_EQ(other.read(QStringLiteral("ZLV2.ini")), crlf(kFixture));
}

TEST(SettingsFile, MissingFileGivesTheDefaults) {
    test::TempProgramFolder folder;
    Settings s;
    s.viewZoom = 9; // loading never resets what it does not read
    LanguageTable language;
    const SettingsLoadResult result = loadSettings(s, language, folder.path());
    EXPECT_FALSE(result.fileRead);
    EXPECT_EQ(s.viewZoom, 9);
    s.viewZoom = 1;
    const QStringList lines = settingsLines(s);
    for (int n = 0; n < kSettingsLineCount; ++n)
        EXPECT_EQ(lines[n], kDefaults[n]) << "line " << n;
    EXPECT_EQ(s.workMode, WorkMode::CacheAndInternet);
    EXPECT_TRUE(s.viewSatellite && !s.viewMap);
    EXPECT_TRUE(s.errorControl);
    EXPECT_EQ(std::tuple(s.retryCount, s.writeErrorLimit, s.fetchErrorLimit, s.badFileErrorLimit, s.retryInterval),
              std::tuple(3, 3, 3, 25, 1));
    EXPECT_EQ(std::tuple(s.jobZoomIndex, s.searchZoomIndex, s.viewLatitude, s.viewLongitude),
              std::tuple(7, 1, 0.0, 0.0));
    EXPECT_EQ(language.languageText(0), QStringLiteral("широта"));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Language/Russian.txt"))));
}

// Reading stops at the first line its order needs that the file lacks; the rest keep their defaults.
TEST(SettingsFile, ShortFilesApplyOnlyWhatComesBeforeTheFirstAbsentLine) {
    auto range = [](int from, int to) {
        std::set<int> s;
        for (int n = from; n <= to; ++n)
            s.insert(n);
        return s;
    };
    auto without = [](std::set<int> s, std::initializer_list<int> gone) {
        for (int n : gone)
            s.erase(n);
        return s;
    };
    struct Case {
        int lineCount;
        int stoppedAt;
        std::set<int> applied;
    };
    const Case cases[] = {
        {0, 0, {}},
        {53, 53, {0, 4, 5, 6, 7, 8, 9, 11, 12, 14}},
        {60, 60, without(range(0, 59), {1, 2, 3})},
        {92, 92, without(range(0, 91), {1, 2, 3})},
        {97, 97, range(0, 96)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lineCount);
        const Load load = loadLines(kFixture.mid(0, c.lineCount));
        EXPECT_EQ(load.result.stoppedAtLine, c.stoppedAt);
        // Lines written from other settings follow their source line.
        auto applied = [&](int n) {
            const std::map<int, int> source = {{10, 0}, {15, 53}, {16, 54}, {18, 55}};
            return c.applied.count(source.count(n) ? source.at(n) : n) > 0;
        };
        const QStringList lines = settingsLines(load.settings);
        for (int n = 0; n < kSettingsLineCount; ++n)
            EXPECT_EQ(lines[n], applied(n) ? kFixture[n] : kDefaults[n]) << "line " << n;
    }
}

TEST(SettingsFile, MalformedAndUnusualLines) {
    struct Case {
        int line;
        const char* text;
        std::optional<int> stoppedAt;
        std::function<void(const Load&)> check;
    };
    const Case cases[] = {
        {28,
         "x",
         {},
         [](const Load& l) {
             EXPECT_EQ(l.settings.viewZoom, 1);
             EXPECT_EQ(l.settings.workMode, WorkMode::CacheOnly);
         }},
        {26, "x", 26,
         [](const Load& l) {
             EXPECT_EQ(l.settings.viewZoom, 1);
             EXPECT_EQ(l.settings.retryInterval, 12);
         }},
        {26, "37.5", 26, [](const Load& l) { EXPECT_EQ(l.settings.viewLatitude, 0); }},
        {26, "37,5", {}, [](const Load& l) { EXPECT_EQ(l.settings.viewLatitude, 37.5); }},
        {89, "37,5", 89,
         [](const Load& l) {
             EXPECT_EQ(l.settings.languageFile, QStringLiteral("Test.txt"));
             EXPECT_EQ(l.languageLoads, 2); // after line 86, and again because reading stopped
             EXPECT_EQ(l.settings.workMode, WorkMode::CacheAndInternet);
             EXPECT_FALSE(l.result.selectionPresent);
         }},
        {1, "C", {}, [](const Load& l) { EXPECT_EQ(l.settings.workMode, WorkMode::CacheAndInternet); }},
        {5, "P", {}, [](const Load& l) { EXPECT_FALSE(l.settings.useProxy); }},
        {5, "p ", {}, [](const Load& l) { EXPECT_FALSE(l.settings.useProxy); }},
        {19, "abc", {}, [](const Load& l) { EXPECT_EQ(l.settings.retryCount, 3); }},
        {53, "abc", {}, [](const Load& l) { EXPECT_EQ(l.settings.windowHeight, 480); }},
        {54, "", {}, [](const Load& l) { EXPECT_EQ(l.settings.windowWidth, 640); }},
        {30, "x", {}, [](const Load& l) { EXPECT_EQ(l.settings.toolWindowLayout[0].dockPos, 0); }},
        {44, "7", {}, [](const Load& l) { EXPECT_EQ(l.settings.toolWindowLayout[1].dockSide, kLeftDock); }},
        {64, "s", {}, [](const Load& l) { EXPECT_EQ(l.settings.mouseMode, MouseMode::Click); }},
        {64, "S", {}, [](const Load& l) { EXPECT_EQ(l.settings.mouseMode, MouseMode::Wheel); }},
        {97,
         "-",
         {},
         [](const Load& l) { EXPECT_TRUE(l.settings.useSecondaryService && !l.settings.secondaryMirrors); }},
        {86,
         "Missing.txt",
         {},
         [](const Load& l) { EXPECT_EQ(l.settings.languageFile, QStringLiteral("Russian.txt")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << " \"" << c.text << "\"");
        const Load load = loadLines(withLine(c.line, QString::fromUtf8(c.text)));
        EXPECT_EQ(load.result.stoppedAtLine, c.stoppedAt);
        c.check(load);
    }
}

TEST(SettingsFile, SelectionComesBackOnlyWhenVisibleAndCornersDiffer) {
    struct Case {
        const char* label;
        int line;
        const char* text;
        bool present;
    };
    const Case cases[] = {
        {"as saved", 0, "http://127.0.0.1:8080/kh?v=7&t=t", true},
        {"tool window hidden", 51, "-", false},
        {"same latitudes", 91, "-33.85", false},
        {"same longitudes", 92, "-151.2", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(loadLines(withLine(c.line, QString::fromLatin1(c.text))).result.selectionPresent, c.present);
    }
}

TEST(SettingsFile, SavedFileShape) {
    Settings s;
    s.proxyPassword = QStringLiteral("two\r\nlines");
    const QStringList lines = settingsLines(s);
    ASSERT_EQ(lines.size(), 98);
    EXPECT_EQ(lines[10], QStringLiteral("39"));
    EXPECT_EQ(lines[13], QStringLiteral("-"));
    EXPECT_EQ(lines[87], QStringLiteral(" "));
    EXPECT_EQ(lines[9], QStringLiteral("two  lines"));
    EXPECT_EQ(lines.mid(1, 3), (QStringList{"-", "-", "ci"}));
    EXPECT_EQ(lines.mid(89, 4), (QStringList{"0", "0", "0", "0"}));

    test::TempProgramFolder folder;
    ASSERT_TRUE(saveSettings(s, folder.path()));
    const QByteArray bytes = folder.read(QStringLiteral("ZLV2.ini"));
    EXPECT_EQ(bytes.count("\r\n"), 98);
    EXPECT_EQ(bytes.count('\n'), 98);
    EXPECT_TRUE(bytes.endsWith("-\r\n"));
}

TEST(SettingsFile, ReadOnlyFileIsNeverReplaced) {
    test::TempProgramFolder folder;
    folder.writeLines(QStringLiteral("ZLV2.ini"), kFixture);
    const QString path = folder.file(QStringLiteral("ZLV2.ini"));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_FALSE(saveSettings(Settings{}, folder.path()));
    EXPECT_EQ(folder.read(QStringLiteral("ZLV2.ini")), crlf(kFixture));
}

// A copy in a writable folder of its own is portable; an installed one under /usr keeps its files in the
// user's folder even when it could write beside itself (as root can), and so does a read-only folder.
TEST(ProgramFolder, PortableOnlyOutsideTheSystem) {
    const test::TempProgramFolder folder;
    EXPECT_TRUE(isPortableFolder(folder.path()));
    EXPECT_FALSE(isPortableFolder(QStringLiteral("/usr/bin")));
    EXPECT_FALSE(isPortableFolder(QStringLiteral("/usr/local/bin/../bin")));
    QFile(folder.path()).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const bool writesAnywhere = QFileInfo(folder.path()).isWritable();
    if (!writesAnywhere) {
        EXPECT_FALSE(isPortableFolder(folder.path()));
    }
    QFile(folder.path()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The first start writes ReadMe.txt in code page 1251 beside the settings; a ReadMe of the user's stays.
TEST(ProgramFolder, ReadMeWrittenOnce) {
    const test::TempProgramFolder folder;
    writeReadMeIfMissing(folder.path());
    const QByteArray readMe = folder.read(QStringLiteral("ReadMe.txt"));
    EXPECT_TRUE(readMe.startsWith("Zelvano - \xEF\xF0\xEE\xF1\xEC\xEE\xF2\xF0"))
        << readMe.left(20).toHex().toStdString();
    EXPECT_TRUE(readMe.endsWith("\r\n"));
    folder.write(QStringLiteral("ReadMe.txt"), "mine");
    writeReadMeIfMissing(folder.path());
    EXPECT_EQ(folder.read(QStringLiteral("ReadMe.txt")), "mine");
}
