#include "config/program_folder.h"
#include "config/settings_file.h"
#include "support/temp_program_folder.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace zelvano;

// A settings file that cannot be replaced: the close says so, naming the file, and the file stays as it was.
TEST(WindowFiles, ClosingTellsWhichSettingsFileWasNotWritten) {
    test::TempProgramFolder folder;
    Settings offline;
    offline.workMode = WorkMode::CacheOnly;
    ASSERT_TRUE(saveSettings(offline, folder.path()));
    const QByteArray before = folder.read(QStringLiteral("ZLV2.ini"));
    MainWindow window(folder.path());
    window.show();
    QFile::setPermissions(folder.file(QStringLiteral("ZLV2.ini")), QFileDevice::ReadOwner); // left alone
    QString title;
    QString text;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    watcher.start(20);
    window.close();
    EXPECT_EQ(title, window.language().languageText(36));
    EXPECT_EQ(text, window.language().languageText(35) + u'\n' + settingsFilePath(folder.path()));
    EXPECT_EQ(folder.read(QStringLiteral("ZLV2.ini")), before);
}
