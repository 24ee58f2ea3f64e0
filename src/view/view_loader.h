// The view loader: a thread at idle priority that fetches the tiles a drawing pass queued, in the order
// the pass visited them, draws each into the back buffer and asks the UI thread to repaint. A set stop
// flag makes it finish the tile at hand (it still goes into the cache) and drop the rest. Everything it
// touches is shared with the window through shared_ptr, so it may outlive the window safely.
#pragma once

#include "tiles/tile_fetcher.h"
#include "view/back_buffer.h"

#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace zelvano {

// The window's state that loaders share: the downloaded-bytes meter and the overlay cut-off (inside the
// fetch context) and the number of loaders still running.
struct ViewShared {
    explicit ViewShared(std::shared_ptr<const LanguageTable> table) : language(std::move(table)), meter(*language) {}

    std::shared_ptr<const LanguageTable> language;
    DownloadMeter meter;
    std::atomic<int> overlayCutoff{kOverlayCutoffReset};
    std::atomic<int> loaderCount{0};
};

class ViewLoader : public QThread {
    Q_OBJECT
public:
    // `repaint` is called on the loader thread and must only post work to the UI thread.
    ViewLoader(std::vector<jtype> queue, std::shared_ptr<const FetchSettings> settings,
               std::shared_ptr<ViewShared> shared, FetchOptions options, std::shared_ptr<BackBuffer> buffer,
               std::shared_ptr<std::atomic<bool>> stop, std::function<void()> repaint);

    // The tiles it fetched, in order (for tests and the benchmark).
    const std::vector<QString>& fetched() const { return fetched_; }

protected:
    void run() override;

private:
    std::vector<jtype> queue_;
    std::shared_ptr<const FetchSettings> settings_;
    std::shared_ptr<ViewShared> shared_;
    FetchOptions options_;
    std::shared_ptr<BackBuffer> buffer_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::function<void()> repaint_;
    std::vector<QString> fetched_;
};

} // namespace zelvano
