#include "jobs/job_fixture.h"

#include "base/number_text.h"
#include "jobs/job_texts.h"
#include "tiles/http_client.h"

#include "support/qt_printers.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimeZone>
#include <QTimer>

using namespace zelvano;
using namespace zelvano::test;
using namespace std::chrono_literals;

namespace {

class RecordingDialUp final : public DialUp {
public:
    QStringList entryNames() override { return {QStringLiteral("Modem")}; }
    DialResult dial(const QString& entry, const QString& user, const QString& password) override {
        calls << QStringLiteral("dial %1 %2 %3").arg(entry, user, password);
        return fail ? DialResult{691, QStringLiteral("Access denied")} : DialResult{};
    }
    QStringList activeConnections() override { return active; }
    bool hangUp(const QString& connection) override {
        calls << QStringLiteral("hangUp ") + connection;
        active.removeAll(connection);
        return true;
    }
    bool fail = false;
    QStringList active;
    QStringList calls;
};

// The files below the cache folder, relative to it.
QStringList cacheFiles(const QString& root) {
    QStringList out;
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

class JobWorkerTest : public JobFixture {};

// The whole log of a plain download, with the spaces of every line: none between "в" and the date of the
// start and end lines, two before "фрагментов" and "координаты".
TEST_F(JobWorkerTest, DownloadLogLineByLine) {
    JobDefinition d = area(1, 1);
    d.topLeft = {55.75, -37.6};
    d.bottomRight = {55.7499, -37.5999};
    const auto job = build(d);
    ASSERT_EQ(job->tileCount, 1);
    const JobSummary summary = runJob(host, job);
    EXPECT_EQ(jobs->log(*job),
              (QStringList{
                  QStringLiteral("Поступила команда Выкачать 10.12.2026 12:00:00"),
                  QStringLiteral("Начато формирование списка выкачиваемых фрагментов 10.12.2026 12:00:00"),
                  QStringLiteral("Список создан 10.12.2026 12:00:00"),
                  QStringLiteral("Начало выкачивания в10.12.2026 12:00:01  фрагментов 1  координаты "
                                 "55,750000 -37,600000"),
                  QStringLiteral("Выкачано"),
                  QStringLiteral("очистка памяти"),
                  QStringLiteral("выполнено в10.12.2026 12:00:01"),
              }));
    EXPECT_EQ(summary.obtained, 1);
    EXPECT_EQ(summary.tilesDone, 1);
    EXPECT_EQ(summary.downloadedBytes, goodTile.size());
    EXPECT_EQ(jobs->size(), 0);
    EXPECT_FALSE(jobs->workerBusy);
    EXPECT_EQ(clock.sleeps(), 0);
}

// A tile that never arrives: retryCount + 2 attempts with error control, the retry pause between two of
// them; one attempt without.
TEST_F(JobWorkerTest, AttemptsPerTile) {
    struct Case {
        bool errorControl;
        int retryCount;
        int attempts;
    };
    for (const Case c : {Case{true, 3, 5}, Case{true, 0, 2}, Case{false, 3, 1}}) {
        SCOPED_TRACE(testing::Message() << c.errorControl << " " << c.retryCount);
        limits.errorControl = c.errorControl;
        limits.retryCount = c.retryCount;
        const auto job = build(area(1, 1));
        const QString tile = targets(*job)[0];
        server.answer(tile, {404, "no", "text/plain"});
        const auto before = clock.now();
        const int asked = server.count(tile);
        const JobSummary summary = runJob(host, job);
        EXPECT_EQ(server.count(tile) - asked, c.attempts);
        EXPECT_EQ(clock.now() - before, (c.attempts - 1) * 1s);
        EXPECT_EQ(summary.failed, 1);
        EXPECT_EQ(summary.errors.fetchErrors, c.attempts);
        EXPECT_EQ(summary.tilesDone, 1);
        EXPECT_TRUE(jobs->log(*job).contains(QStringLiteral("Выкачано")));
    }
}

// Once a counter passes its limit every later tile is skipped without a request, and still counted.
TEST_F(JobWorkerTest, ErrorLimitsSkipTheRest) {
    struct Case {
        const char* name;
        ScriptedAnswer answer;
        int JobLimits::*limit;
        int triedTiles;                  // the tiles that got requests: their errors pass the limit of 3
        bool levelFolderBlocked = false; // a file where the tiles' folder would go: no tile can be stored
    };
    const Case cases[] = {
        {"fetch errors", {404, "no", "text/plain"}, &JobLimits::fetchErrorLimit, 2}, // 2 attempts each: 4 > 3
        {"bad files", {200, "broken", "image/jpeg"}, &JobLimits::badFileErrorLimit, 2},
        {"write errors", {200, goodTile}, &JobLimits::writeErrorLimit, 2, true},
    };
    const QString levelFolder = QFileInfo(satellitePath(settings.layout, geo::TileId{kLevel, 0, 0})).path();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(settings.layout.root).removeRecursively();
        if (c.levelFolderBlocked) folder.write(QDir(folder.path()).relativeFilePath(levelFolder), "not a folder");
        limits = {};
        limits.autoGenerate = false;
        limits.retryCount = 0;
        limits.*c.limit = 3;
        server.setFallback([a = c.answer](const std::string&) { return a; });
        const auto job = build(area(3, 3));
        const QStringList tiles = targets(*job);
        std::vector<int> asked;
        for (const QString& t : tiles)
            asked.push_back(server.count(t));
        const JobSummary summary = runJob(host, job);
        for (int i = 0; i < tiles.size(); ++i)
            EXPECT_EQ(server.count(tiles[i]) - asked[i], i < c.triedTiles ? 2 : 0) << i;
        EXPECT_EQ(summary.skipped, 9 - c.triedTiles);
        EXPECT_EQ(summary.tilesDone, 9);
        EXPECT_TRUE(jobs->log(*job).contains(QStringLiteral("Выкачано")));
    }
}

// Without error control the limits do not apply: every tile gets its one attempt.
TEST_F(JobWorkerTest, NoLimitsWithoutErrorControl) {
    limits.errorControl = false;
    limits.fetchErrorLimit = 0;
    server.setFallback([](const std::string&) { return ScriptedAnswer{404, "no", "text/plain"}; });
    const auto job = build(area(2, 2));
    const JobSummary summary = runJob(host, job);
    EXPECT_EQ(server.requests().size(), 4);
    EXPECT_EQ(summary.skipped, 0);
}

// A start time 1 h 30 min ahead: the status line says so until then, and the worker starts within one
// poll of 10 s after it. A cancel during the wait ends the job at once without a request or a dial, but
// hangs up when asked to.
TEST_F(JobWorkerTest, DelayedStartAndCancelWhileWaiting) {
    auto dialUp = std::make_shared<RecordingDialUp>();
    dialUp->active = {QStringLiteral("Modem")};
    host.dialUp = dialUp;
    JobDefinition d = area(1, 1);
    d.delay = {1, 30, true, true, QStringLiteral("Modem"), QStringLiteral("user"), QStringLiteral("secret")};
    {
        const auto job = buildJob(host, d);
        EXPECT_EQ(job->startTime, clock.wallNow().addSecs(5400));
        EXPECT_EQ(jobStatusLine(*job, clock.wallNow(), language, host.locale),
                  QStringLiteral("Отложено до 10.12.2026 13:30:00"));
        clock.onSleep([&] {
            if (clock.wallNow() > job->startTime) ADD_FAILURE() << "slept after the start time";
        });
        runJob(host, job);
        const QStringList log = jobs->log(*job);
        ASSERT_GE(log.size(), 5);
        EXPECT_EQ(log[3], QStringLiteral("подключение"));
        EXPECT_TRUE(log[4].startsWith(QStringLiteral("Начало выкачивания в10.12.2026 13:30:10")))
            << log[4].toStdString();
        EXPECT_EQ(dialUp->calls,
                  (QStringList{QStringLiteral("dial Modem user secret"), QStringLiteral("hangUp Modem")}));
    }
    dialUp->calls.clear();
    dialUp->active = {QStringLiteral("Modem")};
    server.requests(); // the first job's one request
    const int requestsBefore = static_cast<int>(server.requests().size());
    const auto job = buildJob(host, d);
    int sleeps = 0;
    clock.onSleep([&] {
        if (++sleeps == 3) job->cancel.request_stop();
    });
    const JobSummary summary = runJob(host, job);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(sleeps, 3);
    EXPECT_EQ(server.requests().size(), requestsBefore);
    EXPECT_EQ(dialUp->calls, QStringList{QStringLiteral("hangUp Modem")});
    const QStringList log = jobs->log(*job);
    EXPECT_EQ(log.mid(3), (QStringList{QStringLiteral("отключение"), QStringLiteral("очистка памяти"),
                                       QStringLiteral("выполнено в10.12.2026 13:30:30")}));
    EXPECT_EQ(jobs->size(), 0);
}

// A failed dial shows the system's text and the job goes on; with no dial-up service at all the text says so.
TEST_F(JobWorkerTest, FailedDialIsShownAndTheJobGoesOn) {
    auto dialUp = std::make_shared<RecordingDialUp>();
    dialUp->fail = true;
    QStringList shown;
    host.dialError = [&](const QString& text) { shown << text; };
    JobDefinition d = area(1, 1);
    d.delay.autoConnect = true;
    host.dialUp = dialUp;
    auto job = build(d);
    JobSummary summary = runJob(host, job);
    EXPECT_EQ(summary.obtained, 1);
    host.dialUp = nullptr;
    job = build(d);
    runJob(host, job);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], QStringLiteral("Access denied"));
    EXPECT_TRUE(shown[1].contains(QStringLiteral("Нет службы подключений"))) << shown[1].toStdString();
    EXPECT_TRUE(jobs->log(*job).contains(QStringLiteral("подключение")));
}

