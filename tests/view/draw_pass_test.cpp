#include "support/manual_clock.h"
#include "support/silent_server.h"
#include "tiles/fetch_fixture.h"

#include "tiles/imaging.h"
#include "view/draw_pass.h"
#include "view/view_session.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace zelvano;
using namespace zelvano::test;

namespace {

const QColor kFace(200, 201, 202);

} // namespace

class DrawPassTest : public FetchFixture {
protected:
    static DrawPassInput input(ViewCentre centre, QSize size, FetchOptions options = drawingPass()) {
        DrawPassInput in;
        in.centre = centre;
        in.size = size;
        in.options = options;
        in.buttonFace = kFace;
        return in;
    }
    DrawPassResult draw(ViewCentre centre, QSize size, FetchOptions options = drawingPass()) {
        buffer.resize(size);
        return DrawView(input(centre, size, options), context, buffer);
    }
    QColor pixel(int x, int y) {
        auto guard = buffer.lock();
        return buffer.image().pixelColor(x, y);
    }
    void cache(const jtype& r, const QByteArray& bytes) {
        folder.write(QDir(folder.path()).relativeFilePath(r.satPath), bytes);
    }
    // The record of the tile at a column/row offset from the tile under the centre.
    jtype tileAt(const ViewCentre& c, int di, int dj) {
        geo::TileId t = geo::LocateTile(c.zoom, c.position).tile();
        for (; di > 0; --di)
            t = geo::StepEast(t);
        for (; di < 0; ++di)
            t = geo::StepWest(t);
        for (; dj > 0; --dj)
            t = geo::StepSouth(t);
        for (; dj < 0; ++dj)
            t = geo::StepNorth(t);
        return record(t);
    }

    BackBuffer buffer;
};

