// The run of the map view, without widgets: the back buffer, the drawing passes, the view loaders they
// start with their stops and their bounded wait, and the fetch state they share (downloaded bytes, overlay
// cut-off). Every call on the UI thread; tilesArrived() comes from the session's own thread after a loader
// drew tiles. Destroying the session stops its loaders; they may run on and end safely.
#pragma once

#include "base/clock.h"
#include "view/draw_pass.h"
#include "view/view_loader.h"

#include <QObject>

#include <chrono>
#include <memory>
#include <stop_token>

namespace zelvano {

class ViewSession : public QObject {
    Q_OBJECT
public:
    explicit ViewSession(std::shared_ptr<const LanguageTable> language, const Clock& clock = systemClock(),
                         QObject* parent = nullptr);
    ~ViewSession() override;

    const std::shared_ptr<BackBuffer>& backBuffer() const { return buffer_; }
    DownloadMeter& meter() { return shared_->meter; }
    // What every fetch of this run shares, jobs' included: the language, the downloaded-bytes meter.
    std::shared_ptr<FetchShared> shared() const { return shared_; }

    // One drawing pass from the cache into the back buffer, with the overlay cut-off reset, then a loader
    // for the tiles it left; the loader before it stops at its next tile. Both read the session's clock.
    const DrawPassResult& refresh(DrawPassInput input, std::shared_ptr<const FetchSettings> settings);

    // The latest loader drops the tiles it has not fetched; the tile at hand still goes into the cache.
    void stopLatestLoader();
    // Every loader abandons its transfer at once and stops (closing the window).
    void stopAll();
    // Waits, without handling events, until no loader runs; false when `timeout` ran out first.
    bool waitForLoaders(std::chrono::milliseconds timeout) const;

    int runningLoaders() const { return loaders_->running(); }
    int passes() const { return passes_; }
    const DrawPassResult& lastPass() const { return lastPass_; }

signals:
    void tilesArrived();

private:
    const Clock& clock_;
    std::shared_ptr<FetchShared> shared_;
    std::shared_ptr<BackBuffer> buffer_ = std::make_shared<BackBuffer>();
    std::shared_ptr<LoaderCount> loaders_ = std::make_shared<LoaderCount>();
    std::stop_source latest_{std::nostopstate}; // the latest loader's; none when the last pass left nothing
    std::stop_source abort_;                    // every loader's
    DrawPassResult lastPass_;
    int passes_ = 0;
};

} // namespace zelvano
