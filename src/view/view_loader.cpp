#include "view/view_loader.h"

#include "geo/mirror_random.h"

#include <QElapsedTimer>
#include <QPainter>

namespace zelvano {

namespace {

constexpr qint64 kRepaintAfterNs = 186'000'000; // 2.15e-6 days

} // namespace

ViewLoader::ViewLoader(std::vector<jtype> queue, std::shared_ptr<const FetchSettings> settings,
                       std::shared_ptr<ViewShared> shared, FetchOptions options, std::shared_ptr<BackBuffer> buffer,
                       std::shared_ptr<std::atomic<bool>> stop, std::function<void()> repaint)
    : queue_(std::move(queue)), settings_(std::move(settings)), shared_(std::move(shared)), options_(options),
      buffer_(std::move(buffer)), stop_(std::move(stop)), repaint_(std::move(repaint)) {
    options_.fromWorker = true;
    options_.deferNetwork = false;
    options_.jobMode = false;
}

void ViewLoader::run() {
    geo::seedMirrorRandom();
    FetchContext context;
    context.settings = settings_;
    context.language = shared_->language.get();
    context.meter = &shared_->meter;
    context.overlayCutoff = &shared_->overlayCutoff;
    FetchCounters counters;
    bool lastRepainted = false;
    for (jtype& r : queue_) {
        if (*stop_) break; // the tiles left are dropped
        QElapsedTimer timer;
        timer.start();
        lastRepainted = false;
        const bool nothingNew = FetchTile(r, options_, context, nullptr, &counters);
        fetched_.push_back(r.satRequest);
        if (!nothingNew && !*stop_) {
            if (!r.bitmap.isNull()) {
                // Waits for the canvas: the paint handler holds it only to copy the picture, and a tile
                // skipped here would stay a placeholder until the next pass.
                auto guard = buffer_->lock();
                QPainter painter(&buffer_->image());
                painter.drawImage(QRect(r.x, r.y, 256, 256), r.bitmap);
            }
            if (timer.nsecsElapsed() > kRepaintAfterNs) {
                repaint_();
                lastRepainted = true;
            }
        }
        r.bitmap = QImage();
    }
    if (!lastRepainted) repaint_();
    --shared_->loaderCount; // the thread's connections close with the thread
}

} // namespace zelvano
