#include "cli/cli_run.h"
#include "config/settings_file.h"
#include "support/temp_program_folder.h"
#include "support/test_tile_server.h"
#include "support/tile_fixtures.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <atomic>
#include <csignal>

using namespace zelvano;
using test::CliRun;

namespace {

// The files under the folder's cache, relative to it.
QStringList cacheFiles(const test::TempProgramFolder& folder) {
    const QString root = folder.file(QStringLiteral("Cache"));
    QStringList out;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

class CliJobs : public ::testing::Test {
protected:
    CliJobs() {
        const QString base = server.base();
        settings.primarySatelliteTemplate = base + QStringLiteral("/kh?v=1&t=t");
        settings.primaryMapTemplate = base + QStringLiteral("/mt?v=m&x=");
        settings.primaryHybridTemplate = base + QStringLiteral("/mt?v=h&x=");
        settings.primaryMirrors = false;
        settings.retryCount = 1;
        settings.retryInterval = 0;
        settings.autoGenerate = false;
        settings.fetchErrorLimit = 1000;
        save();
        server.setFallback([this](const std::string&) { return test::ScriptedAnswer{200, tile}; });
    }
    void save() { ASSERT_TRUE(saveSettings(settings, folder.path())); }
    CliRun cli(const QStringList& args) { return test::cli(folder.path(), args); }

    test::TempProgramFolder folder;
    test::TestTileServer server;
    Settings settings;
    const QByteArray tile = test::jpegTile(3);
    const QStringList moscow = {"--zoom", "12", "--bbox", "37.5,55.65,37.75,55.8"};
};

// Tiles that fail are counted and named; the same download again fetches only what is still missing.
TEST_F(CliJobs, DownloadCountsFailuresAndFetchesOnlyWhatIsMissingAgain) {
    std::atomic<bool> faults = true;
    server.setFallback([&](const std::string& target) {
        if (faults && std::hash<std::string>{}(target) % 3 == 0) return test::ScriptedAnswer{404, "no", "text/plain"};
        return test::ScriptedAnswer{200, tile};
    });
    const CliRun first = cli(QStringList{"download"} + moscow + QStringList{"--connections", "3"});
    EXPECT_EQ(first.status, 1) << first.err.toStdString();
    const QJsonObject j = first.json();
    const int count = j["tileCount"].toInt();
    const int failed = j["failed"].toInt();
    ASSERT_GE(count, 9);
    ASSERT_GT(failed, 0);
    EXPECT_EQ(j["tilesDone"].toInt(), count);
    EXPECT_EQ(j["obtained"].toInt() + failed, count);
    EXPECT_EQ(j["fetchErrors"].toInt(), 3 * failed); // retryCount 1: three attempts
    EXPECT_EQ(j["skipped"].toInt(), 0);
    EXPECT_EQ(j["downloadedBytes"].toInt(), (count - failed) * tile.size());
    EXPECT_FALSE(j["cancelled"].toBool());
    EXPECT_EQ(cacheFiles(folder).size(), count - failed);
    const QString log = QString::fromUtf8(first.err);
    EXPECT_TRUE(log.contains(QStringLiteral("ошибка при получении 404 Not Found ")));
    EXPECT_TRUE(log.contains(QStringLiteral("\nВыкачано\n")));

    faults = false;
    const int asked = static_cast<int>(server.requests().size());
    const CliRun second = cli(QStringList{"download"} + moscow + QStringList{"--mode", "both"});
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_EQ(server.requests().size() - asked, failed);
    EXPECT_EQ(second.json()["obtained"].toInt(), count);
    EXPECT_EQ(cacheFiles(folder).size(), count);
}

// Without options the settings decide: the job level and the stored selection, in whichever order its
// corners were stored.
TEST_F(CliJobs, StoredSelectionAndJobLevel) {
    settings.jobZoomIndex = 11; // level 12
    settings.selectionTop = 55.65;
    settings.selectionBottom = 55.8;
    settings.selectionLeft = -37.5;
    settings.selectionRight = -37.75;
    save();
    const CliRun stored = cli({"download", "--mode", "cache"});
    const CliRun boxed = cli(QStringList{"download", "--mode", "cache"} + moscow.mid(0, 4));
    EXPECT_EQ(stored.status, 1); // cache only, nothing cached
    EXPECT_GT(stored.json()["tileCount"].toInt(), 0);
    EXPECT_EQ(stored.json()["failed"].toInt(), stored.json()["tileCount"].toInt());
    EXPECT_EQ(stored.json()["tileCount"].toInt(), boxed.json()["tileCount"].toInt());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(CliJobs, BadArgumentsExitWithStatusTwo) {
    const QList<QStringList> cases = {
        {"download"}, // no stored selection, no box
        {"download", "--bbox", "1,2,3"},
        {"download", "--bbox", "3,2,1,4"},
        {"download", "--bbox", "1,2,3,x"},
        {"download", "--bbox", "1,2,3,4", "--connections", "9"},
        {"download", "--bbox", "1,2,3,4", "--zoom", "25"},
        {"download", "--bbox", "1,2,3,4", "--layers", "roads"},
        {"generate", "--bbox", "1,2,3,4", "--replace", "--keep"},
        {"generate", "--bbox", "1,2,3,4", "--connections", "2"},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

// SIGINT cancels the job as the Cancel button does: its log line, the rest of the tiles left, the stored
// ones whole, and status 130.
TEST_F(CliJobs, InterruptCancelsTheJobAndLeavesEveryTileWhole) {
    server.setFallback([this](const std::string&) { return test::ScriptedAnswer{200, tile, "image/jpeg", 300}; });
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELVANO_HOME"), folder.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZELVANO_CLI), QStringList{"download", "--connections", "2"} + moscow);
    const QDeadlineTimer deadline(20000);
    while (server.requests().size() < 4 && !deadline.hasExpired())
        QThread::msleep(5); // the server's own threads answer; this only polls what they recorded
    ASSERT_GE(server.requests().size(), 4);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 130);
    const QJsonObject j = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const QString log = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(j["cancelled"].toBool());
    EXPECT_LT(j["tilesDone"].toInt(), j["tileCount"].toInt());
    EXPECT_TRUE(log.contains(QStringLiteral("Поступила команда Прекратить в "))) << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("\nВыкачано\n")));
    EXPECT_TRUE(log.contains(QStringLiteral("\nочистка памяти\n")));
    const QStringList files = cacheFiles(folder);
    EXPECT_EQ(files.size(), j["obtained"].toInt());
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        EXPECT_TRUE(f.endsWith(QStringLiteral(".jpg")));
        EXPECT_EQ(folder.read(QStringLiteral("Cache/") + f), tile);
    }
}

// Generation builds the parents of the box's tiles from the cache, without a request.
TEST_F(CliJobs, GenerateBuildsTheLevelsAbove) {
    const QStringList box = {"--zoom", "3", "--bbox", "-179.9,66.6,-90.1,85"}; // the four children of "tqq"
    ASSERT_EQ(cli(QStringList{"download"} + box).status, 0);
    const QStringList downloaded = cacheFiles(folder);
    ASSERT_EQ(downloaded.size(), 4);
    const int asked = static_cast<int>(server.requests().size());
    const CliRun run = cli(QStringList{"generate", "--keep"} + box);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json()["tileCount"].toInt(), 6);
    EXPECT_EQ(server.requests().size(), asked);
    EXPECT_EQ(cacheFiles(folder).size(), 5); // "tqq" itself; the levels above lack siblings
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("Генерация вышележащих слоев")));
}

