#include "tiles/fetch_fixture.h"

#include "base/number_text.h"
#include "base/text_file.h"
#include "geo/mirror_random.h"
#include "tiles/imaging.h"

#include <QDir>
#include <QPainter>

#include <thread>

using namespace zelvano;
using namespace zelvano::test;

namespace {

bool isPlaceholder(const QImage& image) {
    return !image.isNull() && image.pixelColor(0, 0) == QColor(138, 138, 138) &&
           image.pixelColor(255, 255) == QColor(138, 138, 138);
}

} // namespace

class FetchTileTest : public FetchFixture {};

// One download in job mode against every kind of answer a server gives. The cache folder starts empty:
// the tile's folders are made when it is stored.
TEST_F(FetchTileTest, DownloadAnswersInJobMode) {
    const QByteArray good = jpegTile(1);
    struct Case {
        const char* label;
        ScriptedAnswer answer;
        bool result;
        FetchCounters counts;
        bool stored;
        QString logPrefix; // the line's start; it ends with the request or path named below
        bool endsWithPath;
        bool counted; // bytes reached the downloaded total
    };
    const Case cases[] = {
        {"good JPEG", {200, good}, true, {0, 0, 0}, true, {}, false, true},
        {"PNG", {200, pngTile(), "image/png"}, false, {0, 0, 1}, false, text(27), false, true},
        {"404", {404, "no", "text/plain"}, false, {0, 1, 0}, false, text(24) + " 404 Not Found", false, false},
        {"500",
         {500, "oops", "text/plain"},
         false,
         {0, 1, 0},
         false,
         text(24) + " 500 Internal Server Error",
         false,
         false},
        {"truncated JPEG", {200, good.left(good.size() / 2)}, false, {0, 0, 1}, false, text(27), false, true},
        {"4 bytes", {200, QByteArray("\xFF\xD8\xFF\xD9", 4)}, false, {0, 0, 1}, false, text(28), false, true},
        {"5 bytes ending FF D9",
         {200, QByteArray("\xFF\xD8\x00\xFF\xD9", 5)},
         false,
         {0, 0, 1},
         false,
         text(29),
         true,
         true},
        {"slow answer",
         {200, good, "image/jpeg", 800},
         false,
         {0, 1, 0},
         false,
         text(24) + " Operation timed out",
         false,
         false},
        {"dropped connection",
         {200, good, "image/jpeg", 0, true},
         false,
         {0, 1, 0},
         false,
         text(24) + " ",
         false,
         false},
        {"body over the cap",
         {200, QByteArray(150000, '\xD9')},
         false,
         {0, 1, 0},
         false,
         text(24) + " answer larger than 100000 bytes",
         false,
         false},
    };
    settings.limits.totalTimeoutMs = 300;
    refreshContext();
    int level = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        jtype r = record(++level, 30, 40); // a new tile each time
        server.answer(target(r.satRequest), c.answer);
        job.log.clear();
        counters = {};
        const qint64 before = meter.total();
        EXPECT_EQ(fetch(r, jobOptions(), &job).usable, c.result);
        EXPECT_EQ(std::tie(counters.writeErrors, counters.fetchErrors, counters.badFileErrors),
                  std::tie(c.counts.writeErrors, c.counts.fetchErrors, c.counts.badFileErrors));
        EXPECT_EQ(QFile::exists(r.satPath), c.stored);
        EXPECT_EQ(meter.total() - before, c.counted ? c.answer.body.size() : 0);
        if (c.stored) {
            EXPECT_EQ(fileBytes(r.satPath), c.answer.body);
            EXPECT_EQ(r.bitmap.size(), QSize(256, 256));
            EXPECT_TRUE(job.log.isEmpty());
        } else {
            ASSERT_EQ(job.log.size(), 1);
            EXPECT_TRUE(job.log[0].startsWith(c.logPrefix)) << job.log[0].toStdString();
            EXPECT_TRUE(job.log[0].endsWith(u' ' + (c.endsWithPath ? r.satPath : r.satRequest)))
                << job.log[0].toStdString();
        }
    }
    EXPECT_EQ(server.headers("User-Agent").first(), userAgent());
}

