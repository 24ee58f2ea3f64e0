// The selection tool's state and arithmetic: the rectangle the user drags over the view, in view pixels
// while it is on the screen and as two corner positions (the settings selectionTop/Left/Bottom/Right)
// that jobs run over. The window feeds it the mouse and draws what it says. UI thread.
#pragma once

#include "config/settings.h"
#include "view/view_geometry.h"

#include <QRect>
#include <Qt>

#include <optional>

namespace zelvano {

struct SelectionCorners {
    geo::Position topLeft;
    geo::Position bottomRight;

    bool operator==(const SelectionCorners&) const = default;
    // The corners differ in latitude and in longitude: they enclose an area.
    bool enclosesArea() const { return topLeft.lat != bottomRight.lat && topLeft.lonW != bottomRight.lonW; }
};

SelectionCorners selectionCornersOf(const Settings& settings);
void setSelectionCorners(Settings& settings, const SelectionCorners& corners);

class SelectionTool {
public:
    // A left-button press starts a new rectangle at the pointer.
    void press(QPoint at);
    // The dragged corner follows the pointer.
    void move(QPoint at);
    // Ends a drag. A left-button release away from the press point makes the selection and returns its
    // corners, top-left and bottom-right whichever way it was dragged; any other release removes it.
    std::optional<SelectionCorners> release(Qt::MouseButton button, QPoint at, const ViewCentre& centre, QSize view);
    // A right-button release while no drag runs: strictly inside the rectangle keeps the selection, anywhere
    // else (the border included) removes it.
    void rightRelease(QPoint at);
    // The pixel corners of the stored corners at the view's centre and level.
    void place(const ViewCentre& centre, QSize view, const SelectionCorners& corners);

    void setPresent(bool present) { present_ = present; }
    void remove() { present_ = dragging_ = false; }

    bool present() const { return present_; }
    bool dragging() const { return dragging_; }
    bool shown() const { return present_ || dragging_; }
    // From the press corner (x1, y1) to the other (x2, y2); normalised once a selection is made.
    QRect pixels() const { return QRect(QPoint(x1_, y1_), QPoint(x2_, y2_)); }

private:
    int x1_ = 0;
    int y1_ = 0;
    int x2_ = 0;
    int y2_ = 0;
    bool dragging_ = false;
    bool present_ = false;
};

} // namespace zelvano
