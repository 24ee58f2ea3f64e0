// A window on a fresh program folder whose templates point at a scripted loopback tile server, with the
// mouse, wheel and keys delivered as the platform delivers them.
#pragma once

#include "config/settings_file.h"
#include "geo/tile_math.h"
#include "support/qt_printers.h"
#include "support/silent_server.h"
#include "support/temp_program_folder.h"
#include "support/test_tile_server.h"
#include "support/tile_fixtures.h"
#include "tools/coordinate_text.h"
#include "ui/main_window.h"
#include "ui/map_view.h"

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace zelvano::test {

// Acts on the modal window named `name` as soon as it shows (a dialog's exec() does not return before).
inline void onModal(const char* name, std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name = QString::fromLatin1(name), act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != name) return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start(5);
}

template <class T> T* in(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

inline QPointF positionFromCentre(const ViewCentre& c, QPoint offset) {
    double lonW = c.position.lonW;
    double lat = c.position.lat;
    geo::ShiftPosition(offset.x(), offset.y(), c.zoom, lonW, lat);
    return {lonW, lat};
}

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        const QString base = server.base();
        settings.primarySatelliteTemplate = base + QStringLiteral("/kh?v=1&t=t");
        settings.primaryMapTemplate = base + QStringLiteral("/mt?v=m&x=");
        settings.primaryHybridTemplate = base + QStringLiteral("/mt?v=h&x=");
        settings.viewLatitude = 45.25;
        settings.viewLongitude = -20.5;
        settings.viewZoom = 10;
        settings.windowWidth = 900;
        settings.windowHeight = 700;
        settings.toolWindowLayout[2].visible = false; // the pan tool, unless a test turns the selection tool on
        server.setFallback([](const std::string&) { return test::ScriptedAnswer{200, test::jpegTile(3)}; });
    }
    ~WindowTest() override {
        if (window) {
            window->close();
            window.reset();
        }
    }

    MainWindow& open(bool activate = true) {
        saveSettings(settings, folder.path());
        window = std::make_unique<MainWindow>(folder.path());
        if (activate) {
            window->show();
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
            EXPECT_TRUE(window->waitForLoaders(20000));
        }
        return *window;
    }

    MainWindow& w() const { return *window; }
    MapView* view() const { return window->findChild<MapView*>(QStringLiteral("PaintBox1")); }
    template <class T> T* child(const char* name) const { return window->findChild<T*>(QLatin1String(name)); }
    QPoint middle() const { return QPoint(view()->width() / 2, view()->height() / 2); }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, view()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        mouse(QEvent::MouseButtonPress, from, button, button);
        mouse(QEvent::MouseMove, to, Qt::NoButton, button);
        mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        mouse(QEvent::MouseButtonPress, at, button, button);
        mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    // A wheel turn as the platform delivers it: to the window, over the given widget (the map by default).
    void wheel(int delta, QWidget* over = nullptr) {
        QWidget* target = over ? over : view();
        const QPoint at = target->mapTo(window.get(), QPoint(target->width() / 2, target->height() / 2));
        QWheelEvent event(at, window->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window->windowHandle(), &event);
    }
    void key(int k) { QTest::keyClick(window->windowHandle(), static_cast<Qt::Key>(k)); }

    test::TempProgramFolder folder;
    test::TestTileServer server;
    Settings settings;
    std::unique_ptr<MainWindow> window;
};

} // namespace zelvano::test
