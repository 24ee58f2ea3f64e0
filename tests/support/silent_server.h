// A loopback server that takes connections and never answers: a transfer to it waits until its own
// timeout, or until the client gives up. Accepts on its own thread; any thread may ask how many came.
#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace zelvano::test {

class SilentServer {
public:
    SilentServer();
    ~SilentServer();

    QString base() const; // "http://127.0.0.1:<port>"
    int connections() const;
    // Waits (on a condition, at most `ms`) until at least `n` connections came; false when none did.
    bool waitForConnections(int n, int ms) const;

private:
    int listener_ = -1;
    int port_ = 0;
    int wake_[2] = {-1, -1};
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    int connections_ = 0;
    std::thread thread_;
};

} // namespace zelvano::test
