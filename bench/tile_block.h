// What the job benchmarks share: a block of whole tiles at one level over central Europe with its box
// (a quarter pixel inside the block, so the grid walk gives exactly the block), and a program folder whose
// satellite template points at the benchmark's tile server.
#pragma once

#include "geo/tile_math.h"

#include <QProcess>
#include <QString>

namespace zelvano::bench {

struct TileBlock {
    geo::TileId corner; // the north-west tile
    QString bbox;       // WEST,SOUTH,EAST,NORTH for --bbox
};

inline TileBlock tileBlock(int level, int columns, int rows) {
    geo::Position nw{52.0, -5.0};
    const geo::TileLocation at = geo::LocateTile(level, nw);
    TileBlock b;
    b.corner = at.tile();
    geo::ShiftPosition(-at.pixelColumn, -at.pixelRow, level, nw); // the block's north-west corner
    geo::Position se = nw;
    geo::ShiftPosition(256 * columns, 256 * rows, level, se);
    geo::ShiftPosition(1, 1, level + 2, nw);
    geo::ShiftPosition(-1, -1, level + 2, se);
    b.bbox = QStringLiteral("%1,%2,%3,%4")
                 .arg(-nw.lonW, 0, 'f', 9)
                 .arg(se.lat, 0, 'f', 9)
                 .arg(-se.lonW, 0, 'f', 9)
                 .arg(nw.lat, 0, 'f', 9);
    return b;
}

inline QProcessEnvironment homeEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELVANO_HOME"), home);
    return env;
}

// zelvano-cli with the arguments on the program folder; true when it ended with status 0.
inline bool runCli(const QString& home, const QStringList& args) {
    QProcess cli;
    cli.setProcessEnvironment(homeEnvironment(home));
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.start(QStringLiteral(ZELVANO_CLI), args);
    return cli.waitForFinished(600000) && cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0;
}

// The satellite template at the server `base`, no mirrors, no lower-zoom generation.
inline bool setUpHome(const QString& home, const QString& base) {
    return runCli(home, {QStringLiteral("settings"), QStringLiteral("--save"), QStringLiteral("--set"),
                         QStringLiteral("primarySatelliteTemplate=") + base + QStringLiteral("/kh?v=99&n=404&t=t"),
                         QStringLiteral("--set"), QStringLiteral("primaryMirrors=false"), QStringLiteral("--set"),
                         QStringLiteral("autoGenerate=false")});
}

} // namespace zelvano::bench
