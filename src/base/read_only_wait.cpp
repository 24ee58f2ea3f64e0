#include "base/read_only_wait.h"

#include <QFile>

namespace zelvano {

bool isReadOnly(const QString& path) {
    return QFile::exists(path) && !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

bool WaitBudget::waitWhileReadOnly(const QString& path) {
    while (isReadOnly(path)) {
        if (left_ == 0) return false;
        clock_.sleepFor(std::chrono::milliseconds(5));
        --left_;
    }
    return true;
}

} // namespace zelvano
