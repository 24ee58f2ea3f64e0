#include "jobs/nmcli_dial_up.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryFile>

namespace zelvano {

namespace {

constexpr int kDialTimeoutSeconds = 120;

bool isDialUpType(const QString& type) {
    return type == QLatin1StringView("gsm") || type == QLatin1StringView("cdma") ||
           type == QLatin1StringView("pppoe") || type == QLatin1StringView("bluetooth");
}

struct Run {
    bool started = false;
    int exitCode = -1;
    QString out;
    QString err;
};

Run runNmcli(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // messages we can show as they are
    p.setProcessEnvironment(env);
    p.start(program, args);
    Run run;
    if (!p.waitForStarted(10'000)) return run;
    run.started = true;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        run.err = QStringLiteral("nmcli did not answer in time");
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return run;
}

DialResult noNetworkManager() {
    return {-1, QStringLiteral("NetworkManager не найден (нет программы nmcli): подключение невозможно")};
}

} // namespace

QStringList splitTerseLine(const QString& line) {
    QStringList fields{QString()};
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'\\' && i + 1 < line.size()) {
            fields.last() += line[++i];
        } else if (c == u':') {
            fields << QString();
        } else {
            fields.last() += c;
        }
    }
    return fields;
}

QList<NmcliDialUp::Profile> NmcliDialUp::profiles(bool activeOnly, DialResult* failure) {
    QStringList args{QStringLiteral("-t"), QStringLiteral("-f"), QStringLiteral("NAME,TYPE"),
                     QStringLiteral("connection"), QStringLiteral("show")};
    if (activeOnly) args << QStringLiteral("--active");
    const Run run = runNmcli(program_, args, 30'000);
    QList<Profile> out;
    if (!run.started || run.exitCode != 0) {
        if (failure) *failure = run.started ? DialResult{run.exitCode, run.err} : noNetworkManager();
        return out;
    }
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = splitTerseLine(line);
        if (f.size() == 2 && isDialUpType(f[1])) out.push_back({f[0], f[1]});
    }
    return out;
}

QStringList NmcliDialUp::entryNames() {
    QStringList names;
    for (const Profile& p : profiles(false))
        names << p.name;
    return names;
}

QStringList NmcliDialUp::activeConnections() {
    QStringList names;
    for (const Profile& p : profiles(true))
        names << p.name;
    return names;
}

DialResult NmcliDialUp::dial(const QString& entry, const QString& user, const QString& password) {
    DialResult failure;
    const QList<Profile> all = profiles(false, &failure);
    if (failure.code != 0) return failure;
    const auto found = std::find_if(all.begin(), all.end(), [&](const Profile& p) { return p.name == entry; });
    if (found == all.end())
        return {-2, QStringLiteral("Нет подключения \"%1\" среди подключений NetworkManager").arg(entry)};
    // The bluetooth kind dials through its own modem settings; the others keep the user and password.
    const QString setting = found->type == QLatin1StringView("bluetooth") ? QStringLiteral("gsm") : found->type;
    if (!user.isEmpty()) {
        const Run modify = runNmcli(program_,
                                    {QStringLiteral("connection"), QStringLiteral("modify"), QStringLiteral("id"),
                                     entry, setting + QStringLiteral(".username"), user},
                                    30'000);
        if (!modify.started) return noNetworkManager();
        if (modify.exitCode != 0) return {modify.exitCode, modify.err};
    }
    QStringList args{QStringLiteral("--wait"),     QString::number(kDialTimeoutSeconds),
                     QStringLiteral("connection"), QStringLiteral("up"),
                     QStringLiteral("id"),         entry};
    QTemporaryFile secrets(QDir::tempPath() + QStringLiteral("/zelvano-dial-XXXXXX")); // mode 0600
    if (!password.isEmpty()) {
        if (!secrets.open()) return {-3, QStringLiteral("Нет временного файла для пароля: подключение отменено")};
        secrets.write((setting + QStringLiteral(".password:") + password + u'\n').toUtf8());
        secrets.flush();
        args << QStringLiteral("passwd-file") << secrets.fileName();
    }
    const Run up = runNmcli(program_, args, (kDialTimeoutSeconds + 10) * 1000);
    if (!up.started) return noNetworkManager();
    if (up.exitCode != 0) return {up.exitCode, up.err};
    return {};
}

bool NmcliDialUp::hangUp(const QString& connection) {
    const Run run = runNmcli(
        program_, {QStringLiteral("connection"), QStringLiteral("down"), QStringLiteral("id"), connection}, 60'000);
    return run.started && run.exitCode == 0;
}

} // namespace zelvano
