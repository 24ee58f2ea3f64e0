// SIGINT and SIGTERM as bytes on a pipe: the handler only writes the signal's number to it, so that an
// event loop or a thread of the program reacts outside the handler. One per process; the first call on the
// main thread, before the work that the signals end starts.
#pragma once

namespace zelvano {

class TerminationSignals {
public:
    // Without a pipe (ok() false) the signals keep their defaults; the destructor puts the defaults back.
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool ok() const { return readEnd_ >= 0; }
    // The descriptor to read the numbers from (a byte each).
    int readEnd() const { return readEnd_; }
    // Writes a byte of 0 down the pipe, which no signal writes: wakes a reader to make it stop.
    void wakeReader() const;

private:
    int readEnd_ = -1;
};

} // namespace zelvano
