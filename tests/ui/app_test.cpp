#include "config/settings_file.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

#include <sys/time.h>

using namespace zelvano;

namespace {

// The program on the folder, working from its cache only: the default hosts are never asked.
void startOffline(QProcess& app, const test::TempProgramFolder& folder) {
    Settings offline;
    offline.workMode = WorkMode::CacheOnly;
    ASSERT_TRUE(saveSettings(offline, folder.path()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELVANO_HOME"), folder.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(ZELVANO_APP), {});
    ASSERT_TRUE(app.waitForStarted());
}

} // namespace

// A session logout (SIGTERM) or Ctrl+C (SIGINT) closes the window the normal way: the settings are saved.
TEST(App, TerminationSignalsCloseTheWindowAndSaveTheSettings) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        test::TempProgramFolder folder;
        QProcess app;
        ASSERT_NO_FATAL_FAILURE(startOffline(app, folder));
        // The language file is written while the window is built, after the signal handler is in place;
        // the settings file is then replaced at close only.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QFile::exists(folder.file(QStringLiteral("Language/Russian.txt"))); }, 20000));
        QFile::remove(folder.file(QStringLiteral("ZLV2.ini")));
        ::kill(static_cast<pid_t>(app.processId()), signal);
        ASSERT_TRUE(app.waitForFinished(30000));
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(app.exitCode(), 0);
        EXPECT_EQ(folder.read(QStringLiteral("ZLV2.ini")).count("\r\n"), 98);
        EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Language/Russian.txt"))));
    }
}

// What a crash left in the middle of writes: gone once the program has opened its folder, the cache's
// temporary tiles a moment later; what a live writer may still rename into place stays.
TEST(App, StaleTemporaryFilesGoAtStartUp) {
    test::TempProgramFolder folder;
    const QString dead = QStringLiteral(".part2147483646-3"); // of a process that no longer runs
    const QStringList stale = {QStringLiteral("ZLV2.ini") + dead, QStringLiteral("ZLV2.ini.Xy12Za"),
                               QStringLiteral("Language/Russian.txt") + dead,
                               QStringLiteral("Cache/kh/04/tqrs.jpg") + dead};
    const QString young = QStringLiteral("Cache/kh/04/tqrt.jpg") + dead;
    for (const QString& name : stale + QStringList{young})
        folder.write(name, "partial");
    const timeval twoMinutesAgo[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    for (const QString& name : stale)
        ::utimes(QFile::encodeName(folder.file(name)).constData(), twoMinutesAgo);

    QProcess app;
    ASSERT_NO_FATAL_FAILURE(startOffline(app, folder));
    for (const QString& name : stale) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(folder.file(name)); }, 20000));
    }
    EXPECT_TRUE(QFile::exists(folder.file(young)));
    app.terminate();
    ASSERT_TRUE(app.waitForFinished(30000));
}
