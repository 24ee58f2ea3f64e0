// Download jobs: `zelvano-cli download` (the job builder and worker) over 2000 tiles from zelvano-tileserver
// into an empty cache, beside curl writing the same 2000 tiles to one file each with keep-alive, pair by
// pair in the same run: on plain loopback with one connection against sequential curl, and with the server
// waiting 30 ms before every answer with four connections against curl --parallel --parallel-max 4.
// Prints the median rates and ratios of five pairs. Run it with scripts/bench.
#include "base/headless_gui.h"
#include "geo/tile_math.h"
#include "tile_block.h"
#include "tile_server_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zelvano;

namespace {

constexpr int kColumns = 50;
constexpr int kRows = 40;
constexpr int kTiles = kColumns * kRows;
constexpr int kPairs = 5;
constexpr int kLevel = 12;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Area {
    QString bbox; // WEST,SOUTH,EAST,NORTH
    QStringList satelliteUrls;
};

// A 50 x 40 block of tiles at level 12 and the addresses curl fetches them by.
Area area(const QString& base) {
    const bench::TileBlock block = bench::tileBlock(kLevel, kColumns, kRows);
    Area a;
    a.bbox = block.bbox;
    for (int col = 0; col < kColumns; ++col)
        for (int row = 0; row < kRows; ++row)
            a.satelliteUrls << base + QStringLiteral("/kh?v=99&n=404&t=") +
                                   geo::TileId{kLevel, block.corner.x + col, block.corner.y + row}.name();
    return a;
}

// One download into an empty cache; seconds, or -1 when not every tile arrived.
double runDownload(const QString& home, const Area& a, int connections) {
    QDir(home + QStringLiteral("/Cache")).removeRecursively();
    QProcess cli;
    cli.setProcessEnvironment(bench::homeEnvironment(home));
    cli.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    cli.start(QStringLiteral(ZELVANO_CLI),
              {QStringLiteral("download"), QStringLiteral("--zoom"), QString::number(kLevel), QStringLiteral("--bbox"),
               a.bbox, QStringLiteral("--mode"), QStringLiteral("internet"), QStringLiteral("--layers"),
               QStringLiteral("sat"), QStringLiteral("--connections"), QString::number(connections)});
    cli.waitForFinished(600000);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const QJsonObject j = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    if (j[QStringLiteral("obtained")].toInt() != kTiles || j[QStringLiteral("tileCount")].toInt() != kTiles) {
        std::fprintf(stderr, "download: %s\n", QJsonDocument(j).toJson(QJsonDocument::Compact).constData());
        return -1;
    }
    return seconds;
}

double runCurl(const QString& home, const Area& a, int parallel) {
    const QString folder = home + QStringLiteral("/curl-files");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString config = home + QStringLiteral("/curl.conf");
    QFile f(config);
    f.open(QIODevice::WriteOnly);
    for (int i = 0; i < a.satelliteUrls.size(); ++i)
        f.write("url = \"" + a.satelliteUrls[i].toUtf8() + "\"\noutput = \"" +
                (folder + QStringLiteral("/%1.jpg").arg(i)).toUtf8() + "\"\n");
    f.close();
    QStringList args{QStringLiteral("-s"), QStringLiteral("--config"), config};
    if (parallel > 1)
        args << QStringLiteral("--parallel") << QStringLiteral("--parallel-max") << QString::number(parallel);
    QElapsedTimer timer;
    timer.start();
    QProcess curl;
    curl.start(QStringLiteral("curl"), args);
    curl.waitForFinished(600000);
    return timer.nsecsElapsed() / 1e9;
}

bool compare(const char* title, const QStringList& serverArgs, int connections, double target) {
    QProcess server;
    const int port = bench::startTileServer(server, serverArgs);
    if (port <= 0) return false;
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    QTemporaryDir home(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-home-XXXXXX"));
    if (!bench::setUpHome(home.path(), base)) return false;
    const Area a = area(base);
    runCurl(home.path(), a, connections); // the server renders and keeps every tile once
    std::vector<double> job, curl, ratio;
    for (int i = 0; i < kPairs; ++i) {
        const double j = runDownload(home.path(), a, connections);
        const double c = runCurl(home.path(), a, connections);
        if (j < 0) return false;
        job.push_back(kTiles / j);
        curl.push_back(kTiles / c);
        ratio.push_back(c / j);
    }
    server.kill();
    server.waitForFinished();
    std::printf("%s\n", title);
    std::printf("  zelvano-cli download      %8.0f tiles/s  (median of %d; %.0f … %.0f)\n", median(job), kPairs,
                *std::min_element(job.begin(), job.end()), *std::max_element(job.begin(), job.end()));
    std::printf("  curl, one file per tile   %8.0f tiles/s\n", median(curl));
    std::printf("  ratio download / curl     %8.2f  (median of the pairs; target at least %.2f)\n", median(ratio),
                target);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    prepareHeadlessGui();
    QGuiApplication app(argc, argv);
    std::printf("tiles per run               %d at level %d, an empty cache each run\n", kTiles, kLevel);
    const bool ok = compare("loopback, 1 connection, curl sequential", {}, 1, 0.8) &&
                    compare("server waits 30 ms, 4 connections, curl --parallel-max 4",
                            {QStringLiteral("--delay-ms"), QStringLiteral("30")}, 4, 0.9);
    return ok ? 0 : 1;
}
