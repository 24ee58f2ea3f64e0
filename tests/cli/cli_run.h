// Runs zelvano-cli on a program folder and collects what it said.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

namespace zelvano::test {

struct CliRun {
    int status = -1; // the exit status; -1 when it crashed or did not finish
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

// `inChild` runs in the child process before the program starts (limits, signals).
inline CliRun cli(const QString& folder, const QStringList& args, std::function<void()> inChild = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELVANO_HOME"), folder);
    p.setProcessEnvironment(env);
    if (inChild) p.setChildProcessModifier(inChild);
    p.start(QStringLiteral(ZELVANO_CLI), args);
    if (!p.waitForFinished(30000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace zelvano::test
