#include "base/cp1251.h"
#include "cli/cli_run.h"
#include "config/settings_file.h"
#include "geo/tile_math.h"
#include "geo/tile_requests.h"
#include "support/silent_server.h"
#include "support/temp_program_folder.h"
#include "support/test_tile_server.h"
#include "support/tile_fixtures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <cmath>
#include <csignal>

using namespace zelvano;

namespace {

using test::CliRun;

CliRun cli(const test::TempProgramFolder& folder, const QStringList& args) {
    return test::cli(folder.path(), args);
}

} // namespace

// The web-map tile of a position by the textbook formula, independent of the program's own procedure.
TEST(CliLocate, FindsTheTileOfAPlaceAsWebMapsNumberIt) {
    test::TempProgramFolder folder;
    const double lat = -33.8568;
    const double lon = 151.2153;
    const CliRun run = cli(folder, {"locate", "--zoom", "17", "--lat", "-33.8568", "--lon", "151.2153"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject j = run.json();
    const double n = std::ldexp(1.0, 17);
    const double latRad = lat * M_PI / 180;
    const double fx = (lon + 180) / 360 * n;
    const double fy = (1 - std::log(std::tan(latRad) + 1 / std::cos(latRad)) / M_PI) / 2 * n;
    EXPECT_EQ(j["zoom"].toInt(), 17);
    EXPECT_EQ(j["x"].toInt(), static_cast<int>(fx));
    EXPECT_EQ(j["y"].toInt(), static_cast<int>(fy));
    EXPECT_NEAR(j["pixelColumn"].toInt(), 256 * (fx - std::floor(fx)), 1);
    EXPECT_NEAR(j["pixelRow"].toInt(), 256 * (fy - std::floor(fy)), 1);
    EXPECT_EQ(j["serviceZoom"].toInt(), 0);

    const QString name = j["name"].toString();
    ASSERT_EQ(name.size(), 18);
    EXPECT_EQ(name.front(), u't');
    EXPECT_EQ(name[1], u's'); // south-east quarter
    QString quadkey;
    for (QChar c : name.mid(1))
        quadkey += QChar(u"0132"[QStringLiteral("qrst").indexOf(c)]);
    EXPECT_EQ(j["quadkey"].toString(), quadkey);
    const QString xy = QStringLiteral("x=%1&y=%2&zoom=0").arg(j["x"].toInt()).arg(j["y"].toInt());
    EXPECT_EQ(j["satelliteRequest"].toString(), "http://khm.orbexa.com/kh?v=99&n=404&t=" + name);
    EXPECT_EQ(j["mapRequest"].toString(), "http://mt.orbexa.com/mt?n=404&v=w2.70&" + xy);
    EXPECT_EQ(j["hybridRequest"].toString(), "http://mt.orbexa.com/mt?n=404&v=w2t.70&" + xy);
    EXPECT_EQ(j["secondaryAerialRequest"].toString(), "http://a0.tiles.orbexa.net/tiles/a" + quadkey + ".jpeg?g=66");
}

TEST(CliLocate, UsesTheTemplatesOfTheProgramFolder) {
    test::TempProgramFolder folder;
    folder.write(QStringLiteral("ZLV2.ini"), "http://127.0.0.1:9/sat?t=t\r\n");
    const CliRun run = cli(folder, {"locate", "--zoom=3", "--lat=0", "--lon=0"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json()["satelliteRequest"].toString(), QStringLiteral("http://127.0.0.1:9/sat?t=tqss"));
    EXPECT_EQ(run.json()["name"].toString(), QStringLiteral("tqss"));
}

TEST(CliLocate, BadArgumentsExitWithStatusTwo) {
    const QList<QStringList> cases = {
        {"locate", "--zoom", "0", "--lat", "1", "--lon", "1"},
        {"locate", "--zoom", "25", "--lat", "1", "--lon", "1"},
        {"locate", "--zoom", "abc", "--lat", "1", "--lon", "1"},
        {"locate", "--zoom", "3", "--lat", "north", "--lon", "1"},
        {"locate", "--zoom", "3", "--lat", "1"},
        {"locate", "--zoom", "3", "--lat", "89", "--lon", "1"},
        {"locate", "--zoom", "3", "--lat", "1", "--lon", "181"},
        {"locate", "--zoom", "3", "--lat", "1", "--lon", "nan"},
        {"locate", "--zoom", "3", "--lat", "1", "--lon", "1", "--colour", "red"},
        {"locate", "--zoom"},
        {"teleport"},
        {},
    };
    test::TempProgramFolder folder;
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun run = cli(folder, args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("zelvano-cli: ") || args.isEmpty()) << run.err.toStdString();
    }
}

TEST(CliSettings, PrintsTheEffectiveSettingsOfAFreshFolder) {
    test::TempProgramFolder folder;
    const CliRun run = cli(folder, {"settings"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject j = run.json();
    EXPECT_EQ(j["workMode"].toString(), QStringLiteral("cacheAndInternet"));
    EXPECT_EQ(j["jobWorkMode"].toString(), QStringLiteral("cacheAndInternet"));
    EXPECT_EQ(j["viewZoom"].toInt(), 1);
    EXPECT_EQ(j["errorControl"].toBool(), true);
    EXPECT_EQ(j["languageFile"].toString(), QStringLiteral("Russian.txt"));
    EXPECT_EQ(j["mouseMode"].toString(), QStringLiteral("S"));
    const QJsonArray layout = j["toolWindowLayout"].toArray();
    ASSERT_EQ(layout.size(), 3);
    EXPECT_EQ(layout[0].toObject()["dockPos"].toInt(), -4);
    EXPECT_FALSE(layout[0].toObject().contains("visible"));
    EXPECT_EQ(layout[2].toObject()["dockRow"].toInt(), 1);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Language/Russian.txt"))));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("ZLV2.ini"))));
    // Every stored setting has its key: 98 lines less 6 written-only ones, the 2 x 3 work-mode lines as
    // 2 keys and the 23 tool-window lines as 1; and the download connections of Zelvano.ini.
    EXPECT_EQ(j.size(), 98 - 6 - 6 + 2 - 23 + 1 + 1);
}

TEST(CliSettings, SaveWritesTheFileBackAndReportsFailure) {
    test::TempProgramFolder folder;
    QStringList lines(98, QStringLiteral("-"));
    lines[0] = QStringLiteral("http://127.0.0.1:9/sat?t=t");
    lines[1] = QStringLiteral("c");
    lines[26] = QStringLiteral("12,5");
    lines[27] = QStringLiteral("-7,25");
    lines[28] = QStringLiteral("9");
    lines[86] = QStringLiteral("Russian.txt");
    for (int n : {89, 90, 91, 92})
        lines[n] = QStringLiteral("0");
    folder.writeLines(QStringLiteral("ZLV2.ini"), lines);

    CliRun run = cli(folder, {"settings", "--save"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json()["workMode"].toString(), QStringLiteral("cacheOnly"));
    EXPECT_EQ(run.json()["viewLatitude"].toDouble(), 12.5);
    EXPECT_EQ(run.json()["viewLongitude"].toDouble(), -7.25);
    const QByteArray saved = folder.read(QStringLiteral("ZLV2.ini"));
    EXPECT_EQ(saved.count("\r\n"), 98);
    EXPECT_TRUE(saved.startsWith("http://127.0.0.1:9/sat?t=t\r\nc\r\n-\r\n-\r\n"));
    EXPECT_TRUE(saved.contains("\r\n12,5\r\n-7,25\r\n9\r\n"));

    QFile::setPermissions(folder.file(QStringLiteral("ZLV2.ini")), QFileDevice::ReadOwner);
    run = cli(folder, {"settings", "--save"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("Запись файла ZLV.ini невозможна")));
    EXPECT_EQ(folder.read(QStringLiteral("ZLV2.ini")), saved);
}

class CliFetch : public ::testing::Test {
protected:
    CliFetch() {
        Settings s;
        const QString base = server.base();
        s.primarySatelliteTemplate = base + QStringLiteral("/kh?v=1&t=t");
        s.primaryMapTemplate = base + QStringLiteral("/mt?v=m&x=");
        s.primaryHybridTemplate = base + QStringLiteral("/mt?v=h&x=");
        s.secondaryAerialTemplate = base + QStringLiteral("/tiles/a...jpeg");
        saveSettings(s, folder.path());
        const geo::TileId id = geo::LocateTile(3, -20, 10).tile();
        tile = {geo::satelliteRequest(s.primarySatelliteTemplate, id), geo::mapRequest(s.primaryMapTemplate, id),
                id.name(), id.quadkey()};
    }
    QString target(const QString& request) const { return request.mid(server.base().size()); }

    test::TempProgramFolder folder;
    test::TestTileServer server;
    struct {
        QString satellite;
        QString map;
        QString name;
        QString quadkey;
    } tile;
    const QStringList where = {"fetch", "--zoom", "3", "--lat", "10", "--lon", "20"};
};

TEST_F(CliFetch, FetchesOneTileAsADownloadJobDoes) {
    const QByteArray jpeg = test::jpegTile(1);
    server.answer(target(tile.satellite), {200, jpeg});
    const CliRun run = cli(folder, where + QStringList{"--layers", "sat", "--mode", "internet"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QJsonObject j = run.json();
    EXPECT_TRUE(j["ok"].toBool());
    EXPECT_EQ(j["satPath"].toString(), folder.file(QStringLiteral("Cache/kh/04/") + tile.name + ".jpg"));
    EXPECT_EQ(folder.read(QStringLiteral("Cache/kh/04/") + tile.name + ".jpg"), jpeg);
    EXPECT_EQ(j["downloadedBytes"].toInt(), jpeg.size());
    EXPECT_EQ(j["fetchErrors"].toInt() + j["writeErrors"].toInt() + j["badFileErrors"].toInt(), 0);

    // Cache only, from the cache: no request.
    const CliRun again = cli(folder, where + QStringList{"--mode", "cache"});
    EXPECT_EQ(again.status, 0);
    EXPECT_FALSE(again.json()["satPending"].toBool());
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(CliFetch, ReportsAFailedTileWithItsLogLine) {
    const CliRun run = cli(folder, where);
    EXPECT_EQ(run.status, 1);
    const QJsonObject j = run.json();
    EXPECT_FALSE(j["ok"].toBool());
    EXPECT_EQ(j["fetchErrors"].toInt(), 1);
    EXPECT_EQ(QString::fromUtf8(run.err).trimmed(),
              QStringLiteral("ошибка при получении 404 Not Found ") + tile.satellite);
}

TEST_F(CliFetch, SecondaryServiceAndMapLayer) {
    const QString key = tile.quadkey;
    server.answer(QStringLiteral("/tiles/a") + key + QStringLiteral("jpeg"), {200, test::jpegTile(2)});
    CliRun run = cli(folder, where + QStringList{"--secondary", "--layers", "sat"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(
        run.json()["satPath"].toString().endsWith(QStringLiteral("/virtualearth/vea/04/") + tile.name + ".jpg"));

    server.answer(target(tile.map), {200, test::pngTile(Qt::white, false), "image/png"});
    run = cli(folder, where + QStringList{"--layers", "map"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(run.json()["mapPath"].toString()));

    for (const QStringList& bad : {QStringList{"--layers", "roads"}, QStringList{"--mode", "offline"}}) {
        SCOPED_TRACE(bad.join(u' ').toStdString());
        EXPECT_EQ(cli(folder, where + bad).status, 2);
    }
}

// SIGINT or SIGTERM while a transfer hangs: the tile is given up at once, the JSON still comes, and the
// exit status tells which signal it was.
TEST(CliFetchStop, SignalsStopAHangingTransfer) {
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(signal);
        test::TempProgramFolder folder;
        test::SilentServer silent;
        Settings s;
        s.primarySatelliteTemplate = silent.base() + QStringLiteral("/kh?v=1&t=t");
        ASSERT_TRUE(saveSettings(s, folder.path()));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZELVANO_HOME"), folder.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZELVANO_CLI), {"fetch", "--zoom", "3", "--lat", "10", "--lon", "20"});
        ASSERT_TRUE(silent.waitForConnections(1, 20000));
        ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(20000)); // the transfer's own timeout is 60 s
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), status);
        const QJsonObject j = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        EXPECT_EQ(j["error"].toString(), QStringLiteral("stopped"));
        EXPECT_FALSE(j["ok"].toBool());
        EXPECT_FALSE(QFile::exists(j["satPath"].toString()));
    }
}

// The same total and read-out as the window's measuring tool, points in ordinary degrees, east positive.
TEST(CliMeasure, LengthOfAPathAndItsReadOut) {
    test::TempProgramFolder folder;
    struct Case {
        QStringList points;
        double metres;
        const char* text;
    };
    const Case cases[] = {
        {{"0,0", "0,1"}, 111319.49, "111,319km"},
        {{"0,0", "1,0"}, 110574.36, "110,574km"},
        {{"0,0", "0,1", "0,0"}, 2 * 111319.49, "222,639km"},
        {{"0,0", "0,0.008"}, 890.56, "890,56m"},
        {{"10.5,20", "10.5,20"}, 0, "0,00m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.points.join(u' ').toStdString());
        const CliRun run = cli(folder, QStringList{"measure"} + c.points);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_NEAR(run.json()["metres"].toDouble(), c.metres, 0.01);
        EXPECT_EQ(run.json()["text"].toString(), QString::fromUtf8(c.text));
    }
    for (const QStringList& bad : {QStringList{"measure", "0,0"}, QStringList{"measure", "0,0", "north,east"},
                                   QStringList{"measure", "0,0", "91,0"}, QStringList{"measure", "0,0", "1;2"}}) {
        SCOPED_TRACE(bad.join(u' ').toStdString());
        const CliRun run = cli(folder, bad);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("zelvano-cli: ")) << run.err.toStdString();
    }
}
