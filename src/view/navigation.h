// What the user's pointer, wheel and keys do to the view: the centre after a pan, the arrow-key and
// PageUp/PageDown steps, the zoom of a click, and the cycles of the layer and work-mode buttons. Pure
// functions; the window applies their results. Any thread.
#pragma once

#include "config/settings.h"
#include "view/view_geometry.h"

#include <Qt>

namespace zelvano {

// The centre after dragging the picture from `pressed` to `released`.
geo::Position panResult(const ViewCentre& centre, QPoint pressed, QPoint released);

// A key of the window: the pan offset (a third of the back buffer's width or height for an arrow) and
// the zoom step (+1 PageUp, -1 PageDown).
struct KeyStep {
    QPoint pan;
    int zoom = 0;

    bool operator==(const KeyStep&) const = default;
};
KeyStep keyStep(int key, QSize buffer);

// The zoom step of a click with the pan tool: in the click-zoom scheme the left button zooms in and the
// right one out; the wheel scheme and the other buttons only centre.
int clickZoomStep(MouseMode mode, Qt::MouseButton button);

// Map only → satellite only → map and satellite → map only; neither layer → map and satellite.
LayerChoice nextLayers(LayerChoice layers);
// Cache only → internet only → cache and internet → cache only.
WorkMode nextWorkMode(WorkMode mode);

} // namespace zelvano
