#include "view/view_geometry.h"

#include "geo/tile_math.h"

namespace zelvano {

ViewCentre viewCentreOf(const Settings& s) {
    return {{s.viewLatitude, s.viewLongitude}, s.viewZoom};
}

void setViewPosition(Settings& s, geo::Position position) {
    s.viewLatitude = position.lat;
    s.viewLongitude = position.lonW;
}

QPoint offsetFromCentre(QSize view, QPoint pixel) {
    return {pixel.x() - view.width() / 2, pixel.y() - view.height() / 2};
}

geo::Position positionAtOffset(const ViewCentre& centre, QPoint offset, bool* inside) {
    geo::Position p = centre.position;
    const bool in = geo::ShiftPosition(offset.x(), offset.y(), centre.zoom, p);
    if (inside) *inside = in;
    return p;
}

geo::Position positionAt(const ViewCentre& centre, QSize view, QPoint pixel, bool* inside) {
    return positionAtOffset(centre, offsetFromCentre(view, pixel), inside);
}

QPoint pixelOf(const ViewCentre& centre, QSize view, geo::Position position) {
    const geo::PixelOffsetResult o = geo::PixelOffset(centre.zoom, position, centre.position);
    return {view.width() / 2 - o.ox, view.height() / 2 - o.oy};
}

} // namespace zelvano
