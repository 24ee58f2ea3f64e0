#include "jobs/tile_loop.h"

#include "geo/mirror_random.h"
#include "jobs/stitched_image.h"
#include "tiles/http_client.h"
#include "tiles/imaging.h"
#include "tiles/tile_record.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace zelvano {

namespace {

using namespace std::chrono_literals;

constexpr auto kLongestServerPause = 300s;

class TileLoop {
public:
    TileLoop(const JobHost& host, stichtype& job)
        : host_(host), job_(job), stop_(job.cancel.get_token()), next_(static_cast<long>(job.tiles.size()) - 1),
          connections_(std::clamp(host.connections, 1, 8)),
          canvas_(job.isStitch && job.image ? StitchCanvas::of(*job.image) : StitchCanvas{}) {}

    TileLoopResult run() {
        std::vector<std::jthread> helpers;
        for (int i = 1; i < connections_; ++i)
            helpers.emplace_back([this] { connection(); });
        connection();
        helpers.clear(); // joins them
        if (failure_) std::rethrow_exception(failure_);
        if (mapOff_) job_.mapLayer = false;
        TileLoopResult result;
        result.obtained = obtained_;
        result.failed = failed_;
        result.skipped = skipped_;
        result.errors = errors_;
        return result;
    }

private:
    // The job side of one tile's fetches: with one connection the lines go to the log as they come, with
    // several they wait for the tile's end.
    class TileLog final : public FetchJob {
    public:
        TileLog(TileLoop& loop) : loop_(loop) {}
        ~TileLog() override { flush(); }
        void AppendLog(const QString& line) override {
            if (loop_.connections_ == 1)
                appendJobLog(loop_.host_, loop_.job_, line);
            else
                lines_.append(line);
        }
        void switchOffMapLayer() override { loop_.mapOff_ = true; }
        void flush() {
            if (lines_.isEmpty()) return;
            std::lock_guard lock(loop_.logMutex_);
            for (const QString& line : std::as_const(lines_))
                appendJobLog(loop_.host_, loop_.job_, line);
            lines_.clear();
        }

    private:
        TileLoop& loop_;
        QStringList lines_;
    };

    // One connection's share of the tiles. A failure ends every connection's work and reaches the worker
    // once they have all stopped.
    void connection() {
        geo::seedMirrorRandom();
        try {
            while (!stop_.stop_requested()) {
                const JobTile* node = take();
                if (!node) break;
                if (!process(*node)) break;
                ++job_.tilesDone;
            }
        } catch (...) {
            std::lock_guard lock(takeMutex_);
            if (!failure_) failure_ = std::current_exception();
            next_ = -1;
        }
        closeThreadConnections();
    }

    const JobTile* take() {
        std::lock_guard lock(takeMutex_);
        if (next_ < 0) return nullptr;
        return &job_.tiles.built()[static_cast<std::size_t>(next_--)];
    }

    bool pastALimit(const JobLimits& limits) {
        std::lock_guard lock(countersMutex_);
        return limits.errorControl &&
               (errors_.writeErrors > limits.writeErrorLimit || errors_.fetchErrors > limits.fetchErrorLimit ||
                errors_.badFileErrors > limits.badFileErrorLimit);
    }

    // One tile: false when the job's stop ended it before it was done.
    bool process(const JobTile& node) {
        JobLimits limits = host_.limits ? host_.limits() : JobLimits{};
        if (pastALimit(limits)) {
            ++skipped_;
            return true;
        }
        const FetchSettings& settings = *host_.fetch.settings;
        jtype record = makeTileRecord(node.tile, settings.templates, settings.layout);
        record.x = node.x;
        record.y = node.y;
        TileLog log(*this);
        for (int retries = 0;;) {
            if (!waitForServerPause()) return false;
            FetchOptions options = fetchOptions(
                FetchMode::JobWorker, {job_.satelliteLayer, job_.mapLayer && !mapOff_.load(), job_.secondaryService},
                job_.internetOnly ? WorkMode::InternetOnly
                : job_.cacheOnly  ? WorkMode::CacheOnly
                                  : WorkMode::CacheAndInternet);
            options.pictureNeeded = job_.isStitch;
            const FetchOutcome outcome = FetchTile(record, options, host_.fetch, &log, stop_);
            if (outcome.usable) drawStitchTile(canvas_, record.bitmap, node.x, node.y);
            record.bitmap = QImage(); // released after every attempt
            count(outcome);
            if (outcome.usable) {
                // Cache only, a tile missing there: the job takes the placeholder, but it has no tile.
                ++(outcome.source == TileSource::Placeholder ? failed_ : obtained_);
                return true;
            }
            if (outcome.error == FetchError::Stopped || stop_.stop_requested()) {
                ++failed_;
                return false;
            }
            if (outcome.retryAfterSeconds >= 0) pauseForServer(outcome, log);
            limits = host_.limits ? host_.limits() : JobLimits{};
            if (!limits.errorControl || retries > limits.retryCount) {
                ++failed_;
                drawFailed(node);
                return true;
            }
            ++retries;
            if (!host_.clock->sleepFor(std::chrono::milliseconds(job_.retryDelayMs), stop_)) {
                ++failed_;
                return false;
            }
        }
    }

    // "Не удалось загрузить" with the tile's name where the tile would be.
    void drawFailed(const JobTile& node) {
        if (!canvas_.bits) return;
        QImage scratch = newTileImage();
        DrawTileMessage(scratch, host_.fetch.shared->language->languageText(94), node.tile.letters());
        drawStitchTile(canvas_, scratch, node.x, node.y);
    }

    void count(const FetchOutcome& outcome) {
        std::lock_guard lock(countersMutex_);
        errors_.count(outcome);
    }

    // The server asked for a pause: every connection waits the longer of it (at most 5 minutes) and the
    // retry pause before its next request.
    void pauseForServer(const FetchOutcome& outcome, TileLog& log) {
        const auto asked =
            std::min<Clock::Duration>(std::chrono::seconds(outcome.retryAfterSeconds), kLongestServerPause);
        const auto pause = std::max<Clock::Duration>(asked, std::chrono::milliseconds(job_.retryDelayMs));
        {
            std::lock_guard lock(pauseMutex_);
            pauseUntil_ = std::max(pauseUntil_, host_.clock->now() + pause);
        }
        log.AppendLog(QStringLiteral("пауза %1 с по просьбе сервера (Retry-After)")
                          .arg(std::chrono::duration_cast<std::chrono::seconds>(pause).count()));
    }

    bool waitForServerPause() {
        Clock::TimePoint until;
        {
            std::lock_guard lock(pauseMutex_);
            until = pauseUntil_;
        }
        if (until <= host_.clock->now()) return !stop_.stop_requested();
        return host_.clock->sleepUntil(until, stop_);
    }

    const JobHost& host_;
    stichtype& job_;
    std::stop_token stop_;
    std::mutex takeMutex_;
    long next_; // index of the next tile in the built order, taken from the back
    std::exception_ptr failure_;
    const int connections_;
    const StitchCanvas canvas_; // a stitch job's image; the tiles' areas never overlap
    std::mutex logMutex_;
    std::mutex pauseMutex_;
    Clock::TimePoint pauseUntil_{};
    std::atomic<bool> mapOff_ = false;
    std::mutex countersMutex_;
    FetchCounters errors_; // the job's, all connections together
    std::atomic<int> obtained_ = 0, failed_ = 0, skipped_ = 0;
};

} // namespace

TileLoopResult runTileLoop(const JobHost& host, stichtype& job) {
    return TileLoop(host, job).run();
}

} // namespace zelvano
