#include "jobs/dial_up.h"

namespace zelvano {

void hangUpAll(DialUp& dialUp) {
    QString previous;
    for (QStringList active = dialUp.activeConnections(); !active.isEmpty(); active = dialUp.activeConnections()) {
        const QString last = active.last();
        if (last == previous || !dialUp.hangUp(last)) return;
        previous = last;
    }
}

} // namespace zelvano
