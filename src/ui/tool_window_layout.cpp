#include "ui/tool_window_layout.h"

#include "ui/job_tool_window.h"
#include "ui/search_tool_window.h"
#include "ui/zoom_tool_window.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

#include <algorithm>
#include <map>
#include <vector>

namespace zelvano {

namespace {

Qt::DockWidgetArea areaOf(int dockSide) {
    switch (dockSide) {
    case kBottomDock:
        return Qt::BottomDockWidgetArea;
    case kTopDock:
        return Qt::TopDockWidgetArea;
    case kRightDock:
        return Qt::RightDockWidgetArea;
    default:
        return Qt::LeftDockWidgetArea;
    }
}

int dockSideOf(Qt::DockWidgetArea area) {
    switch (area) {
    case Qt::BottomDockWidgetArea:
        return kBottomDock;
    case Qt::TopDockWidgetArea:
        return kTopDock;
    case Qt::RightDockWidgetArea:
        return kRightDock;
    default:
        return kLeftDock;
    }
}

bool across(Qt::DockWidgetArea area) {
    return area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
}

QRect screenOf(const QMainWindow& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
}

} // namespace

std::array<QDockWidget*, kToolWindowCount> ToolWindows::docks() const {
    return {zoom, search, jobs};
}

QPoint onScreen(QPoint place, QSize window, QRect screen) {
    if (place.x() + window.width() > screen.right() + 1) place.setX(screen.right() + 1 - window.width());
    if (place.y() + window.height() > screen.bottom() + 1) place.setY(screen.bottom() + 1 - window.height());
    return place;
}

void restoreToolWindows(QMainWindow& window, const ToolWindows& tools, const Settings& settings) {
    const auto docks = tools.docks();
    tools.zoom->setVertical(settings.toolWindowLayout[0].vertical);
    tools.search->setVertical(settings.toolWindowLayout[1].vertical);
    // Docked windows area by area, in their rows and along them in their stored order.
    std::map<int, std::vector<int>> byArea;
    for (int w = 0; w < kToolWindowCount; ++w) {
        const ToolWindowLayout& l = settings.toolWindowLayout[w];
        docks[w]->setFloating(false);
        if (!l.floating) byArea[l.dockSide].push_back(w);
    }
    for (auto& [side, windows] : byArea) {
        const Qt::DockWidgetArea area = areaOf(side);
        std::stable_sort(windows.begin(), windows.end(), [&](int a, int b) {
            const ToolWindowLayout& la = settings.toolWindowLayout[a];
            const ToolWindowLayout& lb = settings.toolWindowLayout[b];
            return std::tie(la.dockRow, la.dockPos) < std::tie(lb.dockRow, lb.dockPos);
        });
        const Qt::Orientation along = across(area) ? Qt::Horizontal : Qt::Vertical;
        const Qt::Orientation newRow = across(area) ? Qt::Vertical : Qt::Horizontal;
        for (std::size_t i = 0; i < windows.size(); ++i) {
            QDockWidget* dock = docks[windows[i]];
            window.removeDockWidget(dock);
            if (i == 0) {
                window.addDockWidget(area, dock, newRow);
            } else if (settings.toolWindowLayout[windows[i]].dockRow ==
                       settings.toolWindowLayout[windows[i - 1]].dockRow) {
                window.addDockWidget(area, dock, along);
                window.splitDockWidget(docks[windows[i - 1]], dock, along);
            } else {
                window.addDockWidget(area, dock, newRow);
            }
            dock->show();
        }
    }
    for (int w = 0; w < kToolWindowCount; ++w) {
        const ToolWindowLayout& l = settings.toolWindowLayout[w];
        if (!l.floating) continue;
        docks[w]->setFloating(true);
        docks[w]->adjustSize();
        docks[w]->move(onScreen({l.floatLeft, l.floatTop}, docks[w]->size(), screenOf(window)));
    }
}

void keepToolWindowsOnScreen(const QMainWindow& window, const ToolWindows& tools) {
    for (QDockWidget* dock : tools.docks()) {
        if (!dock->isFloating() || !dock->isVisible()) continue;
        const QRect frame = dock->frameGeometry();
        dock->move(onScreen(frame.topLeft(), frame.size(), screenOf(window)));
    }
}

void storeToolWindows(const QMainWindow& window, const ToolWindows& tools, bool shown, Settings& settings) {
    const auto docks = tools.docks();
    // Rows of a dock from the top or left, places along it by position: the order in which restoring
    // adds them back.
    std::map<Qt::DockWidgetArea, std::vector<int>> rowEdges;
    for (QDockWidget* dock : docks) {
        if (dock->isFloating()) continue;
        const Qt::DockWidgetArea area = window.dockWidgetArea(dock);
        rowEdges[area].push_back(across(area) ? dock->y() : dock->x());
    }
    for (auto& [area, edges] : rowEdges) {
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    }
    for (int w = 0; w < kToolWindowCount; ++w) {
        QDockWidget* dock = docks[w];
        ToolWindowLayout& l = settings.toolWindowLayout[w];
        l.floating = dock->isFloating();
        if (l.floating) {
            l.floatLeft = dock->x();
            l.floatTop = dock->y();
        } else {
            const Qt::DockWidgetArea area = window.dockWidgetArea(dock);
            l.dockSide = dockSideOf(area);
            const auto& edges = rowEdges[area];
            const int edge = across(area) ? dock->y() : dock->x();
            l.dockRow = static_cast<int>(std::lower_bound(edges.begin(), edges.end(), edge) - edges.begin());
            l.dockPos = across(area) ? dock->x() : dock->y();
        }
        if (w > 0 && shown) l.visible = dock->isVisible();
    }
    settings.toolWindowLayout[0].vertical = tools.zoom->isVertical();
    settings.toolWindowLayout[1].vertical = tools.search->widget()->width() <= 499;
    settings.toolWindowLayout[2].vertical = tools.jobs->widget()->width() <= 299;
}

} // namespace zelvano