TEST(HangUpAll, LastListedFirstUntilNoneIsUp) {
    RecordingDialUp dialUp;
    hangUpAll(dialUp);
    EXPECT_TRUE(dialUp.calls.isEmpty());
    dialUp.active = {QStringLiteral("a"), QStringLiteral("b")};
    hangUpAll(dialUp);
    EXPECT_EQ(dialUp.calls, (QStringList{QStringLiteral("hangUp b"), QStringLiteral("hangUp a")}));
}

// Four connections give the cache, the counters and tilesDone of one, with faults on the way; the log
// lines of a tile stay together.
TEST_F(JobWorkerTest, FourConnectionsMatchOne) {
    limits.retryCount = 1;
    limits.fetchErrorLimit = limits.badFileErrorLimit = 1000;
    // Every fifth tile never arrives; every seventh arrives broken.
    server.setFallback([this](const std::string& t) {
        const std::size_t h = std::hash<std::string>{}(t);
        if (h % 5 == 0) return ScriptedAnswer{500, "down", "text/plain"};
        if (h % 7 == 0) return ScriptedAnswer{200, goodTile.left(900)};
        return ScriptedAnswer{200, goodTile};
    });
    struct Run {
        JobSummary summary;
        QStringList files;
        QStringList log;
    };
    auto runWith = [&](int connections) {
        QDir(settings.layout.root).removeRecursively();
        host.connections = connections;
        const auto job = build(area(6, 5));
        Run run{runJob(host, job), cacheFiles(settings.layout.root), jobs->log(*job)};
        return run;
    };
    const Run one = runWith(1), four = runWith(4);
    EXPECT_EQ(four.files, one.files);
    EXPECT_EQ(one.files.size(), one.summary.obtained);
    EXPECT_GT(one.summary.failed, 0);
    for (const Run* r : {&one, &four}) {
        EXPECT_EQ(r->summary.tilesDone, 30);
        EXPECT_EQ(r->summary.obtained + r->summary.failed, 30);
    }
    EXPECT_EQ(four.summary.failed, one.summary.failed);
    EXPECT_EQ(four.summary.errors.fetchErrors, one.summary.errors.fetchErrors);
    EXPECT_EQ(four.summary.errors.badFileErrors, one.summary.errors.badFileErrors);
    EXPECT_EQ(four.log.size(), one.log.size());
    // Each failing tile's two error lines are neighbours.
    for (int i = 0; i + 1 < four.log.size(); ++i) {
        const QString& line = four.log[i];
        if (!line.contains(QStringLiteral("/kh?"))) continue;
        const QString request = line.mid(line.indexOf(QStringLiteral("http://")));
        EXPECT_TRUE(four.log[i + 1].endsWith(request) || (i > 0 && four.log[i - 1].endsWith(request)))
            << line.toStdString();
    }
}