// With mirrors on, the request that goes out names a numbered server: the digit stands before ".orbexa" in
// its host. The test server stands in as the proxy, so it sees the whole address of each request sent.
TEST_F(FetchTileTest, MirrorDigitInTheHostOfTheRequestSent) {
    settings.templates.satellite = QStringLiteral("http://kh.orbexa.test/kh?v=1&t=t");
    settings.templates.hybrid = QStringLiteral("http://mt.orbexa.test/mt?v=h&x=");
    settings.proxy = {true, QStringLiteral("127.0.0.1"), QString::number(server.port()), {}, {}};
    server.setFallback([](const std::string& target) {
        return target.find("/kh?") != std::string::npos ? ScriptedAnswer{200, jpegTile(1)}
                                                        : ScriptedAnswer{200, pngTile(), "image/png"};
    });
    auto pathOf = [](const QString& request) { return request.mid(request.indexOf(u'/', 7)); };
    for (const bool mirrors : {true, false}) {
        SCOPED_TRACE(mirrors ? "mirrors" : "no mirrors");
        settings.primaryMirrors = mirrors;
        refreshContext();
        jtype r = record(mirrors ? 5 : 6, 30, 40);
        geo::seedMirrorRandom(mirrors ? 11 : 12); // the digits the fetch will draw, in order
        const QString satDigit = mirrors ? QString::number(geo::mirrorDigit()) : QString();
        const QString hybridDigit = mirrors ? QString::number(geo::mirrorDigit()) : QString();
        geo::seedMirrorRandom(mirrors ? 11 : 12);
        const qsizetype before = server.requests().size();
        ASSERT_TRUE(fetch(r, jobOptions(true, true), &job).usable);
        const QString satHost = QStringLiteral("kh") + satDigit + QStringLiteral(".orbexa.test");
        const QString hybridHost = QStringLiteral("mt") + hybridDigit + QStringLiteral(".orbexa.test");
        EXPECT_EQ(server.headers("Host").mid(before), (QStringList{satHost, hybridHost}));
        EXPECT_EQ(server.requests().mid(before),
                  (QStringList{QStringLiteral("http://") + satHost + pathOf(r.satRequest),
                               QStringLiteral("http://") + hybridHost + pathOf(r.hybridRequest)}));
    }
}

