#include "cli/interruption.h"

#include <cerrno>

#include <unistd.h>

namespace zelvano::cli {

Interruption::Interruption() {
    if (!signals_.ok()) return;
    watcher_ = std::thread([this] {
        for (;;) {
            unsigned char byte = 0;
            const auto n = ::read(signals_.readEnd(), &byte, 1);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0 || byte == 0) return; // 0: the verb is done
            int none = 0;
            signal_.compare_exchange_strong(none, byte);
            stop_.request_stop();
        }
    });
}

Interruption::~Interruption() {
    if (!watcher_.joinable()) return;
    signals_.wakeReader();
    watcher_.join();
}

int Interruption::exitStatus(int status) const {
    const int signal = signal_.load();
    return signal != 0 ? 128 + signal : status;
}

} // namespace zelvano::cli
