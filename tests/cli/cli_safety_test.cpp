#include "cli/cli_run.h"
#include "config/settings_file.h"
#include "support/small_disk.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <csignal>

#include <sys/resource.h>

using namespace zelvano;

namespace {

const QStringList kSave = {"settings", "--set", "viewZoom=7", "--save"};

void expectRefusedSave(const test::CliRun& run, const QByteArray& before, const QByteArray& after) {
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("Запись файла ZLV.ini невозможна")))
        << run.err.toStdString();
    EXPECT_EQ(after, before); // the old settings, whole
}

} // namespace

// A save that cannot be written whole is a failure: exit status 1 with the message, the old file kept.
TEST(CliSafety, ASaveThatFailsHalfWayKeepsTheOldSettings) {
    test::TempProgramFolder folder;
    Settings s;
    s.viewZoom = 3;
    ASSERT_TRUE(saveSettings(s, folder.path()));
    const QByteArray before = folder.read(QStringLiteral("ZLV2.ini"));
    const test::CliRun run = test::cli(folder.path(), kSave, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small = {200, 200}; // the 98 lines are longer than this
        setrlimit(RLIMIT_FSIZE, &small);
    });
    expectRefusedSave(run, before, folder.read(QStringLiteral("ZLV2.ini")));
}

TEST(CliSafety, ASaveOnAFullDiskKeepsTheOldSettings) {
    test::SmallDisk disk(256);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    Settings s;
    s.viewZoom = 3;
    ASSERT_TRUE(saveSettings(s, disk.path()));
    ASSERT_EQ(test::cli(disk.path(), {"settings"}).status, 0); // writes the language file while there is room
    QFile old(disk.file(QStringLiteral("ZLV2.ini")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    disk.fill();
    const test::CliRun run = test::cli(disk.path(), kSave);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    expectRefusedSave(run, before, old.readAll());
}

TEST(CliSafety, TheProxyPasswordIsMaskedUnlessAskedFor) {
    test::TempProgramFolder folder;
    Settings s;
    s.proxyUser = QStringLiteral("user");
    s.proxyPassword = QStringLiteral("s3cret");
    ASSERT_TRUE(saveSettings(s, folder.path()));
    const test::CliRun masked = test::cli(folder.path(), {"settings"});
    ASSERT_EQ(masked.status, 0);
    EXPECT_EQ(masked.json()["proxyPassword"].toString(), QStringLiteral("********"));
    EXPECT_EQ(masked.json()["proxyUser"].toString(), QStringLiteral("user"));
    EXPECT_FALSE(masked.out.contains("s3cret"));
    const test::CliRun shown = test::cli(folder.path(), {"settings", "--show-secrets"});
    EXPECT_EQ(shown.json()["proxyPassword"].toString(), QStringLiteral("s3cret"));
    // Saving a masked view writes the password the file had, not the mask.
    ASSERT_EQ(test::cli(folder.path(), {"settings", "--save"}).status, 0);
    EXPECT_TRUE(folder.read(QStringLiteral("ZLV2.ini")).contains("\r\ns3cret\r\n"));
}
