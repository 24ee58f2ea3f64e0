#include "tools/distance.h"
#include "ui/guarded_application.h"
#include "ui/job_tool_window.h"
#include "ui/search_tool_window.h"
#include "ui/window_fixture.h"
#include "ui/zoom_tool_window.h"

#include <QLayout>
#include <QScreen>
#include <QToolBar>
#include <QToolTip>

#include <stdexcept>

using namespace zelvano;
using namespace zelvano::test;

class MeasureTest : public WindowTest {
protected:
    // Red at half opacity over the map: red clearly above the other channels.
    bool reddish(QPoint at) {
        const QColor c = view()->grab().toImage().pixelColor(at);
        return c.red() > c.green() + 40 && c.red() > c.blue() + 40;
    }
};

// Left clicks with the measuring tool add points, panel 2 shows the total, the red path is drawn over the
// map and follows a pan; another button clears it.
TEST_F(MeasureTest, PathReadOutAndDrawing) {
    server.setFallback([](const std::string&) { return test::ScriptedAnswer{200, test::solidJpeg(Qt::darkGreen)}; });
    open();
    child<QToolButton>("ToolButton9")->click();
    ASSERT_TRUE(child<QToolButton>("ToolButton9")->isChecked());
    const QPoint a(200, 200);
    const QPoint b(400, 200);
    click(a);
    EXPECT_EQ(w().statusText(2), QStringLiteral("0,00m"));
    click(b);
    const auto& points = w().measuredPath().points();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(w().statusText(2), distanceText(distanceMetres(points[1].position, points[0].position) * 0.001));
    EXPECT_TRUE(w().statusText(2).endsWith(QStringLiteral("km")));
    const QPoint buffer((view()->width() - w().backBuffer()->size().width()) / 2, 0);
    EXPECT_TRUE(reddish(QPoint(300, 200) + buffer));
    EXPECT_FALSE(reddish(QPoint(300, 260) + buffer));

    // A pan 50 pixels to the right: the path is drawn 50 pixels further right, the total the same.
    const QString total = w().statusText(2);
    child<QToolButton>("ToolButton9")->click(); // the pan tool
    drag(QPoint(500, 400), QPoint(550, 400));
    ASSERT_TRUE(w().waitForLoaders(20000));
    EXPECT_TRUE(reddish(QPoint(350, 200) + buffer));
    EXPECT_EQ(w().statusText(2), total);

    // The Alt key holds the measuring tool on; a right click clears the path.
    key(Qt::Key_Alt); // pressed and released: on while held
    QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(window->windowHandle(), &alt);
    EXPECT_TRUE(child<QToolButton>("ToolButton9")->isChecked());
    click(QPoint(100, 100), Qt::RightButton);
    EXPECT_EQ(w().statusText(2), QStringLiteral("----"));
    EXPECT_TRUE(w().measuredPath().empty());
    EXPECT_FALSE(reddish(QPoint(350, 200) + buffer));
}

class ToolWindowTest : public WindowTest {
protected:
    ZoomToolWindow* zoom() const { return child<ZoomToolWindow>("TBToolWindow1"); }
    SearchToolWindow* search() const { return child<SearchToolWindow>("TBToolWindow2"); }
    JobToolWindow* jobs() const { return child<JobToolWindow>("TBToolWindow3"); }
    QSize content(QDockWidget* dock) const { return dock->widget()->size(); }
};

