// The settings dialog driven as a user drives it from the settings button: accepting without changes,
// the restore buttons, the enabling rules, the cache root, the layer buttons, the secondary service's
// folders, a language chosen, the cache conversion with its question, and the tab of Zelvano.ini.
#include "ui/window_fixture.h"

#include "base/text_file.h"
#include "config/extra_settings.h"
#include "tiles/cache_conversion.h"
#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace zelvano;
using test::in;
using test::onModal;

class SettingsTest : public test::WindowTest {
protected:
    // Opens the dialog with the settings button, lets `act` work on it, then presses OK or Cancel.
    void inDialog(const std::function<void(QWidget*)>& act, bool accept = true) {
        onModal("TForm5", [act, accept](QWidget* d) {
            act(d);
            in<QPushButton>(d, accept ? "OKBtn" : "CancelBtn")->click();
        });
        child<QToolButton>("ToolButton6")->click();
    }
};

TEST_F(SettingsTest, AcceptingWithoutChangesKeepsEverySettingAndWritesTheFile) {
    open();
    const Settings before = w().settings();
    QFile::remove(folder.file(QStringLiteral("ZLV2.ini")));
    bool inputOffMeanwhile = false;
    inDialog([&](QWidget*) { inputOffMeanwhile = !child<QFrame>("Panel1")->isEnabled(); });
    EXPECT_TRUE(inputOffMeanwhile);
    EXPECT_TRUE(child<QFrame>("Panel1")->isEnabled());
    EXPECT_EQ(w().settings(), before);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("ZLV2.ini"))));

    // Cancel gives the input back as well, and the dialog opens again on the tab it was closed on.
    inDialog([](QWidget* d) { in<QTabWidget>(d, "PageControl1")->setCurrentIndex(4); }, false);
    EXPECT_TRUE(child<QFrame>("Panel1")->isEnabled());
    int reopenedOn = -1;
    inDialog([&](QWidget* d) { reopenedOn = in<QTabWidget>(d, "PageControl1")->currentIndex(); }, false);
    EXPECT_EQ(reopenedOn, 4);
}

// The restore buttons, the counters off with error control but not the log box, the cache root from the
// program folder while "Указать" is off (the folder text kept), both layers, the secondary folders.
TEST_F(SettingsTest, ControlsAndWhatTheyStore) {
    settings.primaryHybridTemplate = QStringLiteral("http://example.invalid/h?x=");
    open();
    const QString elsewhere = folder.file(QStringLiteral("elsewhere"));
    inDialog([&](QWidget* d) {
        in<QPushButton>(d, "ButtonS")->click();
        EXPECT_EQ(in<QLineEdit>(d, "Edit3")->text(), QString::fromUtf16(kDefaultHybridTemplate));
        in<QCheckBox>(d, "CheckBox3")->setChecked(false);
        EXPECT_FALSE(in<QSpinBox>(d, "Edit14")->isEnabled());
        EXPECT_FALSE(in<QLabel>(d, "Label23")->isEnabled());
        EXPECT_TRUE(in<QCheckBox>(d, "CheckBox8")->isEnabled());
        in<QCheckBox>(d, "CheckBox4")->setChecked(true);
        in<QLineEdit>(d, "Edit16")->setText(elsewhere);
        in<QCheckBox>(d, "CheckBox4")->setChecked(false);
        in<QRadioButton>(d, "RadioButton8")->click();
        in<QRadioButton>(d, "RadioButton10")->click();
    });
    const Settings& s = w().settings();
    EXPECT_EQ(s.primaryHybridTemplate, QString::fromUtf16(kDefaultHybridTemplate));
    EXPECT_EQ(s.primaryMapTemplate, QString::fromUtf16(kDefaultMapTemplate));
    EXPECT_FALSE(s.errorControl);
    EXPECT_FALSE(s.useCacheFolder);
    EXPECT_EQ(s.cacheFolder, elsewhere);
    EXPECT_EQ(cacheRoot(s, folder.path()), folder.path() + QStringLiteral("/Cache/"));
    EXPECT_TRUE(s.viewSatellite && s.viewMap);
    EXPECT_TRUE(s.useSecondaryService);
    for (const char* layer : {"vea", "veh", "ver"}) {
        const QDir levels(folder.file(QStringLiteral("Cache/virtualearth/")) + QLatin1StringView(layer));
        EXPECT_EQ(levels.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 24) << layer;
        EXPECT_FALSE(levels.exists(QStringLiteral("25")));
    }
    inDialog([](QWidget* d) { in<QRadioButton>(d, "RadioButton7")->click(); });
    EXPECT_TRUE(w().settings().viewSatellite);
    EXPECT_FALSE(w().settings().viewMap);
}

