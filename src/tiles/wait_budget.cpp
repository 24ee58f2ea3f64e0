#include "tiles/wait_budget.h"

#include "base/text_file.h"

#include <chrono>
#include <thread>

namespace zelvano {

bool WaitBudget::waitWhileReadOnly(const QString& path) {
    while (isReadOnly(path)) {
        if (left_ == 0) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        --left_;
    }
    return true;
}

} // namespace zelvano
