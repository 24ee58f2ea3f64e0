// The view loader: a thread below the UI thread (kLoaderNice) that fetches the tiles a drawing pass queued, in the
// order the pass visited them, draws each into the back buffer and reports it through tilesDrawn() (emitted on the
// loader thread; connect it queued). Two stops reach it: `dropRest` (the next pass) lets it finish the tile at hand,
// which still goes into the cache, and drop the rest; `abort` (closing the window) also ends the transfer at hand at
// once. Everything it touches is shared through shared_ptr, so it may outlive the window.
#pragma once

#include "base/clock.h"
#include "tiles/tile_fetcher.h"
#include "view/back_buffer.h"

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

namespace zelvano {

// The nice value of a loader thread: a little below the UI thread and ordinary work, so that it still has
// most of a fair share on a busy machine (with two busy processes on two cores, nice 10 made a cold view
// five times slower; the idle class, thirty times).
inline constexpr int kLoaderNice = 1;

// The number of loaders still running, and a wait for the last one to end. Any thread.
class LoaderCount {
public:
    void started();
    void ended();
    int running() const;
    // True when none runs any more; false when the deadline came first.
    bool waitForNone(std::chrono::steady_clock::time_point deadline) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable none_;
    int running_ = 0;
};

struct LoaderStops {
    std::stop_token dropRest;
    std::stop_token abort;
};

class ViewLoader : public QThread {
    Q_OBJECT
public:
    // Counts itself as started at once and as ended when run() returns. `options` are the pass's; the
    // loader fetches in view-loader mode.
    ViewLoader(std::vector<jtype> queue, FetchContext context, const FetchOptions& options,
               std::shared_ptr<BackBuffer> buffer, LoaderStops stops, std::shared_ptr<LoaderCount> count,
               const Clock& clock = systemClock());

    // The tiles it fetched, in order (for tests and the benchmark); read it after the thread ended.
    const std::vector<geo::TileId>& fetched() const { return fetched_; }

signals:
    // The back buffer holds new tiles: repaint the view.
    void tilesDrawn();

protected:
    void run() override;

private:
    bool stopped() const { return stops_.dropRest.stop_requested() || stops_.abort.stop_requested(); }

    std::vector<jtype> queue_;
    FetchContext context_;
    FetchOptions options_;
    std::shared_ptr<BackBuffer> buffer_;
    LoaderStops stops_;
    std::shared_ptr<LoaderCount> count_;
    const Clock& clock_;
    std::vector<geo::TileId> fetched_;
};

} // namespace zelvano
