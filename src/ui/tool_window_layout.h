// Where the three tool windows stand (TBToolWindow1 zoom, 2 search, 3 jobs): on a dock side or floating at
// a place, and whether the second and third show. Restored from and written back to the settings' tool-
// window layout. UI thread.
#pragma once

#include "config/settings.h"

#include <array>

class QDockWidget;
class QMainWindow;

namespace zelvano {

using ToolWindows = std::array<QDockWidget*, kToolWindowCount>;

// Docks each window on its stored side, or floats it at its stored place.
void restoreToolWindows(QMainWindow& window, const ToolWindows& docks, const Settings& settings);
// The layout as the user left it; the visibility only once the windows have been shown.
void storeToolWindows(const QMainWindow& window, const ToolWindows& docks, bool shown, Settings& settings);

} // namespace zelvano
