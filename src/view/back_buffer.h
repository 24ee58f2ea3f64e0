// The view's back buffer: the picture the drawing pass and the view loaders compose and the paint handler
// copies to the screen. Shared by the UI thread and loader threads under the canvas lock, which each side
// holds for one tile or one copy at most. Held through shared_ptr so that a loader that outlives the window
// never touches freed memory.
#pragma once

#include <QImage>
#include <QSize>

#include <mutex>

namespace zelvano {

class BackBuffer {
public:
    // The canvas lock.
    std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }

    // Only under the lock.
    QImage& image() { return image_; }

    // Resizes, keeping the top-left part of the picture; new pixels are black. Takes the lock.
    void resize(QSize size);
    // Shrinks to the middle part of the picture, as the view shows it centred; no redraw needed.
    void cropCentred(QSize size);
    QSize size();

private:
    std::mutex mutex_;
    QImage image_;
};

} // namespace zelvano