TEST_F(FetchTileTest, CachedSatelliteTiles) {
    const QByteArray good = jpegTile(2);
    const QByteArray fresh = jpegTile(3);
    QByteArray short1699 = good.left(1697) + "\xFF\xD9";
    ASSERT_EQ(short1699.size(), 1699);

    // A valid cached tile is served without the network.
    jtype r = record(6, 30, 40);
    folder.write(QDir(folder.path()).relativeFilePath(r.satPath), good);
    server.answer(target(r.satRequest), {200, fresh});
    EXPECT_TRUE(fetch(r, jobOptions(), &job).usable);
    EXPECT_EQ(server.requests().size(), 0);
    EXPECT_FALSE(r.satPending);
    EXPECT_EQ(r.bitmap.size(), QSize(256, 256));

    // Internet only ignores the cache.
    EXPECT_TRUE(fetch(r, options(FetchMode::JobWorker, true, false, WorkMode::InternetOnly), &job).usable);
    EXPECT_EQ(server.count(target(r.satRequest)), 1);
    EXPECT_EQ(fileBytes(r.satPath), fresh);

    // 1699 bytes ending FF D9: logged, deleted and downloaded again.
    folder.write(QDir(folder.path()).relativeFilePath(r.satPath), short1699);
    job.log.clear();
    EXPECT_TRUE(fetch(r, jobOptions(), &job).usable);
    EXPECT_EQ(job.log, QStringList{text(20) + u' ' + r.satPath});
    EXPECT_EQ(fileBytes(r.satPath), fresh);
    EXPECT_EQ(server.count(target(r.satRequest)), 2);

    // A tile that does not end in the end marker is not whole, even when what it holds decodes (bytes
    // after the marker, as a second write over a first would leave). Logged, deleted and downloaded again.
    const QByteArray notEnded = good + QByteArray(40, '\0');
    ASSERT_FALSE(decodeImage(notEnded).isNull());
    folder.write(QDir(folder.path()).relativeFilePath(r.satPath), notEnded);
    job.log.clear();
    EXPECT_TRUE(fetch(r, jobOptions(), &job).usable);
    EXPECT_EQ(job.log, QStringList{text(20) + u' ' + r.satPath});
    EXPECT_EQ(fileBytes(r.satPath), fresh);
    EXPECT_EQ(server.count(target(r.satRequest)), 3);

    // A read-only cached tile stays read-only through the wait: invalid, but neither deleted nor replaced.
    folder.write(QDir(folder.path()).relativeFilePath(r.satPath), good);
    QFile::setPermissions(r.satPath, QFileDevice::ReadOwner);
    job.log.clear();
    counters = {};
    EXPECT_FALSE(fetch(r, jobOptions(), &job).usable);
    EXPECT_EQ(fileBytes(r.satPath), good);
    ASSERT_EQ(job.log.size(), 2);
    EXPECT_EQ(job.log[0], text(20) + u' ' + r.satPath);
    EXPECT_EQ(job.log[1], text(29) + u' ' + r.satPath);
    EXPECT_EQ(counters.badFileErrors, 1);
}

