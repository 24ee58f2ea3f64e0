#include "base/clock.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace zelvano {

namespace {

class SystemClock final : public Clock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    QDateTime wallNow() const override { return QDateTime::currentDateTime(); }

    bool sleepUntil(TimePoint deadline, std::stop_token stop) const override {
        if (!stop.stop_possible()) {
            std::this_thread::sleep_until(deadline);
            return true;
        }
        // A private mutex and condition per sleep: the stop callback wakes exactly this sleeper.
        std::mutex mutex;
        std::condition_variable_any woken;
        std::unique_lock lock(mutex);
        return !woken.wait_until(lock, stop, deadline, [] { return false; }) && !stop.stop_requested();
    }
};

} // namespace

const Clock& systemClock() {
    static const SystemClock clock;
    return clock;
}

} // namespace zelvano
