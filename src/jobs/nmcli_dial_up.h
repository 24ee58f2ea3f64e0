// Dial-up through NetworkManager's command-line client: the entries are its connection profiles of the
// dial-up kinds (mobile broadband, CDMA, PPPoE, Bluetooth), a dial brings one up and waits for it, and
// hanging up takes it down. The password reaches nmcli through a private temporary file, never through
// its command line. Calls block the calling thread for as long as nmcli runs.
#pragma once

#include "jobs/dial_up.h"

namespace zelvano {

class NmcliDialUp final : public DialUp {
public:
    explicit NmcliDialUp(QString program = QStringLiteral("nmcli")) : program_(std::move(program)) {}

    QStringList entryNames() override;
    DialResult dial(const QString& entry, const QString& user, const QString& password) override;
    QStringList activeConnections() override;
    bool hangUp(const QString& connection) override;

private:
    struct Profile {
        QString name;
        QString type; // nmcli's connection type: gsm, cdma, pppoe, bluetooth
    };
    QList<Profile> profiles(bool activeOnly, DialResult* failure = nullptr);

    QString program_;
};

// One line of nmcli's terse output split at its unescaped colons ("a\:b:c" gives "a:b" and "c").
QStringList splitTerseLine(const QString& line);

} // namespace zelvano
