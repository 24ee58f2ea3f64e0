#include "view/selection.h"

#include <utility>

namespace zelvano {

SelectionCorners selectionCornersOf(const Settings& s) {
    return {{s.selectionTop, s.selectionLeft}, {s.selectionBottom, s.selectionRight}};
}

void setSelectionCorners(Settings& s, const SelectionCorners& c) {
    s.selectionTop = c.topLeft.lat;
    s.selectionLeft = c.topLeft.lonW;
    s.selectionBottom = c.bottomRight.lat;
    s.selectionRight = c.bottomRight.lonW;
}

void SelectionTool::press(QPoint at) {
    x1_ = x2_ = at.x();
    y1_ = y2_ = at.y();
    dragging_ = true;
}

void SelectionTool::move(QPoint at) {
    x2_ = at.x();
    y2_ = at.y();
}

std::optional<SelectionCorners> SelectionTool::release(Qt::MouseButton button, QPoint at, const ViewCentre& centre,
                                                       QSize view) {
    present_ = dragging_ = false;
    if (button != Qt::LeftButton || (at.x() == x1_ && at.y() == y1_)) return std::nullopt;
    x2_ = at.x();
    y2_ = at.y();
    if (x2_ < x1_) std::swap(x1_, x2_);
    if (y2_ < y1_) std::swap(y1_, y2_);
    present_ = true;
    return SelectionCorners{positionAt(centre, view, {x1_, y1_}), positionAt(centre, view, {x2_, y2_})};
}

void SelectionTool::rightRelease(QPoint at) {
    const bool inside = x1_ < at.x() && at.x() < x2_ && y1_ < at.y() && at.y() < y2_;
    if (!inside) remove();
}

void SelectionTool::place(const ViewCentre& centre, QSize view, const SelectionCorners& corners) {
    const QPoint topLeft = pixelOf(centre, view, corners.topLeft);
    const QPoint bottomRight = pixelOf(centre, view, corners.bottomRight);
    x1_ = topLeft.x();
    y1_ = topLeft.y();
    x2_ = bottomRight.x();
    y2_ = bottomRight.y();
}

} // namespace zelvano