// The download connections live in Zelvano.ini beside the settings file, which stays as it was.
TEST_F(CliJobs, ConnectionsSettingLivesInItsOwnFile) {
    const QByteArray lines = folder.read(QStringLiteral("ZLV2.ini"));
    EXPECT_EQ(cli({"settings"}).json()["downloadConnections"].toInt(), 2);
    const CliRun set = cli({"settings", "--set", "downloadConnections=5", "--save"});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("ZLV2.ini")), lines);
    EXPECT_TRUE(folder.read(QStringLiteral("Zelvano.ini")).contains("[download]\nconnections=5"));
    EXPECT_EQ(cli({"settings"}).json()["downloadConnections"].toInt(), 5);
    for (const char* bad : {"downloadConnections=0", "downloadConnections=9", "downloadConnections=two"})
        EXPECT_EQ(cli({"settings", "--set", bad}).status, 2) << bad;
    folder.write(QStringLiteral("Zelvano.ini"), "[download]\nconnections=99\n"); // edited by hand
    EXPECT_EQ(cli({"settings"}).json()["downloadConnections"].toInt(), 2);
}

// A stitch with every calibration file: the image and the files listed with full paths, and GDAL places
// the image where the box lies (to a pixel: the image ends on whole pixels).
TEST_F(CliJobs, StitchWritesTheImageAndItsCalibrationFiles) {
    const QString out = folder.file(QStringLiteral("area.jpg"));
    const CliRun run = cli(QStringList{"stitch", "--out", out, "--calib", "ozi,mapinfo,world,seeyou"} + moscow);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QStringList files;
    for (const QJsonValue v : run.json()["files"].toArray())
        files << QFileInfo(v.toString()).fileName();
    files.sort();
    EXPECT_EQ(files, (QStringList{"area.MDS", "area.jpg", "area.jpgw", "area.map", "area.prj", "area.tab"}));
    const QString log = QString::fromUtf8(run.err);
    EXPECT_TRUE(log.contains(QStringLiteral("\nСклеено в памяти\nначало сохранения\nфайл сохранен\n")));
    EXPECT_EQ(cacheFiles(folder).size(), run.json()["tileCount"].toInt()); // stitched tiles are cached too

    if (QStandardPaths::findExecutable(QStringLiteral("gdalinfo")).isEmpty())
        GTEST_SKIP() << "gdalinfo (Debian gdal-bin) is not installed";
    QProcess gdal;
    gdal.start(QStringLiteral("gdalinfo"), {QStringLiteral("-json"), out});
    ASSERT_TRUE(gdal.waitForFinished(60000));
    const QJsonObject info = QJsonDocument::fromJson(gdal.readAllStandardOutput()).object();
    const QJsonArray ul = info["cornerCoordinates"].toObject()["upperLeft"].toArray();
    const QJsonArray lr = info["cornerCoordinates"].toObject()["lowerRight"].toArray();
    ASSERT_EQ(ul.size(), 2);
    const double pixel = 360.0 / (256 << 12);
    EXPECT_NEAR(ul[0].toDouble(), 37.5, 1e-6);
    EXPECT_NEAR(ul[1].toDouble(), 55.8, 1e-6);
    EXPECT_NEAR(lr[0].toDouble(), 37.75, pixel);
    EXPECT_NEAR(lr[1].toDouble(), 55.65, pixel);
}

