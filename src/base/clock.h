// The time the program reads and the waits it makes: now() for intervals, wallNow() for the date and time
// shown to users and compared with a job's start time, and a sleep that ends at a time or as soon as
// a stop is requested. Code that waits takes a Clock, so tests can run time forward without sleeping.
// Any thread; the system clock is stateless and shared.
#pragma once

#include <QDateTime>

#include <chrono>
#include <stop_token>

namespace zelvano {

class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;

    virtual TimePoint now() const = 0;
    // The local date and time, moving with now() (a change of the system time aside).
    virtual QDateTime wallNow() const = 0;
    // Returns at `deadline` (true) or as soon as `stop` is requested (false).
    virtual bool sleepUntil(TimePoint deadline, std::stop_token stop = {}) const = 0;

    bool sleepFor(Duration duration, std::stop_token stop = {}) const {
        return sleepUntil(now() + duration, std::move(stop));
    }
};

// The steady clock of the machine.
const Clock& systemClock();

} // namespace zelvano