// Each window on each side it may take, and floating: its arrangement and size follow.
TEST_F(ToolWindowTest, ArrangementsFollowTheDock) {
    settings.toolWindowLayout[2].visible = true;
    open();
    struct Case {
        Qt::DockWidgetArea area; // NoDockWidgetArea: floating
        QSize zoom;
        QSize search;
    };
    const Case cases[] = {
        {Qt::LeftDockWidgetArea, {29, 520}, {192, 142}}, {Qt::RightDockWidgetArea, {29, 520}, {192, 142}},
        {Qt::TopDockWidgetArea, {520, 28}, {771, 47}},   {Qt::BottomDockWidgetArea, {520, 28}, {771, 47}},
        {Qt::LeftDockWidgetArea, {29, 520}, {192, 142}}, {Qt::NoDockWidgetArea, {29, 529}, {192, 142}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.area);
        for (QDockWidget* dock : {static_cast<QDockWidget*>(zoom()), static_cast<QDockWidget*>(search())}) {
            if (c.area == Qt::NoDockWidgetArea) {
                dock->setFloating(true);
            } else {
                dock->setFloating(false);
                window->addDockWidget(c.area, dock);
            }
        }
        EXPECT_EQ(content(zoom()), c.zoom);
        EXPECT_EQ(content(search()), c.search);
        EXPECT_EQ(zoom()->isVertical(), c.zoom.height() > c.zoom.width());
    }
    EXPECT_EQ(zoom()->zoomLabel()->y(), 276); // floating: the label 276 down, the toolbar 305
    EXPECT_EQ(zoom()->toolBar()->y(), 305);
    // The job window: top and bottom only; wide there (363 x 47 with no job), narrow floating (350 x 47).
    EXPECT_EQ(jobs()->allowedAreas(), Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    window->addDockWidget(Qt::BottomDockWidgetArea, jobs());
    EXPECT_EQ(content(jobs()), QSize(363, 47));
    jobs()->setFloating(true);
    EXPECT_EQ(content(jobs()), QSize(350, 47));
    EXPECT_FALSE(jobs()->isWide());
    jobs()->setFloating(false);
    EXPECT_EQ(content(jobs()), QSize(363, 47));
}

// The designed window holds the designed tool windows without growing.
TEST_F(ToolWindowTest, TheDesignedWindowHoldsItsToolWindows) {
    settings = Settings{};
    settings.primarySatelliteTemplate = server.base() + QStringLiteral("/kh?v=1&t=t");
    open();
    EXPECT_EQ(window->size(), QSize(792, 564));
    EXPECT_TRUE(search()->isVisible() && jobs()->isVisible() && zoom()->isVisible());
    EXPECT_EQ(window->dockWidgetArea(zoom()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(search()), Qt::TopDockWidgetArea);
    EXPECT_LT(search()->y(), jobs()->y()); // the job window's row is the second
}

// The search button shows the search window floating at its floating place in its vertical arrangement;
// its close button hides it, which the button and the view follow.
TEST_F(ToolWindowTest, SearchButtonAndCloseButton) {
    settings.toolWindowLayout[1].floatLeft = 40;
    settings.toolWindowLayout[1].floatTop = 60;
    open();
    auto* button = child<QToolButton>("ToolButton5");
    ASSERT_TRUE(button->isChecked());
    button->click();
    EXPECT_FALSE(search()->isVisible());
    button->click();
    EXPECT_TRUE(search()->isVisible());
    EXPECT_TRUE(search()->isFloating());
    EXPECT_TRUE(search()->isVertical());
    EXPECT_EQ(search()->pos(), QPoint(40, 60));
    const int passes = w().drawingPasses();
    search()->close();
    EXPECT_FALSE(search()->isVisible());
    EXPECT_FALSE(button->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w().drawingPasses() > passes; }, 3000)); // the map gets the room
}

// From a window floating in its horizontal arrangement and moved by the user, the search button brings it
// back vertical at the place it was moved to; showing it redraws the map for the room it takes.
TEST_F(ToolWindowTest, SearchButtonFromAMovedFloatingWindow) {
    open();
    ASSERT_FALSE(search()->isVertical()); // docked at the top
    search()->setFloating(true);
    EXPECT_FALSE(search()->isVertical()); // floating keeps the arrangement
    search()->move(70, 80);
    auto* button = child<QToolButton>("ToolButton5");
    button->click();
    const int passes = w().drawingPasses();
    button->click();
    EXPECT_TRUE(search()->isFloating());
    EXPECT_TRUE(search()->isVertical());
    EXPECT_EQ(content(search()), QSize(192, 142));
    EXPECT_EQ(search()->pos(), QPoint(70, 80));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w().drawingPasses() > passes; }, 3000));
    w().waitForLoaders(20000);
}

