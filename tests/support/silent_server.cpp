#include "support/silent_server.h"

#include <stdexcept>
#include <vector>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zelvano::test {

SilentServer::SilentServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe(wake_) != 0)
        throw std::runtime_error("silent server cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
        std::vector<int> accepted; // held open, never read or written
        for (;;) {
            pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) continue;
            if (fds[1].revents) break;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                accepted.push_back(fd);
                std::lock_guard lock(mutex_);
                ++connections_;
                arrived_.notify_all();
            }
        }
        for (const int fd : accepted)
            ::close(fd);
    });
}

SilentServer::~SilentServer() {
    const char byte = 0;
    [[maybe_unused]] const auto n = ::write(wake_[1], &byte, 1);
    thread_.join();
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

QString SilentServer::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

int SilentServer::connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

bool SilentServer::waitForConnections(int n, int ms) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return connections_ >= n; });
}

} // namespace zelvano::test
