#include "base/cp1251.h"
#include "tools/bookmarks.h"
#include "ui/coordinate_dialog.h"
#include "ui/coordinate_edit.h"
#include "ui/window_fixture.h"

#include <QGroupBox>
#include <QLineEdit>

using namespace zelvano;
using namespace zelvano::test;

class SearchTest : public WindowTest {
protected:
    QLineEdit* edit7() const { return child<QLineEdit>("Edit7"); }
    QLineEdit* edit10() const { return child<QLineEdit>("Edit10"); }
    QComboBox* scb() const { return child<QComboBox>("SCB"); }
    QComboBox* dcb() const { return child<QComboBox>("DCB"); }
    QComboBox* fcb() const { return child<QComboBox>("FCB"); }
    QComboBox* bookmarks() const { return child<QComboBox>("ComboBox1"); }

    // Keys as the platform delivers them: to the window, which previews each one, then to the widget
    // that has the focus.
    void type(const QString& text) {
        for (const QChar c : text) {
            const int key = c == u' ' ? Qt::Key_Space : c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_unknown;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(window->windowHandle(), &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(window->windowHandle(), &release);
        }
    }
    void focus(QWidget* w) {
        w->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([w] { return w->hasFocus(); }, 3000));
    }
    // Runs `action`, reading and closing the message box that opens meanwhile; false when none opened.
    template <class Action> bool answerBox(Action action, QString* text = nullptr, QString* title = nullptr) {
        QTimer watcher;
        bool seen = false;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = true;
                if (text) *text = box->text();
                if (title) *title = box->windowTitle();
                box->accept();
            }
        });
        watcher.start(20);
        action();
        return seen;
    }
};

// Typing goes through the window's key preview, which redraws the view on every key; the field keeps
// the focus and the caret, and every character reaches it.
TEST_F(SearchTest, TypingThroughTheWindowReachesTheField) {
    open();
    bookmarks()->setEditText(QStringLiteral("Дача"));
    focus(edit7());
    const int passes = window->drawingPasses();
    type(QStringLiteral("55 30 5 "));
    EXPECT_EQ(edit7()->text(), QStringLiteral("55°30,5'"));
    EXPECT_TRUE(edit7()->hasFocus());
    EXPECT_EQ(window->drawingPasses(), passes + 16); // each key redraws as it goes down and as it comes up
    EXPECT_EQ(bookmarks()->currentText(), QStringLiteral("---Новое Имя---")); // a new name is typed over it

    // The caret stays where the user puts it.
    edit7()->clear();
    type(QStringLiteral("5530"));
    edit7()->setCursorPosition(2);
    type(QStringLiteral(" "));
    EXPECT_EQ(edit7()->text(), QStringLiteral("55°30"));
    EXPECT_EQ(edit7()->cursorPosition(), 3);
    // Delete, which the platform gives a control code, is no typed character: it deletes.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(window->windowHandle(), &press);
    EXPECT_EQ(edit7()->text(), QStringLiteral("55°0"));

    // So does a selection, either way round: typing replaces it.
    focus(bookmarks());
    bookmarks()->lineEdit()->selectAll();
    type(QStringLiteral("Dacha"));
    EXPECT_EQ(bookmarks()->currentText(), QStringLiteral("Dacha"));
    bookmarks()->lineEdit()->setSelection(5, -3); // "cha", the caret before it
    type(QStringLiteral("y"));
    EXPECT_EQ(bookmarks()->currentText(), QStringLiteral("Day"));

    // Hemisphere keys, in Latin and on a Russian layout, choose the hemisphere and insert nothing.
    focus(edit10());
    type(QStringLiteral("e"));
    EXPECT_EQ(dcb()->currentText(), QStringLiteral("E"));
    type(QStringLiteral("ц"));
    EXPECT_EQ(dcb()->currentText(), QStringLiteral("W"));
    type(QStringLiteral("n x 1"));
    EXPECT_EQ(scb()->currentText(), QStringLiteral("N")); // "n" is no key of the longitude
    EXPECT_EQ(edit10()->text(), QStringLiteral("1"));     // the leading separator and the letters refused
    focus(edit7());
    type(QStringLiteral("ы"));
    EXPECT_EQ(scb()->currentText(), QStringLiteral("S"));
    EXPECT_EQ(edit7()->text(), QStringLiteral("55°0"));
}