// A split into pieces of 256 × 256 with coordinates in the names: every piece a JPEG of its own, named
// by its column and row and its corner (the north-west corner of the corner's pixel), and one SeeYou
// index naming them all.
TEST_F(CliJobs, StitchSplitIntoPieces) {
    const QString out = folder.file(QStringLiteral("city.png"));
    const QStringList box = {"--zoom", "12", "--bbox", "37.5,55.75,37.6,55.8"};
    const CliRun run =
        cli(QStringList{"stitch", "--out", out, "--split", "256x256", "--coords-in-name", "--calib", "seeyou"} + box);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QStringList images;
    for (const QJsonValue v : run.json()["files"].toArray())
        if (v.toString().endsWith(QStringLiteral(".jpg"))) images << QFileInfo(v.toString()).fileName();
    ASSERT_GE(images.size(), 4);
    EXPECT_TRUE(
        images.filter(QRegularExpression(QStringLiteral("^city_x1y1_55,80\\d{3}_-37,49\\d{3}\\.jpg$"))).size() == 1)
        << images.join(u' ').toStdString();
    for (const QString& name : images)
        EXPECT_FALSE(QImage(folder.file(name)).isNull()) << name.toStdString();
    const QByteArray index = folder.read(QStringLiteral("city.MDS"));
    EXPECT_EQ(index.count("\r\n"), images.size());
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*_x*.MDS")}).isEmpty());
}