TEST_F(DrawPassTest, CachedTilesLandAtTheirPlaces) {
    const ViewCentre c{{45.25, -20.5}, 10};
    cache(tileAt(c, 0, 0), solidJpeg(Qt::red));
    cache(tileAt(c, 1, 0), solidJpeg(Qt::blue));
    cache(tileAt(c, 0, -1), solidJpeg(Qt::green));
    const geo::TileLocation centre = geo::LocateTile(c.zoom, c.position);
    const QSize size(800, 600);
    const DrawPassResult result = draw(c, size);
    const int cx = 400 - centre.pixelColumn;
    const int cy = 300 - centre.pixelRow;
    EXPECT_TRUE(nearColour(pixel(cx + 3, cy + 3), Qt::red));
    EXPECT_TRUE(nearColour(pixel(cx + 252, cy + 250), Qt::red));
    EXPECT_TRUE(nearColour(pixel(cx + 259, cy + 3), Qt::blue));
    EXPECT_TRUE(nearColour(pixel(cx + 3, cy - 4), Qt::green));
    EXPECT_FALSE(result.crossesWorldEdge);
    // 800 x 600 is covered by 4 x 3, 4 x 4, 5 x 3 or 5 x 4 tiles; the three cached ones are not queued.
    EXPECT_GE(result.visited, 12);
    EXPECT_EQ(result.queue.size(), static_cast<size_t>(result.visited - 3));
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(DrawPassTest, MissingTilesAreQueuedInSpiralOrder) {
    const ViewCentre c{{45.25, -20.5}, 10};
    const DrawPassResult result = draw(c, QSize(800, 600));
    ASSERT_GE(result.queue.size(), 9u);
    const geo::TileLocation centre = geo::LocateTile(c.zoom, c.position);
    const QPoint origin(400 - centre.pixelColumn, 300 - centre.pixelRow);
    std::vector<QPoint> expected;
    for (int k = 0; expected.size() < result.queue.size(); ++k)
        for (const QPoint o : spiralRing(k)) {
            const QRect tile(origin + 256 * o, QSize(256, 256));
            if (tile.intersects(QRect(0, 0, 800, 600))) expected.push_back(tile.topLeft());
        }
    for (size_t i = 0; i < result.queue.size(); ++i) {
        EXPECT_EQ(QPoint(result.queue[i].x, result.queue[i].y), expected[i]) << i;
        EXPECT_TRUE(result.queue[i].bitmap.isNull());
    }
    EXPECT_EQ(result.queue[1].satRequest, tileAt(c, 0, -1).satRequest); // ring 1 starts north
    EXPECT_EQ(result.queue[2].satRequest, tileAt(c, 1, -1).satRequest);
}

TEST_F(DrawPassTest, ButtonFaceBeyondTheWorld) {
    // Level 1 in a view wider and higher than the world: the four tiles and button face around them.
    DrawPassResult world = draw({{0, 0}, 1}, QSize(700, 600));
    EXPECT_TRUE(world.crossesWorldEdge);
    EXPECT_EQ(world.visited, 4);
    EXPECT_EQ(pixel(5, 300), kFace);
    EXPECT_EQ(pixel(694, 300), kFace);
    EXPECT_EQ(pixel(350, 10), kFace);
    EXPECT_NE(pixel(100, 300), kFace); // the placeholder of a tile inside the world
    // The top of the world in the middle of the view.
    const DrawPassResult top = draw({{geo::kLatitudeLimit, 30}, 6}, QSize(600, 400));
    EXPECT_TRUE(top.crossesWorldEdge);
    EXPECT_EQ(pixel(300, 10), kFace);
    EXPECT_NE(pixel(300, 390), kFace);
    for (const jtype& r : top.queue)
        EXPECT_GE(r.y, 199);
}

TEST_F(DrawPassTest, WorkModes) {
    const ViewCentre c{{45.25, -20.5}, 10};
    cache(tileAt(c, 0, 0), solidJpeg(Qt::red));
    // Internet only: every visited tile goes to the loader, the cached one included.
    const DrawPassResult internet =
        draw(c, QSize(300, 300), options(FetchMode::DrawingPass, true, false, WorkMode::InternetOnly));
    EXPECT_EQ(internet.queue.size(), static_cast<size_t>(internet.visited));
    const geo::TileLocation centre = geo::LocateTile(c.zoom, c.position);
    EXPECT_TRUE(nearColour(pixel(150 - centre.pixelColumn + 3, 150 - centre.pixelRow + 3), Qt::red)); // shown

    // Cache only: a missing satellite tile shows its placeholder and is still queued; a missing map
    // tile shows its placeholder and is not.
    FetchOptions cacheOnly = drawingPass();
    cacheOnly.workMode = WorkMode::CacheOnly;
    const DrawPassResult sat = draw(c, QSize(300, 300), cacheOnly);
    EXPECT_EQ(sat.queue.size(), static_cast<size_t>(sat.visited - 1));
    FetchOptions mapOnly = drawingPass(false, true);
    mapOnly.workMode = WorkMode::CacheOnly;
    const DrawPassResult map = draw(c, QSize(300, 300), mapOnly);
    EXPECT_TRUE(map.queue.empty());
    EXPECT_EQ(pixel(2, 2), QColor(138, 138, 138));
}

TEST_F(DrawPassTest, ANarrowViewStillGetsItsNeighbours) {
    // A centre 20 pixels from its tile's west edge in a view 100 pixels wide: the tiles to the west overlap.
    ViewCentre c{{45.25, -20.5}, 10};
    const geo::TileLocation t = geo::LocateTile(c.zoom, c.position);
    geo::ShiftPosition(20 - t.pixelColumn, 0, c.zoom, c.position);
    ASSERT_EQ(geo::LocateTile(c.zoom, c.position).pixelColumn, 20);
    const DrawPassResult result = draw(c, QSize(100, 600));
    const geo::TileLocation centre = geo::LocateTile(c.zoom, c.position);
    int expected = 0;
    for (int i = -3; i <= 3; ++i)
        for (int j = -3; j <= 3; ++j)
            expected += QRect(50 - centre.pixelColumn + 256 * i, 300 - centre.pixelRow + 256 * j, 256, 256)
                            .intersects(QRect(0, 0, 100, 600));
    EXPECT_EQ(result.visited, expected);
    EXPECT_GE(expected, 6); // two columns
    EXPECT_EQ(result.queue.front().satRequest, tileAt(c, 0, 0).satRequest);
}

// The loader fetches the queue in visiting order and draws each tile; once the next pass stops it, it
// finishes the tile at hand (which stays in the cache) and fetches no more.
TEST_F(DrawPassTest, LoaderFetchesInOrderAndStops) {
    const ViewCentre c{{45.25, -20.5}, 10};
    server.setFallback([](const std::string&) { return ScriptedAnswer{200, jpegTile(7), "image/jpeg", 30}; });
    ManualClock clock; // no tile takes long: one repaint, at the end
    ViewSession session(languageTable, clock);
    std::atomic<int> repaints{0};
    QObject::connect(&session, &ViewSession::tilesArrived, [&] { ++repaints; });
    const DrawPassResult pass = session.refresh(input(c, QSize(800, 600)), context.settings);
    ASSERT_EQ(session.runningLoaders(), 1);
    ASSERT_TRUE(session.waitForLoaders(std::chrono::seconds(20)));
    QStringList targets;
    for (const jtype& r : pass.queue)
        targets.append(target(r.satRequest));
    EXPECT_EQ(server.requests(), targets);
    QCoreApplication::processEvents();
    EXPECT_EQ(repaints.load(), 1);
    {
        auto guard = session.backBuffer()->lock();
        const jtype& first = pass.queue.front();
        EXPECT_EQ(session.backBuffer()->image().pixelColor(first.x + 5, first.y + 5),
                  decoded(jpegTile(7)).pixelColor(5, 5));
    }

    // A pass over other tiles, stopped by the pass after it once its first request arrived.
    const DrawPassResult next = session.refresh(input({{45.25, -21.5}, 10}, QSize(800, 600)), context.settings);
    const int before = server.requests().size();
    QDeadlineTimer deadline(10000);
    while (server.requests().size() == before && !deadline.hasExpired())
        QThread::yieldCurrentThread();
    session.stopLatestLoader();
    ASSERT_TRUE(session.waitForLoaders(std::chrono::seconds(20)));
    const int fetched = server.requests().size() - before;
    EXPECT_LT(fetched, static_cast<int>(next.queue.size()));
    for (int i = 0; i < fetched; ++i)
        EXPECT_TRUE(QFile::exists(next.queue[i].satPath)) << i;
}

// The loader repaints after each tile that took longer than 0.186 s, and once more at its end unless the
// last tile was such a one. The server's handler runs the session's clock on by the time each tile takes.
TEST_F(DrawPassTest, LoaderRepaintsAfterSlowTilesAndAtItsEnd) {
    using Took = std::function<Clock::Duration(int request, int last)>;
    const Clock::Duration slow = kSlowTile + std::chrono::milliseconds(1);
    struct Case {
        const char* label;
        Took took;
        int repaints;
    };
    const Case cases[] = {
        {"the second and the fourth slow", [&](int n, int) { return n == 1 || n == 3 ? slow : Clock::Duration{}; }, 3},
        {"the last slow", [&](int n, int last) { return n == last ? slow : Clock::Duration{}; }, 1},
        {"every tile exactly at the limit", [](int, int) { return Clock::Duration{kSlowTile}; }, 1},
    };
    double lonW = -20.5;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.label);
        const ViewCentre c{{45.25, lonW -= 5}, 10}; // tiles not fetched before
        const int queued = static_cast<int>(draw(c, QSize(600, 300)).queue.size());
        ASSERT_GE(queued, 4);
        ManualClock clock;
        std::atomic<int> requests{0};
        server.setFallback([&](const std::string&) {
            clock.advance(row.took(requests++, queued - 1));
            return ScriptedAnswer{200, jpegTile(2)};
        });
        ViewSession session(languageTable, clock);
        std::atomic<int> repaints{0};
        QObject::connect(&session, &ViewSession::tilesArrived, [&] { ++repaints; });
        ASSERT_EQ(session.refresh(input(c, QSize(600, 300)), context.settings).queue.size(),
                  static_cast<size_t>(queued));
        ASSERT_TRUE(session.waitForLoaders(std::chrono::seconds(20)));
        EXPECT_EQ(requests.load(), queued);
        QCoreApplication::processEvents();
        EXPECT_EQ(repaints.load(), row.repaints);
    }
}

