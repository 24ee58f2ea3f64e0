#include "ui/window_fixture.h"

using namespace zelvano;
using namespace zelvano::test;

class MainWindowTest : public WindowTest {};

TEST_F(MainWindowTest, StartsWithDefaultsAndDrawsAtTheFirstActivation) {
    MainWindow& w = open(false);
    EXPECT_EQ(w.drawingPasses(), 0);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Language/Russian.txt"))));
    EXPECT_EQ(w.statusText(4), QStringLiteral("0,000 Mb из интернета"));
    auto* bookmarks = child<QComboBox>("ComboBox1");
    EXPECT_EQ(bookmarks->currentText(), QStringLiteral("---Новое Имя---"));
    EXPECT_EQ(bookmarks->itemText(0), QStringLiteral("____________________ N E"));
    EXPECT_EQ(w.objectName(), QStringLiteral("TForm1"));

    w.show();
    EXPECT_EQ(w.drawingPasses(), 0);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.drawingPasses(), 1);
    ASSERT_TRUE(w.waitForLoaders(20000));
    EXPECT_EQ(server.requests().size(), static_cast<qsizetype>(w.lastPass().queue.size()));
    // The centre tile, fetched by the loader, sits under the centre of the view.
    const geo::TileLocation t = geo::LocateTile(10, -20.5, 45.25);
    const QPoint corner = middle() - QPoint(t.pixelColumn, t.pixelRow);
    auto guard = w.backBuffer()->lock();
    EXPECT_EQ(w.backBuffer()->image().pixelColor(corner + QPoint(9, 9)),
              test::decoded(test::jpegTile(3)).pixelColor(9, 9));
    EXPECT_TRUE(w.statusText(4).endsWith(QStringLiteral(" Mb из интернета")));
    EXPECT_NE(w.statusText(4), QStringLiteral("0,000 Mb из интернета"));
}

TEST_F(MainWindowTest, ClickCentresAndAOnePixelMoveIsADrag) {
    MainWindow& w = open();
    const int passes = w.drawingPasses();
    ViewCentre before = w.viewCentre();
    click(QPoint(120, 90));
    QPointF expected = positionFromCentre(before, QPoint(120, 90) - middle());
    EXPECT_DOUBLE_EQ(w.viewCentre().position.lonW, expected.x());
    EXPECT_DOUBLE_EQ(w.viewCentre().position.lat, expected.y());
    EXPECT_EQ(w.viewCentre().zoom, 10); // the wheel scheme: a click only centres
    EXPECT_EQ(w.drawingPasses(), passes + 1);

    before = w.viewCentre();
    drag(QPoint(200, 200), QPoint(201, 200));
    expected = positionFromCentre(before, QPoint(-1, 0));
    EXPECT_DOUBLE_EQ(w.viewCentre().position.lonW, expected.x());
    EXPECT_DOUBLE_EQ(w.viewCentre().position.lat, expected.y());
    w.waitForLoaders(20000);
}

TEST_F(MainWindowTest, ClickZoomScheme) {
    settings.mouseMode = MouseMode::Click;
    settings.viewZoom = 23;
    MainWindow& w = open();
    click(QPoint(50, 50));
    EXPECT_EQ(w.viewCentre().zoom, 24);
    click(QPoint(50, 50));
    EXPECT_EQ(w.viewCentre().zoom, 24);
    click(QPoint(50, 50), Qt::MiddleButton);
    EXPECT_EQ(w.viewCentre().zoom, 24);
    click(QPoint(50, 50), Qt::RightButton);
    EXPECT_EQ(w.viewCentre().zoom, 23);
    const int passes = w.drawingPasses();
    wheel(-120); // the wheel does nothing in this scheme
    EXPECT_EQ(child<QSlider>("RxSlider1")->value(), 23);
    EXPECT_EQ(w.drawingPasses(), passes);
    w.waitForLoaders(20000);
}

TEST_F(MainWindowTest, WheelNotchesGatherIntoOneRedraw) {
    MainWindow& w = open();
    const int passes = w.drawingPasses();
    for (int i = 0; i < 3; ++i)
        wheel(-120); // toward the user: zoom in
    EXPECT_EQ(child<QSlider>("RxSlider1")->value(), 13);
    EXPECT_EQ(w.drawingPasses(), passes);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.drawingPasses() > passes; }, 3000));
    EXPECT_EQ(w.drawingPasses(), passes + 1);
    EXPECT_EQ(w.viewCentre().zoom, 13);
    wheel(120);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.viewCentre().zoom == 12; }, 3000));
    w.waitForLoaders(20000);
}