// English chosen in the list relabels the main window and the dialog at once and stays after Cancel.
TEST_F(SettingsTest, EnglishAtOnce) {
    open();
    EXPECT_EQ(child<QPushButton>("SpeedButton2")->text(), QStringLiteral("Выполнить"));
    inDialog(
        [&](QWidget* d) {
            auto* list = in<QListWidget>(d, "ListBox2");
            const auto english = list->findItems(QStringLiteral("English.txt"), Qt::MatchExactly);
            ASSERT_EQ(english.size(), 1);
            list->setCurrentItem(english.first());
            static_cast<SettingsDialog*>(d)->ListBox2Click();
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Settings"));
            EXPECT_EQ(child<QPushButton>("SpeedButton2")->text(), QStringLiteral("Run"));
            EXPECT_EQ(w().findChild<QDialog*>(QStringLiteral("TOKBottomDlg"))->windowTitle(),
                      QStringLiteral("Options"));
        },
        false);
    EXPECT_EQ(w().settings().languageFile, QStringLiteral("English.txt"));
    EXPECT_EQ(child<QPushButton>("SpeedButton2")->text(), QStringLiteral("Run"));
}

// "Преобразовать в новый": Cancel at the question moves nothing but keeps the folders; OK moves the tile
// and shows the per-layer layout with both layers.
TEST_F(SettingsTest, CacheConversionFromTheDialog) {
    settings.singleFolderCache = true;
    open();
    const QByteArray tile = test::jpegTile(5);
    ASSERT_TRUE(writeFileAtomically(folder.file(QStringLiteral("Cache/ab.jpg")), tile));
    // The view's own tiles lie in the root too, in this layout.
    const int count = static_cast<int>(conversionSources(folder.file(QStringLiteral("Cache"))).size());
    ASSERT_GE(count, 1);
    const QString question = QStringLiteral("Обнаружено %1  файлов").arg(count);
    const auto answer = [question](QMessageBox::StandardButton button) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, button, question] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll->stop();
            poll->deleteLater();
            EXPECT_TRUE(box->text().startsWith(question)) << box->text().toStdString();
            box->button(button)->click();
        });
        poll->start(5);
    };
    inDialog(
        [&](QWidget* d) {
            answer(QMessageBox::Cancel);
            in<QPushButton>(d, "Button4")->click();
            EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Cache/ab.jpg"))));
            EXPECT_TRUE(QDir(folder.file(QStringLiteral("Cache/kh/03"))).exists());
            EXPECT_TRUE(in<QCheckBox>(d, "CheckBox12")->isChecked());
            answer(QMessageBox::Ok);
            in<QPushButton>(d, "Button4")->click();
            EXPECT_FALSE(in<QCheckBox>(d, "CheckBox12")->isChecked());
            EXPECT_TRUE(in<QRadioButton>(d, "RadioButton8")->isChecked());
            EXPECT_TRUE(d->isEnabled());
            auto* progress = d->findChild<QDialog*>(QStringLiteral("TForm3"));
            ASSERT_TRUE(progress);
            EXPECT_FALSE(progress->isVisible());
            EXPECT_EQ(in<QLabel>(progress, "Label1")->text(), QStringLiteral("Всего: %1").arg(count));
            EXPECT_EQ(in<QLabel>(progress, "Label2")->text(), QStringLiteral("Выполнено: %1").arg(count));
        },
        false);
    EXPECT_EQ(folder.read(QStringLiteral("Cache/kh/03/tab.jpg")), tile);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cache/ab.jpg"))));
    EXPECT_TRUE(w().settings().singleFolderCache); // Cancel: the layout setting is the dialog's to change
}

TEST_F(SettingsTest, ConnectionsOnTheirOwnTab) {
    open();
    inDialog([](QWidget* d) { in<QSpinBox>(d, "SpinConnections")->setValue(5); });
    EXPECT_EQ(loadExtraSettings(folder.path()).downloadConnections, 5);
}

// The additional caches: the list comes from CacheList.dat, "Удалить" needs a selection and writes the
// list at once, kept whatever becomes of the dialog.
TEST_F(SettingsTest, AdditionalCachesWrittenAtOnce) {
    ASSERT_TRUE(writeTextLines(folder.file(QStringLiteral("CacheList.dat")), {"/srv/one", "/srv/two"}));
    settings.useExtraCaches = true;
    open();
    inDialog(
        [&](QWidget* d) {
            auto* list = in<QListWidget>(d, "ListBox1");
            ASSERT_EQ(list->count(), 2);
            EXPECT_FALSE(list->isHidden()); // shown, on its tab
            EXPECT_FALSE(in<QPushButton>(d, "Button3")->isEnabled());
            list->setCurrentRow(0);
            EXPECT_TRUE(in<QPushButton>(d, "Button3")->isEnabled());
            EXPECT_EQ(list->toolTip(), QStringLiteral("/srv/one"));
            in<QPushButton>(d, "Button3")->click();
            EXPECT_EQ(readTextLines(folder.file(QStringLiteral("CacheList.dat"))), QStringList{"/srv/two"});
        },
        false);
    EXPECT_EQ(readTextLines(folder.file(QStringLiteral("CacheList.dat"))), QStringList{"/srv/two"});
}