// Whatever the user arranges comes back at the next start, and the lines say it as the file has it.
TEST_F(ToolWindowTest, LayoutWrittenAndReadBack) {
    settings.toolWindowLayout[2].visible = true;
    open();
    window->addDockWidget(Qt::LeftDockWidgetArea, zoom());
    window->addDockWidget(Qt::BottomDockWidgetArea, jobs());
    search()->setFloating(true);
    search()->move(10, 90);
    w().waitForLoaders(20000);
    window->close();
    window.reset();
    const QStringList lines =
        QString::fromLatin1(folder.read(QStringLiteral("ZLV2.ini"))).split(QStringLiteral("\r\n"));
    // Lines 30 to 36 are window 1's, 37 to 44 window 2's, 45 to 52 window 3's; the last of each its dock.
    EXPECT_EQ(lines[36], QStringLiteral("1"));  // window 1 in the left dock
    EXPECT_EQ(lines[34], QStringLiteral("v"));  // vertical there
    EXPECT_EQ(lines[42], QStringLiteral("f"));  // window 2 floating
    EXPECT_EQ(lines[44], QStringLiteral("-"));  // with no dock side
    EXPECT_EQ(lines[39], QStringLiteral("10")); // at its place
    EXPECT_EQ(lines[52], QStringLiteral("2"));  // window 3 at the bottom
    EXPECT_EQ(lines[51], QStringLiteral("V"));

    window = std::make_unique<MainWindow>(folder.path());
    window->show();
    EXPECT_EQ(window->dockWidgetArea(zoom()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(zoom()->isVertical());
    EXPECT_TRUE(search()->isFloating());
    EXPECT_EQ(search()->pos(), QPoint(10, 90));
    EXPECT_EQ(window->dockWidgetArea(jobs()), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(jobs()->isVisible());
}

// Rows and places along a dock come back as the user left them: two windows side by side in the second
// row of the top dock, the third alone in the first.
TEST_F(ToolWindowTest, RowsAndPlacesAlongADockReadBack) {
    settings.windowWidth = 1400;
    settings.toolWindowLayout[2].visible = true;
    open();
    for (QDockWidget* dock :
         {static_cast<QDockWidget*>(jobs()), static_cast<QDockWidget*>(search()), static_cast<QDockWidget*>(zoom())})
        window->removeDockWidget(dock);
    for (QDockWidget* dock : {static_cast<QDockWidget*>(jobs()), static_cast<QDockWidget*>(search())}) {
        window->addDockWidget(Qt::TopDockWidgetArea, dock, Qt::Vertical);
        dock->show();
    }
    window->splitDockWidget(search(), zoom(), Qt::Horizontal);
    zoom()->show();
    auto check = [&] {
        window->layout()->activate();
        EXPECT_LT(jobs()->y(), search()->y());
        EXPECT_EQ(search()->y(), zoom()->y());
        EXPECT_LT(search()->x(), zoom()->x());
        EXPECT_FALSE(zoom()->isVertical());
    };
    check();
    w().waitForLoaders(20000);
    window->close();
    window.reset();
    const QStringList lines =
        QString::fromLatin1(folder.read(QStringLiteral("ZLV2.ini"))).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[31], lines[38]); // the zoom and search windows in one row
    EXPECT_NE(lines[38], lines[46]); // the job window in another

    // Added back in the opposite order to the stored one, they still come back as they were.
    window = std::make_unique<MainWindow>(folder.path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    check();
}

// A floating place past the screen's right or bottom edge comes back onto it; one past the left or top
// edge stays.
TEST_F(ToolWindowTest, FloatingPlacesKeptOnTheScreen) {
    settings.toolWindowLayout[1].floating = true;
    settings.toolWindowLayout[1].floatLeft = 5000;
    settings.toolWindowLayout[1].floatTop = 40;
    settings.toolWindowLayout[2].floating = true;
    settings.toolWindowLayout[2].visible = true;
    settings.toolWindowLayout[2].floatLeft = -30;
    settings.toolWindowLayout[2].floatTop = 5000;
    open();
    const QRect screen = window->screen()->geometry();
    EXPECT_EQ(search()->frameGeometry().right(), screen.right());
    EXPECT_EQ(search()->y(), 40);
    EXPECT_NEAR(jobs()->x(), -30, 4); // a place off the left edge stays, give or take the platform's frame
    EXPECT_EQ(jobs()->frameGeometry().bottom(), screen.bottom());
}

class WindowMendsTest : public WindowTest {};

// Turning the selection tool back on brings the selection back with its summary and the run button; so
// does showing the job window by other means.
TEST_F(WindowMendsTest, TheSelectionComesBackWithItsSummary) {
    open();
    auto* select = child<QToolButton>("ToolButton8");
    auto* run = child<QPushButton>("SpeedButton2");
    auto* label = child<QLabel>("Label15");
    select->click();
    drag(QPoint(100, 100), QPoint(300, 200));
    ASSERT_TRUE(run->isEnabled());
    const QString summary = label->text();
    select->click(); // off: the job window goes
    EXPECT_FALSE(run->isEnabled());
    select->click(); // on again
    EXPECT_TRUE(w().selectionPresent());
    EXPECT_TRUE(run->isEnabled());
    EXPECT_EQ(label->text(), summary);
    select->click();
    child<QDockWidget>("TBToolWindow3")->show(); // as from the dock's menu
    EXPECT_TRUE(select->isChecked());
    EXPECT_TRUE(w().selectionPresent());
    EXPECT_TRUE(run->isEnabled());
    EXPECT_EQ(label->text(), summary);
}

// The wheel zooms over the whole window; its notches within 700 ms share one period; the slider's hint
// shows at once.
TEST_F(WindowMendsTest, WheelAnywhereAndOnePeriod) {
    open();
    auto* slider = child<QSlider>("RxSlider1");
    auto* timer = child<QTimer>("Timer3");
    wheel(-120, child<QWidget>("Edit7"));
    EXPECT_EQ(slider->value(), 11);
    ASSERT_TRUE(timer->isActive());
    const int period = timer->timerId();
    wheel(-120, child<QWidget>("ComboBox2"));
    EXPECT_EQ(slider->value(), 12);
    EXPECT_EQ(timer->timerId(), period); // not started again
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Увеличение 12"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w().viewCentre().zoom == 12; }, 3000));
    w().waitForLoaders(20000);
}

// The pointer read-out and the selection summary: the read-out is renewed by a redraw, and the summary fits
// panel 3 whole.
TEST_F(WindowMendsTest, StatusPanels) {
    settings.windowWidth = 792; // the designed size holds the whole selection summary
    settings.windowHeight = 564;
    open();
    mouse(QEvent::MouseMove, QPoint(100, 100), Qt::NoButton, Qt::NoButton);
    const QString before = w().statusText(0);
    key(Qt::Key_PageUp); // a zoom by key: the same pixel is another place now
    EXPECT_NE(w().statusText(0), before);
    EXPECT_EQ(w().statusText(0), latitudeText(positionAt(w().viewCentre(), view()->size(), {100, 100}).lat));
    child<QToolButton>("ToolButton8")->click();
    drag(QPoint(100, 100), QPoint(228, 228));
    auto* panel = child<QLabel>("StatusBPanel3");
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text()))
        << panel->text().toStdString();
    EXPECT_EQ(w().width(), 792);
    w().waitForLoaders(20000);
}

// An exception that escapes an event handler is shown, and the program goes on.
TEST(GuardedApplication, AnEscapedExceptionIsShownAndTheProgramGoesOn) {
    auto* app = qobject_cast<GuardedApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QStringList shown;
    app->setReporter([&](const QString& what) { shown.append(what); });
    struct Throwing : QObject {
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User) throw std::runtime_error("a handler failed");
            return QObject::event(e);
        }
    } receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, QStringList{QStringLiteral("a handler failed")});
    app->setReporter([](const QString& what) { GuardedApplication::showError(what); });
}
