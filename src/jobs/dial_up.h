// Dial-up connections for jobs that bracket their work with a call: the entries that can be dialled, a
// synchronous dial, the connections that are up and hanging one up. The desktop's backend lives in
// nmcli_dial_up.h; tests give their own. Calls block the calling thread (the UI thread for the test
// buttons, the job worker otherwise).
#pragma once

#include <QString>
#include <QStringList>

namespace zelvano {

struct DialResult {
    int code = 0;      // 0: the connection is up
    QString errorText; // for a failure, when the system can say what went wrong
    bool ok() const { return code == 0; }
};

class DialUp {
public:
    virtual ~DialUp() = default;

    // The names of the entries that can be dialled, in the system's order.
    virtual QStringList entryNames() = 0;
    // Returns when the connection is up or has failed.
    virtual DialResult dial(const QString& entry, const QString& user, const QString& password) = 0;
    // The dial-up connections that are up now.
    virtual QStringList activeConnections() = 0;
    virtual bool hangUp(const QString& connection) = 0;
};

// Hangs up every active dial-up connection, the last listed first, until none is listed. A connection that
// refuses to go down ends the loop instead of repeating it forever.
void hangUpAll(DialUp& dialUp);

} // namespace zelvano