// A placeholder tile as the user sees it: grey, with the message centred on the line above the middle row
// and the tile letters on the line below. A test language gives each message a width of its own, so the
// width of the upper line tells which entry the tile shows.
TEST_F(FetchTileTest, PlaceholdersShowTheirMessage) {
    QStringList texts = LanguageTable::builtinEntries();
    texts[22] = QStringLiteral("WWWWWWWWWWWWWWWW"); // wide
    texts[23] = QString();                          // no message line
    texts[33] = QStringLiteral("W");                // narrow
    folder.writeLines(QStringLiteral("Language/Widths.txt"), texts);
    QString name = QStringLiteral("Widths.txt");
    language.loadLanguage(folder.path(), name);
    ASSERT_EQ(text(33), QStringLiteral("W"));

    enum Message { Wide, Narrow, None };
    struct Case {
        const char* label;
        FetchMode mode;
        WorkMode work;
        bool sat, map;
        Message message;
    };
    const Case cases[] = {
        {"cache only, satellite (22)", FetchMode::ViewLoader, WorkMode::CacheOnly, true, false, Wide},
        {"cache only, map (33)", FetchMode::ViewLoader, WorkMode::CacheOnly, false, true, Narrow},
        {"cache only, both: the overlay is skipped (22)", FetchMode::ViewLoader, WorkMode::CacheOnly, true, true, Wide},
        {"drawing pass, awaiting the download (23)", FetchMode::DrawingPass, WorkMode::CacheAndInternet, true, false,
         None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        jtype r = record(7, 30, 40);
        fetch(r, options(c.mode, c.sat, c.map, c.work));
        ASSERT_EQ(r.bitmap.size(), QSize(256, 256));
        if (c.sat && c.map) {
            EXPECT_TRUE(r.overlayPending); // the overlay is skipped silently
        }
        // Outside rows 100 to 156 the tile is plain grey; inside, the dark pixels of each line span:
        int outsideGrey = 0;
        int left[2] = {256, 256};
        int right[2] = {-1, -1};
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const QColor colour = r.bitmap.pixelColor(x, y);
                if (y < 100 || y > 156) {
                    outsideGrey += colour != QColor(138, 138, 138);
                } else if (qGray(colour.rgb()) < 70) {
                    const int line = y < 128 ? 0 : 1;
                    left[line] = std::min(left[line], x);
                    right[line] = std::max(right[line], x);
                }
            }
        EXPECT_EQ(outsideGrey, 0);
        const int messageWidth = right[0] - left[0] + 1;
        switch (c.message) {
        case Wide:
            EXPECT_GT(messageWidth, 100);
            break;
        case Narrow:
            EXPECT_GT(messageWidth, 2);
            EXPECT_LT(messageWidth, 20);
            break;
        case None:
            EXPECT_EQ(right[0], -1);
            break;
        }
        EXPECT_GT(right[1] - left[1], 20);                // "-" + letters + "-"
        EXPECT_LT(std::abs(left[1] + right[1] - 255), 8); // centred
        if (c.message != None) {
            EXPECT_LT(std::abs(left[0] + right[0] - 255), 8);
        }
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(FetchTileTest, DrawingPassDefersToTheLoader) {
    jtype r = record(8, 30, 40);
    server.answer(target(r.satRequest), {200, jpegTile(4)});
    QStringList status;
    meter.setStatusSink([&](const QString& s) { status.append(s); });

    EXPECT_TRUE(fetch(r, drawingPass()).redraw);
    EXPECT_TRUE(r.satPending);
    EXPECT_TRUE(isPlaceholder(r.bitmap));
    EXPECT_TRUE(server.requests().isEmpty());

    EXPECT_TRUE(fetch(r, loader()).redraw); // the loader draws what came
    EXPECT_FALSE(isPlaceholder(r.bitmap));
    EXPECT_TRUE(QFile::exists(r.satPath));
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0], formatFixed(jpegTile(4).size() / 1048576.0, 3) + u' ' + text(25));

    EXPECT_TRUE(fetch(r, drawingPass()).redraw); // now from the cache
    EXPECT_FALSE(r.satPending);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(FetchTileTest, HybridOverlayDrawnOverTheSatelliteTile) {
    jtype r = record(9, 30, 40);
    server.answer(target(r.satRequest), {200, jpegTile(5)});
    server.answer(target(r.hybridRequest), {200, pngTile(Qt::blue), "image/png"});
    EXPECT_TRUE(fetch(r, jobOptions(true, true), &job).usable);
    EXPECT_FALSE(r.overlayPending);
    EXPECT_EQ(r.bitmap.pixelColor(128, 128), QColor(Qt::blue));
    EXPECT_EQ(r.bitmap.pixelColor(250, 5), test::decoded(jpegTile(5)).pixelColor(250, 5));
    EXPECT_EQ(fileBytes(r.hybridPath), pngTile(Qt::blue));

    // From the cache the next time, in a drawing pass.
    EXPECT_TRUE(fetch(r, drawingPass(true, true)).redraw);
    EXPECT_EQ(r.bitmap.pixelColor(128, 128), QColor(Qt::blue));
    EXPECT_EQ(server.requests().size(), 2);
}

// A 404 for a hybrid tile at service zoom k sets the cut-off to k + 1: the view asks for no overlay at that
// level or deeper any more; jobs are exempt.
TEST_F(FetchTileTest, HybridNotFoundCutsOffTheOverlayForTheViewAtThatLevelAndDeeper) {
    jtype r = record(10, 30, 40); // service zoom 7
    server.answer(target(r.satRequest), {200, jpegTile(6)});
    fetch(r, loader(true, true));
    EXPECT_EQ(server.count(target(r.hybridRequest)), 1);
    EXPECT_EQ(cutoff.load(), 8);
    EXPECT_TRUE(r.overlayPending);

    struct Case {
        const char* label;
        int level;
        double lonW;
        FetchOptions options;
        bool asked;
    };
    const Case cases[] = {
        {"the same level, another tile", 10, 30.5, loader(true, true), false},
        {"deeper", 11, 30, loader(true, true), false},
        {"shallower: F = 9 > 8", 9, 30, loader(true, true), true},
        {"a job at the same level", 10, 31, jobOptions(true, true), true},
        {"a job deeper", 12, 30, jobOptions(true, true), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        jtype t = record(c.level, c.lonW, 40);
        server.answer(target(t.satRequest), {200, jpegTile(c.level)});
        fetch(t, c.options, &job);
        EXPECT_EQ(server.count(target(t.satRequest)), 1);
        EXPECT_EQ(server.count(target(t.hybridRequest)), c.asked ? 1 : 0);
        EXPECT_EQ(t.overlayPending, c.asked); // each answer is a 404
    }
}

TEST_F(FetchTileTest, LevelEighteenHasNoOverlayAndAJobDropsTheMapLayer) {
    jtype r = record(18, 30, 40);
    ASSERT_TRUE(r.hybridRequest.endsWith(QLatin1String("&zoom=-1")));
    server.answer(target(r.satRequest), {200, jpegTile(8)});
    EXPECT_TRUE(fetch(r, jobOptions(true, true), &job).usable);
    EXPECT_EQ(job.log, QStringList{text(201)});
    EXPECT_EQ(job.mapLayerSwitchedOff, 1);
    EXPECT_EQ(server.requests(), QStringList{target(r.satRequest)});
}

TEST_F(FetchTileTest, SecondaryServiceWithBothLayersShowsTheHybridTileOverGrey) {
    jtype r = record(3, 30, 40);
    const QString key = r.tile.quadkey();
    server.answer(QStringLiteral("/tiles/h") + key + QStringLiteral("jpeg"), {200, pngTile(Qt::green), "image/png"});
    FetchOptions o = jobOptions(true, true);
    o.layers.secondary = true;
    EXPECT_TRUE(fetch(r, o, &job).usable);
    EXPECT_EQ(server.requests(), QStringList{QStringLiteral("/tiles/h") + key + QStringLiteral("jpeg")});
    EXPECT_EQ(r.hybridPath, r.secHybridPath);
    EXPECT_TRUE(r.hybridPath.contains(QLatin1String("/virtualearth/veh/04/")));
    EXPECT_TRUE(QFile::exists(r.secHybridPath));
    EXPECT_EQ(r.bitmap.pixelColor(128, 128), QColor(Qt::green));
    EXPECT_EQ(r.bitmap.pixelColor(250, 5), QColor(138, 138, 138));
}

TEST_F(FetchTileTest, MapLayerAlone) {
    jtype r = record(5, 30, 40);
    server.answer(target(r.mapRequest), {200, pngTile(Qt::yellow, false), "image/png"});
    EXPECT_TRUE(fetch(r, jobOptions(false, true), &job).usable);
    EXPECT_EQ(fileBytes(r.mapPath), pngTile(Qt::yellow, false));
    EXPECT_EQ(r.bitmap.pixelColor(3, 3), QColor(Qt::yellow));
    EXPECT_FALSE(r.satPending);

    // A failed map download is logged but not counted.
    jtype missing = record(6, 30, 40);
    counters = {};
    EXPECT_FALSE(fetch(missing, jobOptions(false, true), &job).usable);
    EXPECT_EQ(job.log.last(), text(24) + QStringLiteral(" 404 Not Found ") + missing.mapRequest);
    EXPECT_EQ(std::tie(counters.writeErrors, counters.fetchErrors, counters.badFileErrors), std::make_tuple(0, 0, 0));

    // The secondary road tile is stored under .png whatever its address says.
    jtype road = record(4, 30, 40);
    const QString key = road.tile.quadkey();
    server.answer(QStringLiteral("/tiles/r") + key + QStringLiteral("jpeg"),
                  {200, pngTile(Qt::cyan, false), "image/png"});
    FetchOptions o = jobOptions(false, true);
    o.layers.secondary = true;
    EXPECT_TRUE(fetch(road, o, &job).usable);
    EXPECT_TRUE(road.mapPath.endsWith(QStringLiteral("/virtualearth/ver/05/") + road.tile.name() + ".png"));
    EXPECT_EQ(fileBytes(road.mapPath), pngTile(Qt::cyan, false));
}

TEST_F(FetchTileTest, AFolderThatCannotBeWrittenIsADiskWriteError) {
    jtype r = record(6, 30, 40);
    server.answer(target(r.satRequest), {200, jpegTile(9)});
    // A file where the level folder should be: nothing can be created below it.
    folder.write(QStringLiteral("Cache/kh/07"), "in the way");
    EXPECT_FALSE(fetch(r, jobOptions(), &job).usable);
    EXPECT_EQ(counters.writeErrors, 1);
    EXPECT_EQ(job.log, QStringList{text(26) + u' ' + r.satPath});
}

// The drawing pass reads tiles while a loader stores the same tiles again: a reader sees each tile whole,
// so no good tile is ever taken for a broken one, deleted or shown as missing.
TEST_F(FetchTileTest, DrawingPassAndLoaderOnTheSameTilesAtOnce) {
    std::vector<jtype> tiles;
    for (int i = 0; i < 30; ++i) {
        tiles.push_back(record(12, 30 + i * 0.09, 40));
        server.answer(target(tiles.back().satRequest), {200, jpegTile(i)});
    }
    FetchOptions again = loader();
    again.workMode = WorkMode::InternetOnly; // downloads and stores every tile again, over the one being read
    for (jtype r : tiles)
        ASSERT_TRUE(fetch(r, again).redraw);

    std::atomic<bool> done{false};
    std::atomic<int> passes{0};
    std::atomic<int> notServed{0};
    std::thread drawing([&] {
        while (!done) {
            for (jtype r : tiles) {
                FetchTile(r, drawingPass(), context); // the counters belong to the other thread
                if (r.satPending || r.bitmap.isNull()) ++notServed;
            }
            ++passes;
        }
    });
    for (int round = 0; round < 3; ++round)
        for (jtype r : tiles)
            fetch(r, again);
    done = true;
    drawing.join();
    EXPECT_GT(passes.load(), 0);
    EXPECT_EQ(notServed.load(), 0);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(fileBytes(tiles[i].satPath), jpegTile(i)) << i;
    EXPECT_EQ(server.requests().size(), 120);
}

// A download job keeps no picture: it only checks that what it stored decodes.
TEST_F(FetchTileTest, DownloadJobsCheckThatTilesDecodeWithoutKeepingThem) {
    FetchOptions o = jobOptions();
    o.pictureNeeded = false;
    jtype good = record(7, 30, 40);
    server.answer(target(good.satRequest), {200, jpegTile(11)});
    EXPECT_TRUE(fetch(good, o, &job).usable);
    EXPECT_TRUE(good.bitmap.isNull());
    EXPECT_EQ(fileBytes(good.satPath), jpegTile(11));

    jtype broken = record(8, 30, 40);
    QByteArray corrupt = jpegTile(12);
    corrupt.truncate(600); // a header and a little data, then the end marker
    corrupt += "\xFF\xD9";
    server.answer(target(broken.satRequest), {200, corrupt});
    job.log.clear();
    EXPECT_FALSE(fetch(broken, o, &job).usable);
    EXPECT_EQ(job.log, QStringList{text(29) + u' ' + broken.satPath});
    EXPECT_FALSE(QFile::exists(broken.satPath));
}

// Whatever the satellite template says after its last "=", the tile is stored under its own name inside
// the cache; a template cannot steer a file out of it.
TEST_F(FetchTileTest, ATemplateCannotStoreATileOutsideTheCache) {
    settings.templates.satellite = server.base() + QStringLiteral("/kh?t=t/../../../../escaped");
    refreshContext();
    jtype r = record(3, 30, 40);
    server.answer(target(r.satRequest), {200, jpegTile(13)});
    ASSERT_TRUE(fetch(r, jobOptions(), &job).usable);
    EXPECT_EQ(r.satPath, folder.file(QStringLiteral("Cache/kh/04/") + r.tile.name() + QStringLiteral(".jpg")));
    EXPECT_EQ(fileBytes(r.satPath), jpegTile(13));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
}