// Each drawing pass resets the overlay cut-off: a hybrid 404 in one pass's loader keeps the overlay away
// for the rest of that pass only, and the next pass asks again.
TEST_F(DrawPassTest, EachPassResetsTheOverlayCutoff) {
    server.setFallback([](const std::string& target) {
        return target.rfind("/mt?v=h", 0) == 0 ? ScriptedAnswer{404, "none", "text/plain"}
                                               : ScriptedAnswer{200, jpegTile(9)};
    });
    auto hybridRequests = [&] {
        int n = 0;
        for (const QString& t : server.requests())
            n += t.startsWith(QLatin1String("/mt?v=h"));
        return n;
    };
    ViewSession session(languageTable);
    const DrawPassInput in = input({{45.25, -20.5}, 10}, QSize(600, 300), drawingPass(true, true));
    ASSERT_GE(session.refresh(in, context.settings).queue.size(), 2u);
    ASSERT_TRUE(session.waitForLoaders(std::chrono::seconds(20)));
    EXPECT_EQ(hybridRequests(), 1); // the first tile's 404 cut the overlay off for the others

    // The satellite tiles are cached now; the overlays are still missing.
    EXPECT_GE(session.refresh(in, context.settings).queue.size(), 2u);
    ASSERT_TRUE(session.waitForLoaders(std::chrono::seconds(20)));
    EXPECT_EQ(hybridRequests(), 2);
}

