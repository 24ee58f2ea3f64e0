// Stitching: `zelvano-cli stitch` (the stitch builder and the worker, from a warm cache) gluing 40 × 40
// tiles at level 12 into one 10 240 × 10 240 image, beside `vips arrayjoin` of the same tile files, pair by
// pair in the same run: JPEG at quality 80, then PNG. Prints the median wall time and peak memory of each
// and their ratios over five pairs. Run it with scripts/bench (vips comes from Debian's libvips-tools).
#include "base/headless_gui.h"
#include "geo/tile_math.h"
#include "tile_block.h"
#include "tile_server_process.h"
#include "tiles/tile_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

using namespace zelvano;

namespace {

constexpr int kSide = 40; // tiles across and down
constexpr int kPairs = 5;
constexpr int kLevel = 12;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Measured {
    double seconds = -1;
    double peakMb = 0;
    int status = -1;
};

// Runs the program to its end and takes the system's accounting of it: wall time and peak resident memory.
Measured measure(const QStringList& command) {
    std::vector<QByteArray> bytes;
    for (const QString& a : command)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    Measured m;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        clock_gettime(CLOCK_MONOTONIC, &end);
        m.seconds = (end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9;
        m.peakMb = usage.ru_maxrss / 1024.0;
        m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return m;
}

struct Block {
    QString bbox;
    QString tileFiles; // the cached tiles row by row, as vips arrayjoin takes them
};

Block block(const QString& home) {
    const bench::TileBlock tiles = bench::tileBlock(kLevel, kSide, kSide);
    const CacheLayout layout{home + QStringLiteral("/Cache/"), false};
    QStringList files;
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col)
            files << satellitePath(layout, {kLevel, tiles.corner.x + col, tiles.corner.y + row});
    return {tiles.bbox, files.join(u' ')};
}

void compare(const char* title, const QString& home, const Block& b, const QString& extension) {
    const QString ours = home + QStringLiteral("/ours.") + extension;
    const QString theirs = home + QStringLiteral("/vips.") + extension;
    qputenv("ZELVANO_HOME", home.toLocal8Bit());
    const QStringList stitch{
        QStringLiteral(ZELVANO_CLI), QStringLiteral("stitch"), QStringLiteral("--out"),     ours,
        QStringLiteral("--zoom"),    QString::number(kLevel),  QStringLiteral("--bbox"),    b.bbox,
        QStringLiteral("--mode"),    QStringLiteral("cache"),  QStringLiteral("--split"),   QStringLiteral("none"),
        QStringLiteral("--calib"),   QStringLiteral("none"),   QStringLiteral("--quality"), QStringLiteral("80")};
    const QString target = extension == QLatin1StringView("jpg") ? theirs + QStringLiteral("[Q=80]") : theirs;
    const QStringList vips{QStringLiteral("vips"),     QStringLiteral("arrayjoin"), b.tileFiles, target,
                           QStringLiteral("--across"), QString::number(kSide)};
    measure(stitch); // warm-up of both
    measure(vips);
    std::vector<double> ourTime, theirTime, ourMemory, theirMemory, timeRatio, memoryRatio;
    for (int i = 0; i < kPairs; ++i) {
        const Measured a = measure(stitch);
        const Measured v = measure(vips);
        if (a.status != 0 || v.status != 0) {
            std::printf("  a run failed: zelvano-cli %d, vips %d\n", a.status, v.status);
            return;
        }
        ourTime.push_back(a.seconds);
        theirTime.push_back(v.seconds);
        ourMemory.push_back(a.peakMb);
        theirMemory.push_back(v.peakMb);
        timeRatio.push_back(a.seconds / v.seconds);
        memoryRatio.push_back(a.peakMb / v.peakMb);
    }
    const double pixels = 256.0 * kSide * 256.0 * kSide;
    std::printf("%s\n", title);
    std::printf("  zelvano-cli stitch   %6.2f s  (%.2f … %.2f)  peak %6.0f MB  file %6.1f MB\n", median(ourTime),
                *std::min_element(ourTime.begin(), ourTime.end()), *std::max_element(ourTime.begin(), ourTime.end()),
                median(ourMemory), QFileInfo(ours).size() / 1048576.0);
    std::printf("  vips arrayjoin       %6.2f s  (%.2f … %.2f)  peak %6.0f MB  file %6.1f MB\n", median(theirTime),
                *std::min_element(theirTime.begin(), theirTime.end()),
                *std::max_element(theirTime.begin(), theirTime.end()), median(theirMemory),
                QFileInfo(theirs).size() / 1048576.0);
    std::printf("  time ratio           %6.2f  (median of the pairs; target at most 0.50)\n", median(timeRatio));
    std::printf("  memory ratio         %6.2f  (ours %.0f MB; target at most 2 B/pixel + 64 MB = %.0f MB)\n",
                median(memoryRatio), median(ourMemory), (2 * pixels + 64 * 1048576.0) / 1048576.0);
}

} // namespace

int main(int argc, char* argv[]) {
    prepareHeadlessGui();
    QGuiApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("vips")).isEmpty()) {
        std::printf("vips is not installed (Debian libvips-tools): nothing to compare with\n");
        return 1;
    }
    QProcess server;
    const int port = bench::startTileServer(server);
    if (port <= 0) return 1;
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    QTemporaryDir home(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-home-XXXXXX"));
    const Block b = block(home.path());
    const bool ready = bench::setUpHome(home.path(), base) &&
                       bench::runCli(home.path(), {QStringLiteral("download"), QStringLiteral("--zoom"),
                                                   QString::number(kLevel), QStringLiteral("--bbox"), b.bbox,
                                                   QStringLiteral("--layers"), QStringLiteral("sat")});
    server.kill();
    server.waitForFinished();
    if (!ready) {
        std::printf("the cache could not be filled\n");
        return 1;
    }
    std::printf("%d x %d tiles at level %d from a warm cache, %d pairs\n", kSide, kSide, kLevel, kPairs);
    compare("JPEG, quality 80", home.path(), b, QStringLiteral("jpg"));
    compare("PNG", home.path(), b, QStringLiteral("png"));
    return 0;
}
