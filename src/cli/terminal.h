// stderr of a job verb, shared by the worker's log lines and the progress bar: a line clears the bar and
// the next tick draws it again. The bar is drawn only when stderr is a terminal. Any thread.
#pragma once

#include <QString>

#include <mutex>

namespace zelvano::cli {

class Terminal {
public:
    Terminal();

    void line(const QString& text);
    // "[#####.....] done/all  rate tiles/s  m:ss left"
    void progress(int done, int all, double seconds);
    void done();

private:
    const bool tty_;
    std::mutex mutex_;
};

} // namespace zelvano::cli