TEST_F(MainWindowTest, KeysPanByAThirdAndZoom) {
    MainWindow& w = open();
    const QSize size = w.backBuffer()->size();
    struct Case {
        const char* label;
        Qt::Key key;
        QPoint pan; // the new centre's offset from the old one, in pixels
        int zoom;
    };
    const Case cases[] = {
        {"Right", Qt::Key_Right, QPoint(size.width() / 3, 0), 10},
        {"Left", Qt::Key_Left, QPoint(-(size.width() / 3), 0), 10},
        {"Up", Qt::Key_Up, QPoint(0, -(size.height() / 3)), 10},
        {"Down", Qt::Key_Down, QPoint(0, size.height() / 3), 10},
        {"PageUp", Qt::Key_PageUp, QPoint(), 11},
        {"PageDown", Qt::Key_PageDown, QPoint(), 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const ViewCentre before = w.viewCentre();
        key(c.key);
        const QPointF expected = positionFromCentre(before, c.pan);
        EXPECT_DOUBLE_EQ(w.viewCentre().position.lonW, expected.x());
        EXPECT_DOUBLE_EQ(w.viewCentre().position.lat, expected.y());
        EXPECT_EQ(w.viewCentre().zoom, c.zoom);
    }
    const int passes = w.drawingPasses();
    key(Qt::Key_A); // any key redraws: once as it goes down, once as it comes up
    EXPECT_EQ(w.drawingPasses(), passes + 2);
    w.waitForLoaders(20000);
}

TEST_F(MainWindowTest, PointerReadOut) {
    settings.viewLatitude = -33.5;
    settings.viewLongitude = -151.25;
    settings.viewZoom = 24;
    MainWindow& w = open();
    mouse(QEvent::MouseMove, middle(), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(w.statusText(0), QStringLiteral("S33° 30,000'"));
    EXPECT_EQ(w.statusText(1), QStringLiteral("E151° 15,000'"));
}

TEST_F(MainWindowTest, WorkModeAndLayerButtonsCycle) {
    MainWindow& w = open();
    auto* mode = child<QToolButton>("ToolButton2");
    const int passes = w.drawingPasses();
    struct Step {
        WorkMode mode;
        int image;
        const char* hint;
    };
    for (const Step s : {Step{WorkMode::CacheOnly, 0, "Только кэш"}, Step{WorkMode::InternetOnly, 1, "Только интернет"},
                         Step{WorkMode::CacheAndInternet, 2, "Кэш и интернет"}}) {
        mode->click();
        EXPECT_EQ(w.settings().workMode, s.mode);
        EXPECT_EQ(mode->property("imageIndex").toInt(), s.image);
        EXPECT_EQ(mode->toolTip(), QString::fromUtf8(s.hint));
    }
    EXPECT_EQ(w.drawingPasses(), passes); // the work mode alone does not redraw

    auto* layers = child<QToolButton>("ToolButton1");
    EXPECT_EQ(layers->property("imageIndex").toInt(), 7); // satellite only
    EXPECT_EQ(layers->toolTip(), QStringLiteral("Только снимок"));
    struct Layers {
        bool map, satellite;
        int image;
        const char* hint;
    };
    int clicks = 0;
    for (const Layers l : {Layers{true, true, 8, "Карта + снимок"}, Layers{true, false, 9, "Только карта"},
                           Layers{false, true, 7, "Только снимок"}}) {
        SCOPED_TRACE(l.hint);
        layers->click();
        EXPECT_EQ(std::pair(w.settings().viewMap, w.settings().viewSatellite), std::pair(l.map, l.satellite));
        EXPECT_EQ(layers->property("imageIndex").toInt(), l.image);
        EXPECT_EQ(layers->toolTip(), QString::fromUtf8(l.hint));
        EXPECT_EQ(w.drawingPasses(), passes + ++clicks); // each click redraws
    }
    w.waitForLoaders(20000);
}

TEST_F(MainWindowTest, InternetOnlyQueuesEveryTileAndCacheOnlyFetchesNothing) {
    settings.workMode = WorkMode::InternetOnly;
    MainWindow& w = open();
    const size_t visited = static_cast<size_t>(w.lastPass().visited);
    EXPECT_EQ(w.lastPass().queue.size(), visited); // none cached yet
    key(Qt::Key_F5);                               // two more passes over the same, now cached, tiles
    w.waitForLoaders(20000);
    EXPECT_EQ(w.lastPass().queue.size(), visited);

    child<QToolButton>("ToolButton2")->click(); // cache and internet
    child<QToolButton>("ToolButton2")->click(); // cache only
    const int requests = server.requests().size();
    key(Qt::Key_Left);
    w.waitForLoaders(20000);
    EXPECT_EQ(server.requests().size(), requests);
    child<QToolButton>("ToolButton3")->click(); // fetch-missing fetches whatever the mode
    w.waitForLoaders(20000);
    EXPECT_GT(server.requests().size(), requests);
}

TEST_F(MainWindowTest, ANewPassStopsTheOldLoader) {
    server.setFallback([](const std::string&) {
        return test::ScriptedAnswer{200, test::jpegTile(4), "image/jpeg", 40};
    });
    MainWindow& w = open(false);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const std::vector<jtype> first = w.lastPass().queue;
    ASSERT_GT(first.size(), 6u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() >= 1; }, 5000));
    key(Qt::Key_PageUp); // new passes at another level: the first loader stops at its next tile
    ASSERT_TRUE(w.waitForLoaders(30000));
    int firstFetched = 0;
    for (const jtype& r : first) {
        if (server.count(r.satRequest.mid(server.base().size())) > 0) {
            ++firstFetched;
            EXPECT_TRUE(QFile::exists(r.satPath)); // what it fetched stays cached
        }
    }
    EXPECT_LT(firstFetched, static_cast<int>(first.size()));
}

