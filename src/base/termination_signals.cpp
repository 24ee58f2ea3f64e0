#include "base/termination_signals.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace zelvano {

namespace {

volatile std::sig_atomic_t writeEnd = -1;

void onSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto n = ::write(writeEnd, &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    readEnd_ = ends[0];
    writeEnd = ends[1];
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    if (!ok()) return;
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    ::close(readEnd_);
    ::close(writeEnd);
    writeEnd = -1;
}

void TerminationSignals::wakeReader() const {
    const unsigned char byte = 0;
    if (ok()) [[maybe_unused]]
        const auto n = ::write(writeEnd, &byte, 1);
}

} // namespace zelvano