// Leaving a field parses it: out of range keeps the value but takes the focus back; minutes that are not a
// number show an error box and keep the value the field had.
TEST_F(SearchTest, LeavingAFieldParsesIt) {
    open();
    focus(edit7());
    type(QStringLiteral("90"));
    edit10()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit7()->hasFocus(); }, 3000)); // back, without a message
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    edit7()->setText(QStringLiteral("33°30'"));
    scb()->setCurrentIndex(1); // S
    edit10()->setText(QStringLiteral("151°15'"));
    dcb()->setCurrentIndex(1); // E
    fcb()->setCurrentIndex(11);
    child<QPushButton>("SpeedButton1")->click();
    EXPECT_DOUBLE_EQ(window->viewCentre().position.lat, -33.5);
    EXPECT_DOUBLE_EQ(window->viewCentre().position.lonW, -151.25);
    EXPECT_EQ(window->viewCentre().zoom, 12);

    edit7()->setText(QStringLiteral("55°3x'")); // pasted
    QString text;
    QString title;
    EXPECT_TRUE(answerBox(
        [&] {
            edit10()->setFocus(Qt::MouseFocusReason); // leaving Edit7 parses it
            EXPECT_TRUE(QTest::qWaitFor([&] { return !text.isEmpty(); }, 3000));
        },
        &text, &title));
    EXPECT_EQ(title, QStringLiteral("Ошибка"));
    EXPECT_TRUE(text.contains(QStringLiteral("55°3x'")));
    // A later jump reads the fields again, says so again, and goes nowhere.
    QCoreApplication::processEvents();
    text.clear();
    fcb()->setCurrentIndex(3);
    const int passes = window->drawingPasses();
    EXPECT_TRUE(answerBox([&] { child<QPushButton>("SpeedButton1")->click(); }, &text));
    EXPECT_TRUE(text.contains(QStringLiteral("55°3x'")));
    EXPECT_EQ(window->viewCentre(), (ViewCentre{{-33.5, -151.25}, 12}));
    EXPECT_EQ(window->drawingPasses(), passes);
}

// The jump centres the view on the place at the chosen zoom and blinks the marker there 17 times.
TEST_F(SearchTest, TheJumpAndItsMarker) {
    open();
    fcb()->setCurrentIndex(4);
    child<QPushButton>("SpeedButton1")->click(); // both fields empty: 0, 0
    EXPECT_EQ(window->viewCentre(), (ViewCentre{{0, 0}, 5}));
    EXPECT_EQ(child<QSlider>("RxSlider1")->value(), 5);
    auto* marker = child<QLabel>("Image5");
    ASSERT_TRUE(marker->isVisible());
    EXPECT_EQ(marker->size(), QSize(20, 20));
    EXPECT_EQ(marker->pos(), view()->pos() + QPoint(view()->width() / 2 - 10, view()->height() / 2 - 10));
    EXPECT_TRUE(edit7()->hasFocus());
    int toggles = 0;
    struct Counter : QObject {
        int& n;
        explicit Counter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            n += e->type() == QEvent::Show || e->type() == QEvent::Hide;
            return false;
        }
    } counter(toggles);
    marker->installEventFilter(&counter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return toggles >= 17; }, 10000));
    QTest::qWait(600); // three more ticks: no further blink
    EXPECT_EQ(toggles, 17);
    EXPECT_FALSE(marker->isVisible());
}

TEST_F(SearchTest, BookmarksSavedDeletedAndChosen) {
    open();
    EXPECT_EQ(bookmarks()->count(), 1); // the designed item alone: no file
    struct Save {
        QString name;
        int zoomIndex; // -1: an empty zoom box
        int lat, lon;
        QString latText, lonText;
    };
    const Save saves[] = {
        {QStringLiteral("Home"), 11, 0, 1, QStringLiteral("55°45,123'"), QStringLiteral("37°36,456'")},
        {QStringLiteral("A name much longer than twenty"), 4, 1, 0, QStringLiteral("33°30'"), QStringLiteral("70")},
        {QStringLiteral("Пусто"), -1, 0, 1, QString(), QString()},
    };
    for (const Save& s : saves) {
        bookmarks()->setEditText(s.name);
        fcb()->setCurrentIndex(s.zoomIndex);
        scb()->setCurrentIndex(s.lat);
        dcb()->setCurrentIndex(s.lon);
        edit7()->setText(s.latText);
        edit10()->setText(s.lonText);
        child<QPushButton>("ButtonSave")->click();
        EXPECT_EQ(bookmarks()->currentIndex(), 0);
    }
    const QStringList lines = {
        QStringLiteral("Пусто                   N               E              "),
        QStringLiteral("A name much longer t 5  S33°30'         W70            "),
        QStringLiteral("Home                 12 N55°45,123'     E37°36,456'    "),
        QStringLiteral("____________________ N E"),
    };
    QByteArray expected;
    for (const QString& line : lines)
        expected += toCp1251(line) + "\r\n";
    EXPECT_EQ(folder.read(QStringLiteral("Favorites.dat")), expected);
    EXPECT_EQ(bookmarks()->currentText(), lines[0]);

    // Choosing one fills the search panel; the view stays until "Показать".
    const ViewCentre before = window->viewCentre();
    bookmarks()->activated(1);
    EXPECT_EQ(fcb()->currentText(), QStringLiteral("5"));
    EXPECT_EQ(scb()->currentText(), QStringLiteral("S"));
    EXPECT_EQ(dcb()->currentText(), QStringLiteral("W"));
    EXPECT_EQ(edit7()->text(), QStringLiteral("33°30'"));
    EXPECT_EQ(window->viewCentre(), before);
    child<QPushButton>("SpeedButton1")->click();
    EXPECT_DOUBLE_EQ(window->viewCentre().position.lat, -33.5);
    EXPECT_DOUBLE_EQ(window->viewCentre().position.lonW, 70);
    bookmarks()->activated(0); // an empty zoom box gives zoom 1
    EXPECT_EQ(fcb()->currentIndex(), 0);

    // The next start lists them sorted.
    window->close();
    window.reset();
    open();
    QStringList listed;
    for (int i = 0; i < bookmarks()->count(); ++i)
        listed.append(bookmarks()->itemText(i));
    EXPECT_EQ(listed, (QStringList{lines[3], lines[1], lines[2], lines[0]})); // as names sort, case aside
    EXPECT_EQ(bookmarks()->currentText(), QStringLiteral("---Новое Имя---"));

    // A name typed over the chosen item is no longer that item: nothing is deleted.
    bookmarks()->setCurrentIndex(0);
    focus(bookmarks());
    bookmarks()->lineEdit()->selectAll();
    type(QStringLiteral("Dacha"));
    child<QPushButton>("ButtonDel")->click();
    EXPECT_EQ(bookmarks()->count(), 4);

    // Deleted to the last one: the neutral text, and an empty file.
    while (bookmarks()->count() > 0) {
        bookmarks()->setCurrentIndex(0);
        child<QPushButton>("ButtonDel")->click();
    }
    EXPECT_EQ(bookmarks()->currentText(), QStringLiteral("---Новое Имя---"));
    EXPECT_EQ(folder.read(QStringLiteral("Favorites.dat")), QByteArray());
    child<QPushButton>("ButtonDel")->click(); // nothing chosen: nothing happens
}

