// Fetch throughput: 2000 tiles from zelvano-tileserver on loopback through FetchTile in job mode, as a
// download job fetches them (checked, stored, checked to decode), beside the same 2000 requests made by one
// curl process with keep-alive, writing to /dev/null and to one file per tile. Run it with scripts/bench.
#include "base/headless_gui.h"
#include "config/language_table.h"
#include "geo/tile_math.h"
#include "tile_server_process.h"
#include "tiles/tile_fetcher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace zelvano;

namespace {

constexpr int kTiles = 2000;

double runCurl(const QString& configPath) {
    QElapsedTimer timer;
    timer.start();
    QProcess curl;
    curl.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("--config"), configPath});
    curl.waitForFinished(600000);
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    prepareHeadlessGui();
    QGuiApplication app(argc, argv);
    QProcess server;
    const int port = bench::startTileServer(server);
    if (port <= 0) {
        std::fprintf(stderr, "cannot start zelvano-tileserver\n");
        return 1;
    }
    // The cache lives in a program folder beside the benchmark, as it does beside the program.
    QTemporaryDir home(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-home-XXXXXX"));
    auto language = std::make_shared<LanguageTable>();
    QString languageFile = QStringLiteral("Russian.txt");
    language->loadLanguage(home.path(), languageFile);

    FetchSettings settings;
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    settings.templates = {base + QStringLiteral("/kh?v=99&n=404&t=t"),
                          base + QStringLiteral("/mt?n=404&v=w2.70&x="),
                          base + QStringLiteral("/mt?n=404&v=w2t.70&x="),
                          {},
                          {},
                          {}};
    settings.layout = {home.path() + QStringLiteral("/Cache/"), false};
    settings.autoGenerate = false;

    // 2000 tiles of a 50 x 40 block at level 12 over central Europe.
    std::vector<jtype> records;
    const geo::TileId corner = geo::LocateTile(12, -5.0, 52.0).tile();
    for (int row = 0; row < 40; ++row)
        for (int col = 0; col < 50; ++col)
            records.push_back(
                makeTileRecord({corner.level, corner.x + col, corner.y + row}, settings.templates, settings.layout));

    // curl fetching into /dev/null, and curl storing each tile in a file of its own as the cache does.
    auto curlConfig = [&](const QString& name, const QString& outputFolder) {
        const QString path = home.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        int n = 0;
        for (const jtype& r : records) {
            const QString output = outputFolder.isEmpty() ? QStringLiteral("/dev/null")
                                                          : outputFolder + QStringLiteral("/%1.jpg").arg(n++);
            f.write("url = \"" + r.satRequest.toUtf8() + "\"\noutput = \"" + output.toUtf8() + "\"\n");
        }
        return path;
    };
    const QString toNull = curlConfig(QStringLiteral("null.conf"), {});
    QDir(home.path()).mkdir(QStringLiteral("curl-files"));
    const QString toFiles = curlConfig(QStringLiteral("files.conf"), home.filePath(QStringLiteral("curl-files")));
    runCurl(toNull); // the server renders and keeps every tile once, so the runs below are served alike
    const double curlSeconds = runCurl(toNull);
    const double curlFilesSeconds = runCurl(toFiles);

    const FetchContext context{std::make_shared<const FetchSettings>(settings),
                               std::make_shared<FetchShared>(language)};
    FetchOptions job = fetchOptions(FetchMode::JobWorker, LayerChoice{}, WorkMode::CacheAndInternet);
    job.pictureNeeded = false; // a download job: it checks each tile and lets the picture go
    int obtained = 0;
    QElapsedTimer timer;
    timer.start();
    for (jtype& r : records) {
        obtained += FetchTile(r, job, context).usable ? 1 : 0;
    }
    const double fetchSeconds = timer.nsecsElapsed() / 1e9;
    closeThreadConnections();
    server.kill();
    server.waitForFinished();

    const double curlRate = kTiles / curlSeconds;
    const double fetchRate = kTiles / fetchSeconds;
    std::printf("cache folder                %s\n", qPrintable(settings.layout.root));
    std::printf("tiles                       %d (obtained %d, %.1f MB)\n", kTiles, obtained,
                context.shared->meter.total() / 1048576.0);
    std::printf("curl, one process          %8.0f tiles/s  (%.3f s)\n", curlRate, curlSeconds);
    std::printf("curl, one file per tile    %8.0f tiles/s  (%.3f s)\n", kTiles / curlFilesSeconds, curlFilesSeconds);
    std::printf("FetchTile, job mode        %8.0f tiles/s  (%.3f s)\n", fetchRate, fetchSeconds);
    std::printf("ratio FetchTile / curl     %8.2f  (target at least 0.80)\n", fetchRate / curlRate);
    std::printf("ratio to curl with files   %8.2f\n", fetchRate * curlFilesSeconds / kTiles);
    return obtained == kTiles ? 0 : 1;
}