// A 429 or 503 with Retry-After: the next request of the job waits the longer of it (at most 300 s) and
// the retry pause, with a log line that says why.
TEST_F(JobWorkerTest, RetryAfterIsHonoured) {
    struct Case {
        int status;
        const char* header;
        int pausedSeconds;
    };
    for (const Case c : {Case{429, "7", 7}, Case{503, "1000", 300}, Case{429, "0", 1}, Case{503, "soon", 1}}) {
        SCOPED_TRACE(c.header);
        QDir(settings.layout.root).removeRecursively();
        const auto job = build(area(1, 1));
        const std::string tile = targets(*job)[0].toStdString();
        std::atomic<int> asked = 0;
        server.setFallback([&, c](const std::string&) {
            if (asked++ > 0) return ScriptedAnswer{200, goodTile};
            ScriptedAnswer a{c.status, "wait", "text/plain"};
            a.headers = {{"Retry-After", c.header}};
            return a;
        });
        const auto before = clock.now();
        const JobSummary summary = runJob(host, job);
        EXPECT_EQ(summary.obtained, 1);
        EXPECT_EQ(clock.now() - before, std::chrono::seconds(c.pausedSeconds));
        const bool logged = jobs->log(*job).contains(
            QStringLiteral("пауза %1 с по просьбе сервера (Retry-After)").arg(c.pausedSeconds));
        EXPECT_EQ(logged, QByteArray(c.header) != "soon");
    }
}

