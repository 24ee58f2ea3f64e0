// zelvano-tileserver: a small tile server on 127.0.0.1 for the demo and the benchmarks. It answers every
// request form of both services with real pictures, and can be slowed down or made to fail every Nth
// request so that the program's error control can be watched.
#include "tileserver/tile_renderer.h"

#include "base/headless_gui.h"
#include <QCommandLineParser>

#include <QGuiApplication>
#include <QImage>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <regex>
#include <thread>

using namespace zelvano;
using namespace zelvano::tileserver;

namespace {

constexpr char kDefaultEarth[] = "/usr/share/xplanet/images/earth.jpg";

struct Options {
    int port = 0;
    int delayMs = 0;
    int failEvery = 0;
    QString earth = QString::fromLatin1(kDefaultEarth);
};

bool parse(QGuiApplication& app, Options& o) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serves map tiles on 127.0.0.1 for the Zelvano demo."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("port"), QStringLiteral("Port; 0 picks a free one."), QStringLiteral("port"),
                      QStringLiteral("0")});
    parser.addOption({QStringLiteral("delay-ms"), QStringLiteral("Wait before every answer."), QStringLiteral("ms"),
                      QStringLiteral("0")});
    parser.addOption({QStringLiteral("fail-every"), QStringLiteral("Answer every Nth request with 503."),
                      QStringLiteral("n"), QStringLiteral("0")});
    parser.addOption(
        {QStringLiteral("earth"), QStringLiteral("Equirectangular Earth image."), QStringLiteral("path"), o.earth});
    parser.process(app);
    bool ok1 = false, ok2 = false, ok3 = false;
    o.port = parser.value(QStringLiteral("port")).toInt(&ok1);
    o.delayMs = parser.value(QStringLiteral("delay-ms")).toInt(&ok2);
    o.failEvery = parser.value(QStringLiteral("fail-every")).toInt(&ok3);
    o.earth = parser.value(QStringLiteral("earth"));
    if (!ok1 || !ok2 || !ok3 || o.port < 0 || o.port > 65535 || o.delayMs < 0 || o.failEvery < 0) {
        std::fprintf(stderr, "zelvano-tileserver: --port, --delay-ms and --fail-every take whole numbers\n");
        return false;
    }
    return true;
}

void sendTile(httplib::Response& res, TileRenderer& renderer, TileKind kind, std::optional<geo::TileId> address) {
    if (!address) {
        res.status = 404;
        res.set_content("no such tile", "text/plain");
        return;
    }
    const bool jpeg = kind == TileKind::Satellite || kind == TileKind::SatelliteWithLabels;
    const QByteArray bytes = renderer.tile(kind, *address);
    res.set_content(bytes.constData(), static_cast<size_t>(bytes.size()), jpeg ? "image/jpeg" : "image/png");
}

int intParam(const httplib::Request& req, const char* name, bool& ok) {
    if (!req.has_param(name)) {
        ok = false;
        return 0;
    }
    bool good = false;
    const int v = QString::fromStdString(req.get_param_value(name)).toInt(&good);
    ok = ok && good;
    return v;
}

} // namespace

int main(int argc, char* argv[]) {
    zelvano::prepareHeadlessGui();
    QGuiApplication app(argc, argv);
    Options options;
    if (!parse(app, options)) return 2;
    QImage earth(options.earth);
    if (earth.isNull()) {
        std::fprintf(stderr, "zelvano-tileserver: cannot read the Earth image %s\n", qPrintable(options.earth));
        return 1;
    }
    TileRenderer renderer(earth);
    std::atomic<long> served{0};
    httplib::Server server;
    server.set_tcp_nodelay(true);            // headers and body go out at once, without waiting for a delayed ACK
    server.set_keep_alive_max_count(100000); // one connection serves a whole view or job

    server.set_pre_routing_handler([&](const httplib::Request&, httplib::Response& res) {
        if (options.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
        const long n = ++served;
        if (options.failEvery > 0 && n % options.failEvery == 0) {
            res.status = 503;
            res.set_content("planned failure", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // Satellite by tile name: /kh?...&t=tqrs
    server.Get("/kh", [&](const httplib::Request& req, httplib::Response& res) {
        sendTile(res, renderer, TileKind::Satellite,
                 servedTile(geo::TileId::fromName(QString::fromStdString(req.get_param_value("t")))));
    });
    // Map and hybrid by column, row and service zoom: /mt?...&v=w2.70&x=1&y=2&zoom=14 (v=w2t… is hybrid)
    server.Get("/mt", [&](const httplib::Request& req, httplib::Response& res) {
        bool ok = true;
        const int x = intParam(req, "x", ok);
        const int y = intParam(req, "y", ok);
        const int zoom = intParam(req, "zoom", ok);
        const bool hybrid = req.get_param_value("v").find("w2t") != std::string::npos;
        sendTile(res, renderer, hybrid ? TileKind::Hybrid : TileKind::Map,
                 ok ? tileOfColumnRow(x, y, zoom) : std::nullopt);
    });
    // Secondary service by quadkey: /tiles/a0123.jpeg (aerial), h (aerial with labels), r (road)
    server.Get(R"(/tiles/([ahr])([0-3]*)\.jpeg)", [&](const httplib::Request& req, httplib::Response& res) {
        const char kind = req.matches[1].str()[0];
        const auto address = servedTile(geo::TileId::fromQuadkey(QString::fromStdString(req.matches[2].str())));
        sendTile(res, renderer,
                 kind == 'a'   ? TileKind::Satellite
                 : kind == 'h' ? TileKind::SatelliteWithLabels
                               : TileKind::Map,
                 address);
    });

    const int port = options.port == 0 ? server.bind_to_any_port("127.0.0.1") : options.port;
    if (port <= 0 || (options.port != 0 && !server.bind_to_port("127.0.0.1", port))) {
        std::fprintf(stderr, "zelvano-tileserver: cannot listen on 127.0.0.1:%d\n", options.port);
        return 1;
    }
    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
