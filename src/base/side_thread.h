// A second thread that belongs to the calling thread, for one piece of work at a time done beside the
// caller's own (a download's decode check while its bytes are written). Made on first use, it lives as
// long as its owner thread. Only the owner thread calls it.
#pragma once

#include <functional>

namespace zelvano {

class SideThread {
public:
    // The calling thread's side thread.
    static SideThread& ofThisThread();

    // Runs `work` on the side thread; call wait() before starting the next piece.
    virtual void start(std::function<void()> work) = 0;
    // Returns when the work started last has finished.
    virtual void wait() = 0;

protected:
    virtual ~SideThread() = default;
};

} // namespace zelvano