// The copy of the cached tiles, then calibration only; an area where nothing is cached copies nothing.
TEST_F(CliJobs, CopyTheCachedTiles) {
    ASSERT_EQ(cli(QStringList{"download"} + moscow).status, 0);
    const int cached = static_cast<int>(cacheFiles(folder).size());
    QDir().mkpath(folder.file(QStringLiteral("out")));
    const CliRun copy =
        cli(QStringList{"copy", "--to", folder.file(QStringLiteral("out")), "--calib", "world"} + moscow);
    ASSERT_EQ(copy.status, 0) << copy.err.toStdString();
    EXPECT_EQ(copy.json()["copied"].toInt(), cached);
    EXPECT_EQ(copy.json()["visited"].toInt(), cached);
    EXPECT_EQ(copy.json()["files"].toArray().size(), cached * 3); // tile, world file, .prj
    const CliRun only = cli(
        QStringList{"copy", "--to", folder.file(QStringLiteral("out")), "--calibration-only", "--calib", "mapinfo"} +
        moscow);
    ASSERT_EQ(only.status, 0);
    EXPECT_EQ(only.json()["copied"].toInt(), 0);
    EXPECT_EQ(only.json()["calibrated"].toInt(), cached);
    const CliRun elsewhere =
        cli({"copy", "--to", folder.file(QStringLiteral("out")), "--zoom", "12", "--bbox", "10,10,10.1,10.1"});
    EXPECT_EQ(elsewhere.status, 0);
    EXPECT_EQ(elsewhere.json()["copied"].toInt(), 0);
    EXPECT_GT(elsewhere.json()["visited"].toInt(), 0);
}

// Refused before anything is written: bad options, an image a JPEG cannot hold (with the advice to
// split), a missing folder. A calibration file that cannot be written abandons the job (status 1).
TEST_F(CliJobs, StitchAndCopyRefusals) {
    const QString out = folder.file(QStringLiteral("area.jpg"));
    const QList<QStringList> cases = {
        QStringList{"stitch"} + moscow,
        QStringList{"stitch", "--out", out, "--split", "100x100"} + moscow,
        QStringList{"stitch", "--out", out, "--calib", "gpx"} + moscow,
        QStringList{"stitch", "--out", out, "--quality", "0"} + moscow,
        QStringList{"stitch", "--out", folder.file(QStringLiteral("no/area.jpg"))} + moscow,
        QStringList{"stitch", "--out", out, "--zoom", "20", "--bbox", "37,55,37.1,55.1"},
        QStringList{"copy", "--to", folder.file(QStringLiteral("missing"))} + moscow,
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_TRUE(QString::fromUtf8(cli({"stitch", "--out", out, "--zoom", "20", "--bbox", "37,55,37.1,55.1"}).err)
                    .contains(QStringLiteral("Разбить на фрагменты размерами")));
    EXPECT_TRUE(server.requests().isEmpty());

    QDir().mkpath(folder.file(QStringLiteral("area.map"))); // where the map file would go
    const CliRun abandoned = cli(QStringList{"stitch", "--out", out, "--calib", "ozi"} + moscow);
    EXPECT_EQ(abandoned.status, 1);
    EXPECT_TRUE(abandoned.err.contains("area.map could not be written")) << abandoned.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_TRUE(server.requests().isEmpty());
}

// The English language file chosen from the command line speaks in every log line that follows.
TEST_F(CliJobs, EnglishLanguageFile) {
    const CliRun set = cli({"settings", "--set", "languageFile=English.txt", "--save"});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(cli({"settings"}).json()["languageFile"].toString(), QStringLiteral("English.txt"));
    const CliRun run = cli(QStringList{"download", "--mode", "cache"} + moscow);
    const QString log = QString::fromUtf8(run.err);
    EXPECT_TRUE(log.startsWith(QStringLiteral("Download command received "))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("\nList created ")));
    EXPECT_FALSE(log.contains(QStringLiteral("Выкачано")));
}
