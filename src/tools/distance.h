// Distances on the WGS 84 ellipsoid, as the measuring tool shows them and the calibration files state
// them. Longitudes west-positive, latitudes north-positive, in degrees. Pure functions; any thread.
#pragma once

#include "geo/position.h"

#include <QString>

#include <vector>

namespace zelvano {

// One leg, A to B: the central angle on the sphere times the ellipsoid's radius of curvature in the leg's
// direction at the middle latitude.
double legMetres(geo::Position a, geo::Position b);

// From point 1 to point 2 as drawn on the flat map: when point 2 lies more than 180° further west the path
// is cut at the midpoint, so it does not take the shorter way around the other side.
double distanceMetres(geo::Position from, geo::Position to);

// The length of a path through the points, oldest first: the sum of its legs, each in kilometres, as the
// measuring tool adds them up.
double pathKilometres(const std::vector<geo::Position>& points);

// The read-out of a total in kilometres: "2,345km" above one kilometre, else "812,40m".
QString distanceText(double kilometres);

} // namespace zelvano
