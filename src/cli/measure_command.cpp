#include "cli/arguments.h"
#include "cli/commands.h"

#include "tools/distance.h"

#include <QJsonObject>

namespace zelvano::cli {

namespace {

// "LAT,LON" in ordinary decimal degrees, east positive.
geo::Position pointOf(const QString& text) {
    const QStringList parts = text.split(u',');
    const auto badPoint = [&] {
        return UsageError{QStringLiteral("\"%1\" is not a point: give LAT,LON in decimal degrees").arg(text)};
    };
    if (parts.size() != 2) throw badPoint();
    const std::optional<double> lat = parseUserNumber(parts[0]);
    const std::optional<double> lon = parseUserNumber(parts[1]);
    if (!lat.has_value() || !lon.has_value()) throw badPoint();
    if (*lat < -90 || *lat > 90 || *lon < -180 || *lon > 180)
        throw UsageError{
            QStringLiteral("\"%1\": latitude must lie between -90 and 90, longitude between -180 and 180").arg(text)};
    return geo::Position::fromEastLongitude(*lat, *lon);
}

} // namespace

int measureCommand(const QStringList& args) {
    if (args.size() < 2) throw UsageError{QStringLiteral("measure needs at least two points")};
    std::vector<geo::Position> points;
    for (const QString& arg : args)
        points.push_back(pointOf(arg));
    const double kilometres = pathKilometres(points); // as the measuring tool adds up its legs
    printJson(
        QJsonObject{{QStringLiteral("metres"), kilometres * 1000}, {QStringLiteral("text"), distanceText(kilometres)}});
    return 0;
}

} // namespace zelvano::cli