TEST(RetryAfter, SecondsOrHttpDate) {
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0), QTimeZone::utc());
    EXPECT_EQ(parseRetryAfter("120", now), 120);
    EXPECT_EQ(parseRetryAfter("Thu, 10 Dec 2026 12:01:30 GMT", now), 90);
    EXPECT_EQ(parseRetryAfter("Thu, 10 Dec 2026 11:00:00 GMT", now), 0);
    EXPECT_EQ(parseRetryAfter("-5", now), -1);
    EXPECT_EQ(parseRetryAfter("soon", now), -1);
}

// The generation pass: each listed tile's parent from its four children, the job level first, so that a
// parent built from one level's tiles serves the level above. "Keep" builds only what is missing.
TEST_F(JobWorkerTest, GenerationBuildsParentsLevelByLevel) {
    // The north-west sixteenth of the world at level 3 is the four children of "tqq".
    const auto tile = [](const char* letters) { return *geo::TileId::fromName(QString::fromLatin1(letters)); };
    for (const char* child : {"tqqq", "tqqr", "tqqs", "tqqt"})
        folder.write(QDir(folder.path()).relativeFilePath(satellitePath(settings.layout, tile(child))),
                     solidJpeg(Qt::blue));
    const QString parent = satellitePath(settings.layout, tile("tqq"));
    struct Case {
        bool replace;
        bool parentCached;
        bool rebuilt;
    };
    for (const Case c : {Case{false, false, true}, Case{false, true, false}, Case{true, true, true}}) {
        SCOPED_TRACE(testing::Message() << c.replace << c.parentCached);
        QFile::remove(parent);
        if (c.parentCached) folder.write(QDir(folder.path()).relativeFilePath(parent), solidJpeg(Qt::red));
        JobDefinition d;
        d.kind = JobKind::Generate;
        d.level = 3;
        d.topLeft = {85.0, 179.9};
        d.bottomRight = {66.6, 90.1};
        d.replaceExisting = c.replace;
        d.jpegQuality = 90;
        const auto job = build(d);
        EXPECT_EQ(job->tileCount, 6); // 4 at level 3, then 1 at level 2 and 1 at level 1
        const JobSummary summary = runJob(host, job);
        EXPECT_EQ(summary.tilesDone, 6);
        EXPECT_TRUE(server.requests().isEmpty());
        ASSERT_TRUE(QFile::exists(parent));
        EXPECT_TRUE(nearColour(decoded(fileBytes(parent)).pixelColor(200, 200), c.rebuilt ? Qt::blue : Qt::red));
        // The level above has one tile of four: nothing further up is built.
        EXPECT_FALSE(QFile::exists(satellitePath(settings.layout, tile("tq"))));
        const QStringList log = jobs->log(*job);
        EXPECT_TRUE(log[3].startsWith(QStringLiteral("Начата генерация слоев в10.12.2026"))) << log[3].toStdString();
        EXPECT_TRUE(log.contains(QStringLiteral("Генерация вышележащих слоев")));
    }
}

