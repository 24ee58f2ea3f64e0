// The view's screen geometry: the view centre shows at pixel (W ÷ 2, H ÷ 2) of the paint box, so a view
// pixel lies at the offset (x − W ÷ 2, y − H ÷ 2) from the centre at the view's level (÷ truncating).
// Pure functions; any thread.
#pragma once

#include "config/settings.h"
#include "geo/position.h"

#include <QPoint>
#include <QSize>

namespace zelvano {

struct ViewCentre {
    geo::Position position;
    int zoom = 1;

    bool operator==(const ViewCentre&) const = default;
};

ViewCentre viewCentreOf(const Settings& settings); // viewLatitude, viewLongitude, viewZoom
void setViewPosition(Settings& settings, geo::Position position);

QPoint offsetFromCentre(QSize view, QPoint pixel);

// The position at a pixel offset from the centre: the north-west corner of its pixel, clamped to the
// world. `inside` tells whether it had to be clamped.
geo::Position positionAtOffset(const ViewCentre& centre, QPoint offset, bool* inside = nullptr);

// The position under a view pixel.
geo::Position positionAt(const ViewCentre& centre, QSize view, QPoint pixel, bool* inside = nullptr);

// The view pixel that shows a position.
QPoint pixelOf(const ViewCentre& centre, QSize view, geo::Position position);

} // namespace zelvano
