#include "config/settings_file.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

using namespace zelvano;

// A session logout (SIGTERM) or Ctrl+C (SIGINT) closes the window the normal way: the settings are saved.
TEST(App, TerminationSignalsCloseTheWindowAndSaveTheSettings) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        test::TempProgramFolder folder;
        Settings offline; // the default hosts are never asked
        offline.workMode = WorkMode::CacheOnly;
        ASSERT_TRUE(saveSettings(offline, folder.path()));
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZELVANO_HOME"), folder.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(ZELVANO_APP), {});
        ASSERT_TRUE(app.waitForStarted());
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