// A download job runs the generation pass when lower-zoom generation is on at its end.
TEST_F(JobWorkerTest, DownloadGeneratesWhenAskedAtItsEnd) {
    const auto job = build(area(2, 2));
    limits.autoGenerate = true;
    runJob(host, job);
    EXPECT_TRUE(jobs->log(*job).contains(QStringLiteral("Генерация вышележащих слоев")));
}

// An unexpected failure inside the run is logged; the job still leaves the list and the busy flag clears.
TEST_F(JobWorkerTest, FailureInsideEndsTheJobCleanly) {
    for (int connections : {1, 3}) {
        SCOPED_TRACE(connections);
        host.connections = connections;
        limitsThrow = true;
        jobs->workerBusy = true;
        const auto job = build(area(2, 2));
        runJob(host, job);
        const QStringList log = jobs->log(*job);
        EXPECT_TRUE(log.contains(QStringLiteral("сбой задания: limits unreadable")));
        EXPECT_EQ(log.last(), QStringLiteral("выполнено в") + jobDateTimeText(clock.wallNow(), host.locale));
        EXPECT_EQ(jobs->size(), 0);
        EXPECT_FALSE(jobs->workerBusy);
    }
}

// Queued jobs start newest first; a job whose list is empty leaves the list at once.
TEST_F(JobWorkerTest, NewestQueuedJobStartsNextOnTheWorkerThread) {
    const auto older = build(area(1, 1));
    const auto newer = build(area(2, 1));
    JobDefinition empty = area(1, 1);
    empty.topLeft = empty.bottomRight = {51.5, -1e-7}; // no width, a hair east of a tile's west edge
    const auto none = build(empty);
    EXPECT_EQ(none->tileCount, 0);
    EXPECT_EQ(jobs->jobs(), (std::vector<JobList::JobPtr>{newer, older}));

    QEventLoop loop;
    std::vector<int> ended;
    auto startNext = [&] {
        return JobWorker::startNext(host, 59, [&](JobWorker& worker) {
                   QObject::connect(&worker, &JobWorker::jobEnded, &loop, [&](const JobSummary& s) {
                       ended.push_back(s.tileCount);
                       loop.quit();
                   });
               }) != nullptr;
    };
    ASSERT_TRUE(startNext());
    EXPECT_EQ(JobWorker::startNext(host, 59), nullptr); // one worker at a time
    QTimer deadline;
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(20s);
    loop.exec();
    ASSERT_TRUE(startNext());
    loop.exec();
    EXPECT_EQ(ended, (std::vector<int>{2, 1}));
    EXPECT_TRUE(jobs->log(*newer)[3].startsWith(QStringLiteral("Запуск потока 10.12.2026")));
    EXPECT_FALSE(startNext()); // nothing left
}