TEST_F(MainWindowTest, SelectionTool) {
    settings.jobZoomIndex = 11; // jobs at zoom 12, two levels deeper than the view
    MainWindow& w = open();
    auto* selectButton = child<QToolButton>("ToolButton8");
    auto* run = child<QPushButton>("SpeedButton2");
    auto* label = child<QLabel>("Label15");
    EXPECT_FALSE(run->isEnabled());
    if (!selectButton->isChecked()) selectButton->click();
    ASSERT_TRUE(selectButton->isChecked());
    EXPECT_TRUE(child<QDockWidget>("TBToolWindow3")->isVisible());

    // 200 x 100 view pixels at zoom 10 are 800 x 400 pixels at the job zoom.
    drag(QPoint(100, 100), QPoint(300, 200));
    ASSERT_TRUE(w.selectionPresent());
    EXPECT_EQ(w.selectionPixels(), QRect(QPoint(100, 100), QPoint(300, 200)));
    EXPECT_TRUE(run->isEnabled());
    EXPECT_EQ(label->text(), QStringLiteral("Выделено 800x400 пикселей"));
    EXPECT_EQ(w.statusText(3), QStringLiteral("Выделено 800x400px, в памяти 0,610mb, скачать~ 0,03051758mb"));
    const Settings forward = w.settings();

    drag(QPoint(300, 200), QPoint(100, 100)); // the other way round: the same corners
    EXPECT_DOUBLE_EQ(w.settings().selectionTop, forward.selectionTop);
    EXPECT_DOUBLE_EQ(w.settings().selectionLeft, forward.selectionLeft);
    EXPECT_DOUBLE_EQ(w.settings().selectionBottom, forward.selectionBottom);
    EXPECT_DOUBLE_EQ(w.settings().selectionRight, forward.selectionRight);

    // Changing the job zoom rewrites the summary for that zoom, not the corners.
    child<QComboBox>("ComboBox2")->setCurrentIndex(15); // zoom 16
    EXPECT_EQ(label->text(), QStringLiteral("Выделено 12800x6400 пикселей"));
    EXPECT_EQ(w.statusText(3), QStringLiteral("Выделено 12800x6400px, в памяти 156,25mb, скачать~7,8125mb"));
    EXPECT_DOUBLE_EQ(w.settings().selectionTop, forward.selectionTop);

    const QRect r = w.selectionPixels();
    click(r.topLeft() + QPoint(1, 1), Qt::RightButton); // one pixel inside keeps it
    EXPECT_TRUE(w.selectionPresent());
    click(QPoint(r.left(), r.center().y()), Qt::RightButton); // on the border removes it
    EXPECT_FALSE(w.selectionPresent());
    EXPECT_EQ(label->text(), QStringLiteral("----------------------"));

    drag(QPoint(100, 100), QPoint(300, 200));
    EXPECT_TRUE(w.selectionPresent());
    click(QPoint(150, 150)); // a release at the press point removes it
    EXPECT_FALSE(w.selectionPresent());
    EXPECT_FALSE(run->isEnabled());
    w.waitForLoaders(20000);
}

