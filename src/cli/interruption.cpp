#include "cli/interruption.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace zelvano::cli {

namespace {

int signalPipe[2] = {-1, -1};

// Async-signal-safe: the signal's number goes down the pipe to the watcher thread.
void onSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

Interruption::Interruption() {
    if (::pipe2(signalPipe, O_CLOEXEC) != 0) return;
    watcher_ = std::thread([this] {
        for (;;) {
            unsigned char byte = 0;
            const auto n = ::read(signalPipe[0], &byte, 1);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0 || byte == 0) return; // 0: the verb is done
            int expected = 0;
            signal_.compare_exchange_strong(expected, byte);
            stop_.request_stop();
        }
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

Interruption::~Interruption() {
    if (!watcher_.joinable()) return;
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    const unsigned char done = 0;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &done, 1);
    watcher_.join();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

int Interruption::exitStatus(int status) const {
    const int signal = signal_.load();
    return signal != 0 ? 128 + signal : status;
}

} // namespace zelvano::cli
