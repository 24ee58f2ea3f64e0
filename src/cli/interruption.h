// SIGINT and SIGTERM during a verb: they stop its work as the window's Cancel does, through a stop token
// that reaches the transfer at hand, and the verb then exits with 128 + the signal's number (130, 143).
// Create one on the main thread before the work starts; the token may be used on any thread.
#pragma once

#include "base/termination_signals.h"

#include <atomic>
#include <stop_token>
#include <thread>

namespace zelvano::cli {

class Interruption {
public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    std::stop_token token() const { return stop_.get_token(); }
    // The verb's exit status: 128 + the signal when one came, else `status`.
    int exitStatus(int status) const;

private:
    TerminationSignals signals_;
    std::stop_source stop_;
    std::atomic<int> signal_{0};
    std::thread watcher_;
};

} // namespace zelvano::cli