// A Favorites.dat that cannot be written: the message, and the box keeps the change.
TEST_F(SearchTest, ABookmarkFileThatCannotBeWritten) {
    folder.write(QStringLiteral("Favorites.dat"), "Old                  3  N1°'           E2°'           \r\n");
    QFile::setPermissions(folder.file(QStringLiteral("Favorites.dat")), QFileDevice::ReadOwner);
    open();
    bookmarks()->setEditText(QStringLiteral("New"));
    QString text;
    QString title;
    EXPECT_TRUE(answerBox([&] { child<QPushButton>("ButtonSave")->click(); }, &text, &title));
    EXPECT_EQ(title, QStringLiteral("Сохранение невозможно"));
    EXPECT_EQ(text, QStringLiteral("Запись файла Favorites.dat невозможна"));
    EXPECT_EQ(bookmarks()->count(), 2);
    EXPECT_TRUE(bookmarks()->itemText(0).startsWith(QStringLiteral("New ")));
    EXPECT_TRUE(folder.read(QStringLiteral("Favorites.dat")).startsWith("Old"));
}

// The coordinate dialog shows a position and gives it back on OK, within the rounding of the minutes;
// Cancel gives nothing.
TEST_F(SearchTest, TheCoordinateDialog) {
    open(false);
    CoordinateDialog& dialog = window->coordinateDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Введите координаты"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(), QStringLiteral("Широта"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->text(), QStringLiteral("Отмена"));
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->isDefault());
    EXPECT_TRUE(dialog.latitudeEdit()->toolTip().contains(QStringLiteral("клавиши N, S, W, E")));
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        QTimer::singleShot(0, &dialog, [&] {
            EXPECT_EQ(dialog.latitudeEdit()->text(), QStringLiteral("33°30,000'"));
            EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("SCB"))->currentText(), QStringLiteral("S"));
            EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("DCB"))->currentText(), QStringLiteral("E"));
            // Typed in the field that has the focus: Enter and Escape reach the dialog's buttons.
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            ASSERT_EQ(QApplication::focusWidget(), dialog.latitudeEdit());
            QTest::keyClick(dialog.latitudeEdit(), ok ? Qt::Key_Return : Qt::Key_Escape);
        });
        const auto answer = dialog.ask({-33.5, -151.2567891});
        if (!ok) {
            EXPECT_EQ(answer, std::nullopt);
            continue;
        }
        ASSERT_TRUE(answer);
        EXPECT_NEAR(answer->lat, -33.5, 1e-9);
        EXPECT_NEAR(answer->lonW, -151.2567891, 0.0005 / 60);
    }

    // OK with minutes that are not a number: one error box, and no position for the caller.
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            box->accept();
        }
    });
    closer.start(20);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.latitudeEdit()->setText(QStringLiteral("55°3x'"));
        QTest::keyClick(dialog.latitudeEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.ask({10, 10}), std::nullopt);
    EXPECT_EQ(boxes, 1);
}
