// Redraw of a 1920 x 1080 view: the drawing pass alone from a warm cache, beside decoding the same tiles
// with QImage alone; then a cold view filled in by the view loader from zelvano-tileserver, with the
// longest stall of the UI thread's event loop while the loader works. Run it with scripts/bench.
#include "base/headless_gui.h"
#include "config/language_table.h"
#include "tile_server_process.h"
#include "view/view_session.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace zelvano;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    prepareHeadlessGui();
    QGuiApplication app(argc, argv);
    QProcess server;
    const int port = bench::startTileServer(server);
    if (port <= 0) return 1;
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
    auto fetchSettings = std::make_shared<const FetchSettings>(settings);
    ViewSession session(language);

    DrawPassInput input;
    input.centre = {{48.0, -10.0}, 12};
    input.size = QSize(1920, 1080);
    input.options = fetchOptions(FetchMode::DrawingPass, LayerChoice{}, WorkMode::CacheAndInternet);
    input.buttonFace = QColor(240, 240, 240);

    session.backBuffer()->resize(input.size); // as the window has it before its first pass
    // Cold: the pass shows placeholders, the loader fetches and draws every tile.
    QElapsedTimer cold;
    cold.start();
    const DrawPassResult first = session.refresh(input, fetchSettings);
    const double coldPassMs = cold.nsecsElapsed() / 1e6;
    qint64 lastRepaintNs = 0;
    QObject::connect(&session, &ViewSession::tilesArrived, [&] { lastRepaintNs = cold.nsecsElapsed(); });
    QElapsedTimer tick;
    qint64 longestStallNs = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longestStallNs = std::max(longestStallNs, tick.nsecsElapsed());
        tick.restart();
    });
    tick.start();
    probe.start();
    while (session.runningLoaders() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents(); // the last repaint request
    probe.stop();

    // Warm: the same view from the cache, and the same tiles decoded by QImage alone.
    std::vector<double> passMs;
    std::vector<double> decodeMs;
    std::vector<QString> paths;
    for (const jtype& r : first.queue)
        paths.push_back(r.satPath);
    for (int round = 0; round < 15; ++round) {
        QElapsedTimer t;
        t.start();
        const DrawPassResult& warm = session.refresh(input, fetchSettings);
        passMs.push_back(t.nsecsElapsed() / 1e6);
        if (!warm.queue.empty()) std::fprintf(stderr, "warm pass left %zu tiles\n", warm.queue.size());
        t.restart();
        for (const QString& path : paths) {
            QImage image(path);
            if (image.isNull()) std::fprintf(stderr, "cannot decode %s\n", qPrintable(path));
        }
        decodeMs.push_back(t.nsecsElapsed() / 1e6);
    }
    closeThreadConnections();
    server.kill();
    server.waitForFinished();

    std::printf("view                         1920 x 1080 at level 12, %d tiles\n", first.visited);
    std::printf("cold: drawing pass           %8.1f ms (placeholders)\n", coldPassMs);
    std::printf("cold: until the last repaint %8.1f ms (loader from zelvano-tileserver)\n", lastRepaintNs / 1e6);
    std::printf("cold: longest UI stall       %8.1f ms while the loader worked\n", longestStallNs / 1e6);
    std::printf("warm: drawing pass           %8.1f ms (median of 15)\n", median(passMs));
    std::printf("warm: QImage decode alone    %8.1f ms (median of 15)\n", median(decodeMs));
    std::printf("ratio pass / decode          %8.2f  (target at most 1.50)\n", median(passMs) / median(decodeMs));
    return 0;
}