// A centre exactly on the boundary between two columns: the pass places the tile east of it (pixel
// column 0), and every layer's request names that same tile.
TEST_F(DrawPassTest, OnAVerticalTileBoundaryEveryLayerNamesTheTileDrawnThere) {
    const ViewCentre c{{40, 90}, 2}; // 90 W: between columns 0 and 1
    ASSERT_EQ(geo::LocateTile(c.zoom, c.position).pixelColumn, 0);
    const DrawPassResult pass = draw(c, QSize(300, 300), drawingPass(true, true));
    ASSERT_FALSE(pass.queue.empty());
    const jtype& centre = pass.queue.front();
    EXPECT_EQ(centre.x, 150);
    EXPECT_EQ(centre.tile.x, 1);
    EXPECT_EQ(centre.satRequest, settings.templates.satellite + QStringLiteral("qs"));
    EXPECT_EQ(centre.mapRequest, settings.templates.map + QStringLiteral("1&y=1&zoom=15"));
    EXPECT_EQ(centre.hybridRequest, settings.templates.hybrid + QStringLiteral("1&y=1&zoom=15"));
}

// Closing the window: every loader gives up its transfer at once, even one that hangs.
TEST_F(DrawPassTest, StoppingTheSessionEndsAHangingTransfer) {
    SilentServer silent;
    settings.templates.satellite = silent.base() + QStringLiteral("/kh?t=t");
    settings.limits.totalTimeoutMs = 60'000;
    refreshContext();
    ViewSession session(languageTable);
    session.refresh(input({{45.25, -20.5}, 10}, QSize(300, 300)), context.settings);
    ASSERT_TRUE(silent.waitForConnections(1, 20000));
    const auto asked = std::chrono::steady_clock::now();
    session.stopAll();
    ASSERT_TRUE(session.waitForLoaders(std::chrono::seconds(20))); // the transfer's own timeout is 60 s
    const auto latency = std::chrono::steady_clock::now() - asked;
    EXPECT_EQ(silent.connections(), 1); // the queue's other tiles were dropped
    std::printf("stop latency of a loader on a hanging server: %lld µs\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(latency).count()));
}
