#include "base/side_thread.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace zelvano {

namespace {

class Worker final : public SideThread {
public:
    Worker() : thread_([this] { loop(); }) {}
    ~Worker() override {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void start(std::function<void()> work) override {
        {
            std::lock_guard lock(mutex_);
            work_ = std::move(work);
            busy_ = true;
        }
        wake_.notify_one();
    }

    void wait() override {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return !busy_; });
    }

private:
    void loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return quit_ || work_; });
            if (!work_) return; // quit with nothing left to do
            std::function<void()> work = std::move(work_);
            work_ = nullptr;
            lock.unlock();
            work();
            lock.lock();
            busy_ = false;
            done_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::function<void()> work_;
    bool busy_ = false;
    bool quit_ = false;
    std::thread thread_; // last: it starts once the rest is made
};

} // namespace

SideThread& SideThread::ofThisThread() {
    thread_local Worker side;
    return side;
}

} // namespace zelvano
