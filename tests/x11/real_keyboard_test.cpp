// The window on a real X server, typed into with a real keyboard: the keys reach the focused field through
// the platform and the window's key preview, and every key redraws the view as it goes.
#include "support/x11_session.h"
#include "tools/bookmarks.h"
#include "ui/window_fixture.h"

#include <QLineEdit>

namespace zelvano::test {
namespace {

class RealKeyboardTest : public WindowTest {
protected:
    void SetUp() override {
        if (!x11Unavailable.isEmpty()) GTEST_SKIP() << x11Unavailable.toStdString();
    }

    void clickInto(QWidget* field) {
        const QPoint at = field->mapToGlobal(QPoint(field->width() / 2, field->height() / 2));
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                 QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
        ASSERT_TRUE(waitUntil([&] { return field->hasFocus(); })) << field->objectName().toStdString();
    }
    void type(const QString& text) {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }

    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
};

TEST_F(RealKeyboardTest, TypedCoordinatesAndNameReachTheirFields) {
    settings.toolWindowLayout[1].visible = true;
    open();
    const int passes = window->drawingPasses();

    clickInto(edit("Edit7"));
    type(QStringLiteral("55 30 5 "));
    EXPECT_TRUE(waitUntil([&] { return edit("Edit7")->text() == QStringLiteral("55°30,5'"); }))
        << edit("Edit7")->text().toStdString();
    EXPECT_TRUE(edit("Edit7")->hasFocus());
    EXPECT_GT(window->drawingPasses(), passes); // the keys went through the window's preview

    clickInto(edit("Edit10"));
    type(QStringLiteral("37 36 2 "));
    EXPECT_TRUE(waitUntil([&] { return edit("Edit10")->text() == QStringLiteral("37°36,2'"); }))
        << edit("Edit10")->text().toStdString();

    // The bookmark name typed into the box, then saved: the line in Favorites.dat carries both fields.
    auto* box = child<QComboBox>("ComboBox1");
    clickInto(box->lineEdit());
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    type(QStringLiteral("Home"));
    EXPECT_TRUE(waitUntil([&] { return box->currentText() == QStringLiteral("Home"); }))
        << box->currentText().toStdString();
    child<QPushButton>("ButtonSave")->click();
    const auto lines = loadBookmarks(folder.path());
    ASSERT_TRUE(lines);
    const QString expected =
        bookmarkLine({QStringLiteral("Home"), child<QComboBox>("FCB")->currentText(), QStringLiteral("N"),
                      QStringLiteral("55°30,5'"), QStringLiteral("E"), QStringLiteral("37°36,2'")});
    EXPECT_TRUE(lines->contains(expected)) << lines->join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace zelvano::test
