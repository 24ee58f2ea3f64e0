// Starts zelvano-tileserver on a free loopback port for a benchmark.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace zelvano::bench {

// The port the server listens on, or 0 when it did not start.
inline int startTileServer(QProcess& server, const QStringList& extra = {}) {
    server.start(QStringLiteral(ZELVANO_TILESERVER),
                 QStringList{QStringLiteral("--port"), QStringLiteral("0")} + extra);
    QByteArray out;
    while (server.waitForReadyRead(10000)) {
        out += server.readAllStandardOutput();
        if (out.endsWith('\n')) return out.mid(out.lastIndexOf(':') + 1).trimmed().toInt();
    }
    return 0;
}

} // namespace zelvano::bench
