// A geographic position in decimal degrees: latitude north-positive, longitude west-positive, as the
// program holds every position (view centre, selection corners, bookmarks, jobs, settings file). The
// ordinary east-positive longitude of the command line and of other programs is converted here only.
// A value type; any thread.
#pragma once

#include <ostream>

namespace zelvano::geo {

struct Position {
    double lat = 0;
    double lonW = 0; // west positive: 10° E is -10

    bool operator==(const Position&) const = default;

    static Position fromEastLongitude(double lat, double lonEast) { return {lat, -lonEast}; }
    double eastLongitude() const { return -lonW; }
};

inline std::ostream& operator<<(std::ostream& out, const Position& p) {
    return out << "lat " << p.lat << " lonW " << p.lonW;
}

} // namespace zelvano::geo
