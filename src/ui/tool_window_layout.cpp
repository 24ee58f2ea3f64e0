#include "ui/tool_window_layout.h"

#include <QDockWidget>
#include <QMainWindow>

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

} // namespace

void restoreToolWindows(QMainWindow& window, const ToolWindows& docks, const Settings& settings) {
    for (int w = 0; w < kToolWindowCount; ++w) {
        const ToolWindowLayout& l = settings.toolWindowLayout[w];
        if (window.dockWidgetArea(docks[w]) != areaOf(l.dockSide)) window.addDockWidget(areaOf(l.dockSide), docks[w]);
        docks[w]->setFloating(l.floating);
        if (l.floating) docks[w]->move(l.floatLeft, l.floatTop);
    }
}

void storeToolWindows(const QMainWindow& window, const ToolWindows& docks, bool shown, Settings& settings) {
    for (int w = 0; w < kToolWindowCount; ++w) {
        ToolWindowLayout& l = settings.toolWindowLayout[w];
        l.floating = docks[w]->isFloating();
        if (l.floating) {
            l.floatLeft = docks[w]->x();
            l.floatTop = docks[w]->y();
        } else {
            l.dockSide = dockSideOf(window.dockWidgetArea(docks[w]));
        }
        if (w > 0 && shown) l.visible = docks[w]->isVisible();
    }
}

} // namespace zelvano
