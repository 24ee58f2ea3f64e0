// Redraw of a 1920 x 1080 view: a cold view filled in by the view loader from zelvano-tileserver, with the
// longest stall of the UI thread's event loop while the loader works, and again with two busy processes on
// the machine; then the drawing pass alone from a warm cache, beside decoding the same tiles with
// TurboJPEG alone and with QImage alone. Run it with scripts/bench.
#include "base/headless_gui.h"
#include "config/language_table.h"
#include "tile_server_process.h"
#include "tiles/imaging.h"
#include "view/view_session.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace zelvano;

namespace {

struct ColdRun {
    DrawPassResult pass;
    double passMs = 0;
    double lastRepaintMs = 0;
    double longestStallMs = 0;
};

// A view the cache does not have yet: the pass shows placeholders, the loader fetches and draws every tile
// while the UI thread's event loop runs.
ColdRun coldView(ViewSession& session, const DrawPassInput& input, std::shared_ptr<const FetchSettings> settings) {
    ColdRun run;
    session.backBuffer()->resize(input.size); // as the window has it before its first pass
    QElapsedTimer cold;
    cold.start();
    run.pass = session.refresh(input, std::move(settings));
    run.passMs = cold.nsecsElapsed() / 1e6;
    qint64 lastRepaintNs = 0;
    const auto connection =
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
    while (session.runningLoaders() > 0) // asleep between events, as a window's event loop is
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents(); // the last repaint request
    QObject::disconnect(connection);
    run.lastRepaintMs = lastRepaintNs / 1e6;
    run.longestStallMs = longestStallNs / 1e6;
    return run;
}

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

    const ColdRun idle = coldView(session, input, fetchSettings);

    // The same size of view over tiles neither the cache nor the server has drawn, with two busy processes
    // taking both cores of a two-core machine.
    std::vector<std::unique_ptr<QProcess>> busy;
    for (int i = 0; i < 2; ++i) {
        busy.push_back(std::make_unique<QProcess>());
        busy.back()->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        busy.back()->waitForStarted();
    }
    DrawPassInput elsewhere = input;
    elsewhere.centre = {{40.0, 75.0}, 12};
    const ColdRun loaded = coldView(session, elsewhere, fetchSettings);
    for (auto& p : busy) {
        p->kill();
        p->waitForFinished();
    }

    // Warm: the same view from the cache, and the same tiles decoded alone by TurboJPEG (the decoder the
    // pass uses) and by QImage.
    std::vector<double> passMs;
    std::vector<double> turboMs;
    std::vector<double> qimageMs;
    std::vector<QString> paths;
    for (const jtype& r : idle.pass.queue)
        paths.push_back(r.satPath);
    for (int round = 0; round < 15; ++round) {
        QElapsedTimer t;
        t.start();
        const DrawPassResult& warm = session.refresh(input, fetchSettings);
        passMs.push_back(t.nsecsElapsed() / 1e6);
        if (!warm.queue.empty()) std::fprintf(stderr, "warm pass left %zu tiles\n", warm.queue.size());
        t.restart();
        for (const QString& path : paths) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            if (decodeImage(file.readAll()).isNull()) std::fprintf(stderr, "cannot decode %s\n", qPrintable(path));
        }
        turboMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        for (const QString& path : paths) {
            QImage image(path);
            if (image.isNull()) std::fprintf(stderr, "cannot decode %s\n", qPrintable(path));
        }
        qimageMs.push_back(t.nsecsElapsed() / 1e6);
    }
    server.kill();
    server.waitForFinished();

    std::printf("view                         1920 x 1080 at level 12, %d tiles\n", idle.pass.visited);
    std::printf("cold: drawing pass           %8.1f ms (placeholders)\n", idle.passMs);
    std::printf("cold: until the last repaint %8.1f ms (loader from zelvano-tileserver)\n", idle.lastRepaintMs);
    std::printf("cold: longest UI stall       %8.1f ms while the loader worked\n", idle.longestStallMs);
    std::printf("cold, two busy processes     %8.1f ms until the last repaint (%d tiles)\n", loaded.lastRepaintMs,
                loaded.pass.visited);
    std::printf("ratio busy / idle            %8.2f  (target at most 2.00)\n",
                loaded.lastRepaintMs / idle.lastRepaintMs);
    std::printf("warm: drawing pass           %8.1f ms (median of 15)\n", median(passMs));
    std::printf("warm: TurboJPEG decode alone %8.1f ms (median of 15)\n", median(turboMs));
    std::printf("warm: QImage decode alone    %8.1f ms (median of 15)\n", median(qimageMs));
    std::printf("ratio pass / TurboJPEG       %8.2f  (target at most 1.50)\n", median(passMs) / median(turboMs));
    return 0;
}
