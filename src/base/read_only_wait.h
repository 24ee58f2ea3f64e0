// The read-only rule of every file the program reads or replaces: while a file is read-only the program
// waits, at most ten checks 5 ms apart, and then leaves it alone. One tile operation shares one budget of
// ten waits over all its files. Blocking; each budget belongs to the thread that uses it.
#pragma once

#include "base/clock.h"

#include <QString>

namespace zelvano {

// True when the file exists and carries no owner write permission: the program never replaces it.
bool isReadOnly(const QString& path);

class WaitBudget {
public:
    explicit WaitBudget(const Clock& clock = systemClock()) : clock_(clock) {}

    // Waits while the file is read-only, spending the budget; true when the file may be touched now.
    bool waitWhileReadOnly(const QString& path);

private:
    const Clock& clock_;
    int left_ = 10;
};

// A budget of its own for one file.
inline bool waitWhileReadOnly(const QString& path) {
    return WaitBudget().waitWhileReadOnly(path);
}

} // namespace zelvano