// The single-folder cache cannot hold the map layer: its tiles would take the names of the overlay's. The
// first pass refuses it with a warning and shows the satellite layer instead.
TEST_F(MainWindowTest, SingleFolderCacheRefusesTheMapLayer) {
    settings.singleFolderCache = true;
    settings.viewMap = true;
    QStringList box; // caption and text of the box that came up
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box = {message->windowTitle(), message->text()};
            message->accept();
        }
    });
    closer.start(20);
    MainWindow& w = open(false);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.drawingPasses() == 1; }, 10000));
    closer.stop();
    EXPECT_EQ(box, (QStringList{w.language().languageText(168), w.language().languageText(34)}));
    EXPECT_FALSE(w.settings().viewMap);
    EXPECT_TRUE(w.settings().viewSatellite);
    EXPECT_EQ(child<QToolButton>("ToolButton1")->property("imageIndex").toInt(), 7);
    w.waitForLoaders(20000);
}

TEST_F(MainWindowTest, SettingsWrittenAtCloseComeBackAtTheNextStart) {
    MainWindow& w = open();
    key(Qt::Key_PageUp);
    child<QToolButton>("ToolButton1")->click(); // map and satellite
    child<QToolButton>("ToolButton2")->click(); // cache only
    if (!child<QToolButton>("ToolButton8")->isChecked()) child<QToolButton>("ToolButton8")->click();
    drag(QPoint(100, 100), QPoint(300, 250));
    const Settings expected = w.settings();
    w.waitForLoaders(20000);
    w.close();
    window.reset();
    ASSERT_TRUE(QFile::exists(folder.file(QStringLiteral("ZLV2.ini"))));

    window = std::make_unique<MainWindow>(folder.path());
    const Settings& back = window->settings();
    EXPECT_EQ(back.viewZoom, 11);
    EXPECT_DOUBLE_EQ(back.viewLatitude, expected.viewLatitude);
    EXPECT_DOUBLE_EQ(back.viewLongitude, expected.viewLongitude);
    EXPECT_TRUE(back.viewMap && back.viewSatellite);
    EXPECT_EQ(back.workMode, WorkMode::CacheOnly);
    EXPECT_TRUE(window->selectionPresent());
    EXPECT_NEAR(back.selectionTop, expected.selectionTop, 1e-8);
    EXPECT_NEAR(back.selectionRight, expected.selectionRight, 1e-8);
}

TEST_F(MainWindowTest, ClosingWhileALoaderRuns) {
    server.setFallback([](const std::string&) {
        return test::ScriptedAnswer{200, test::jpegTile(5), "image/jpeg", 100};
    });
    MainWindow& w = open(false);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(w.runningLoaders(), 1);
    w.close();
    EXPECT_EQ(w.runningLoaders(), 0);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("ZLV2.ini"))));
    EXPECT_LT(server.requests().size(), static_cast<qsizetype>(w.lastPass().queue.size()));
}

// A loader waiting on a server that never answers: the close still ends it, long before the transfer's
// own timeout (60 s) and the close's 20 s wait.
TEST_F(MainWindowTest, ClosingEndsATransferThatHangs) {
    test::SilentServer silent;
    settings.primarySatelliteTemplate = silent.base() + QStringLiteral("/kh?v=1&t=t");
    MainWindow& w = open(false);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_TRUE(silent.waitForConnections(1, 20000));
    w.close();
    EXPECT_EQ(w.runningLoaders(), 0);
    EXPECT_EQ(silent.connections(), 1);
}

TEST_F(MainWindowTest, ShrinkingKeepsThePictureAndGrowingRedraws) {
    MainWindow& w = open();
    const int passes = w.drawingPasses();
    w.resize(w.width() - 100, w.height() - 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.backBuffer()->size() == view()->size(); }, 3000));
    EXPECT_EQ(w.drawingPasses(), passes);
    w.resize(w.width() + 200, w.height() + 100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.backBuffer()->size() == view()->size(); }, 3000));
    EXPECT_EQ(w.drawingPasses(), passes + 1);
    w.waitForLoaders(20000);
}
