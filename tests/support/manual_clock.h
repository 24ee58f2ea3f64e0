// A clock for tests: time stands still until a sleep or the test moves it, so waits take no real time.
// Counts the sleeps it was asked for. Any thread.
#pragma once

#include "base/clock.h"

#include <atomic>

namespace zelvano::test {

class ManualClock final : public Clock {
public:
    TimePoint now() const override { return TimePoint(Duration(ticks_.load())); }
    bool sleepUntil(TimePoint deadline, std::stop_token stop) const override {
        ++sleeps_;
        if (stop.stop_requested()) return false;
        if (deadline > now()) ticks_ = deadline.time_since_epoch().count();
        return true;
    }
    void advance(Duration d) { ticks_ += d.count(); }
    int sleeps() const { return sleeps_.load(); }

private:
    mutable std::atomic<Duration::rep> ticks_{0};
    mutable std::atomic<int> sleeps_{0};
};

} // namespace zelvano::test
