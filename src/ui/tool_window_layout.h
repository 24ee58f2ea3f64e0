// Where the three tool windows stand (TBToolWindow1 zoom, 2 search, 3 jobs), as the settings keep it: on
// a dock side, in a row of that dock and at a place along it, or floating at a place on the screen; their
// arrangement, and whether the second and third show. Restored at start-up and written back at the close.
// UI thread.
#pragma once

#include "config/settings.h"

#include <QRect>

#include <array>

class QDockWidget;
class QMainWindow;

namespace zelvano {

class JobToolWindow;
class SearchToolWindow;
class ZoomToolWindow;

struct ToolWindows {
    ZoomToolWindow* zoom = nullptr;
    SearchToolWindow* search = nullptr;
    JobToolWindow* jobs = nullptr;

    std::array<QDockWidget*, kToolWindowCount> docks() const;
};

// A floating place brought back onto the screen where it would reach past its right or bottom edge.
QPoint onScreen(QPoint place, QSize window, QRect screen);

// Docks each window on its stored side, rows and places in their stored order, or floats it at its stored
// place (kept on the screen), in its stored arrangement.
void restoreToolWindows(QMainWindow& window, const ToolWindows& tools, const Settings& settings);
// Pulls floating windows back onto the screen by their frames, which are known once they are shown.
void keepToolWindowsOnScreen(const QMainWindow& window, const ToolWindows& tools);
// The layout as the user left it; the visibility only once the windows have been shown.
void storeToolWindows(const QMainWindow& window, const ToolWindows& tools, bool shown, Settings& settings);

} // namespace zelvano
