// A clock for tests: time stands still until a sleep or the test moves it, so waits take no real time.
// Counts the sleeps it was asked for. Its wall time starts at 10 December 2026, 12:00:00. Any thread.
#pragma once

#include "base/clock.h"

#include <atomic>
#include <functional>

namespace zelvano::test {

class ManualClock final : public Clock {
public:
    TimePoint now() const override { return TimePoint(Duration(ticks_.load())); }
    QDateTime wallNow() const override {
        return QDateTime(QDate(2026, 12, 10), QTime(12, 0))
            .addMSecs(std::chrono::duration_cast<std::chrono::milliseconds>(Duration(ticks_.load())).count());
    }
    bool sleepUntil(TimePoint deadline, std::stop_token stop) const override {
        ++sleeps_;
        if (onSleep_) onSleep_();
        if (stop.stop_requested()) return false;
        if (deadline > now()) ticks_ = deadline.time_since_epoch().count();
        return true;
    }
    void advance(Duration d) { ticks_ += d.count(); }
    int sleeps() const { return sleeps_.load(); }
    // Runs at the start of every sleep, on the sleeping thread; set it before the clock is shared.
    void onSleep(std::function<void()> f) { onSleep_ = std::move(f); }

private:
    mutable std::atomic<Duration::rep> ticks_{0};
    mutable std::atomic<int> sleeps_{0};
    std::function<void()> onSleep_;
};

} // namespace zelvano::test
