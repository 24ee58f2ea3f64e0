#include "tools/distance.h"

#include "base/number_text.h"

#include <algorithm>
#include <cmath>

namespace zelvano {

namespace {

constexpr double kA = 6378137;               // semi-major axis, metres
constexpr double kF = 0.0033528106647474805; // flattening
constexpr double kE2 = 2 * kF - kF * kF;     // first eccentricity squared
constexpr double kRho = 0.017453292519943;   // degrees to radians, as the program has always taken it

double square(double v) {
    return v * v;
}

} // namespace

double legMetres(geo::Position a, geo::Position b) {
    const double dLon = (b.lonW - a.lonW) * kRho;
    const double dLat = (b.lat - a.lat) * kRho;
    if (dLon == 0 && dLat == 0) return 0;
    const double midLat = (a.lat + b.lat) / 2 * kRho;
    const double s2 = square(std::sin(midLat));
    const double m = kA * (1 - kE2) / std::pow(1 - kE2 * s2, 1.5); // meridian radius of curvature
    const double n = kA / std::sqrt(1 - kE2 * s2);                 // prime vertical radius of curvature
    const double haversine =
        square(std::sin(dLat / 2)) + std::cos(a.lat * kRho) * std::cos(b.lat * kRho) * square(std::sin(dLon / 2));
    const double sigma = 2 * std::asin(std::sqrt(std::clamp(haversine, 0.0, 1.0)));
    if (sigma == 0) return 0; // closer than the sine can tell
    // The leg's direction; rounding takes the sine past ±1 on a parallel, where the direction is ±90°.
    const double alpha = std::asin(std::clamp(std::cos(a.lat * kRho) * std::sin(dLon) / std::sin(sigma), -1.0, 1.0));
    const double r = m * n / (m * square(std::sin(alpha)) + n * square(std::cos(alpha)));
    return sigma * r;
}

double distanceMetres(geo::Position from, geo::Position to) {
    if (to.lonW - from.lonW > 180) {
        const geo::Position middle{(from.lat + to.lat) / 2, (from.lonW + to.lonW) / 2};
        return legMetres(from, middle) + legMetres(middle, to);
    }
    return legMetres(from, to);
}

double pathKilometres(const std::vector<geo::Position>& points) {
    double total = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        total += distanceMetres(points[i - 1], points[i]) * 0.001;
    return total;
}

QString distanceText(double kilometres) {
    return kilometres > 1 ? formatFixed(kilometres, 3) + QStringLiteral("km")
                          : formatFixed(kilometres * 1000, 2) + QStringLiteral("m");
}

} // namespace zelvano
