#include "view/view_loader.h"

#include "geo/mirror_random.h"
#include "view/draw_pass.h"

#include <QPainter>

#include <sys/resource.h>
#include <unistd.h>

namespace zelvano {

void LoaderCount::started() {
    std::lock_guard lock(mutex_);
    ++running_;
}

void LoaderCount::ended() {
    std::lock_guard lock(mutex_);
    if (--running_ == 0) none_.notify_all();
}

int LoaderCount::running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool LoaderCount::waitForNone(std::chrono::steady_clock::time_point deadline) const {
    std::unique_lock lock(mutex_);
    return none_.wait_until(lock, deadline, [this] { return running_ == 0; });
}

ViewLoader::ViewLoader(std::vector<jtype> queue, FetchContext context, const FetchOptions& options,
                       std::shared_ptr<BackBuffer> buffer, LoaderStops stops, std::shared_ptr<LoaderCount> count,
                       const Clock& clock)
    : queue_(std::move(queue)), context_(std::move(context)), options_(options.in(FetchMode::ViewLoader)),
      buffer_(std::move(buffer)), stops_(std::move(stops)), count_(std::move(count)), clock_(clock) {
    count_->started();
}

void ViewLoader::run() {
    // Below the UI thread, as an ordinary thread with a higher nice value: never the idle class, which a
    // busy machine starves. On Linux the nice value of one thread is its own.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kLoaderNice);
    geo::seedMirrorRandom();
    bool lastRepainted = false;
    for (jtype& r : queue_) {
        if (stopped()) break; // the tiles left are dropped
        const Clock::TimePoint started = clock_.now();
        lastRepainted = false;
        const FetchOutcome outcome = FetchTile(r, options_, context_, nullptr, stops_.abort);
        fetched_.push_back(r.tile);
        if (outcome.redraw && !stopped()) {
            if (!r.bitmap.isNull()) {
                // Waits for the canvas: the paint handler holds it only to copy the picture, and a tile
                // skipped here would stay a placeholder until the next pass.
                auto guard = buffer_->lock();
                QPainter painter(&buffer_->image());
                painter.drawImage(QRect(r.x, r.y, 256, 256), r.bitmap);
            }
            if (clock_.now() - started > kSlowTile) {
                emit tilesDrawn();
                lastRepainted = true;
            }
        }
        r.bitmap = QImage();
    }
    if (!lastRepainted) emit tilesDrawn();
    count_->ended(); // the thread's connections close with the thread
}

} // namespace zelvano
