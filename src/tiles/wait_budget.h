// The read-only waits of one tile operation: at most ten 5 ms waits in all, shared by every file the
// operation reads or replaces. A file that stays read-only through the budget is left alone.
#pragma once

#include <QString>

namespace zelvano {

class WaitBudget {
public:
    // Waits while the file is read-only, spending the budget; true when the file may be touched now.
    bool waitWhileReadOnly(const QString& path);

private:
    int left_ = 10;
};

} // namespace zelvano
