#include "cli/arguments.h"
#include "cli/commands.h"

#include "config/settings_file.h"
#include "geo/tile_math.h"
#include "geo/tile_requests.h"

#include <QJsonObject>

namespace zelvano::cli {

int locateCommand(const QStringList& args) {
    QString error;
    const auto options =
        parseOptions(args, {QStringLiteral("zoom"), QStringLiteral("lat"), QStringLiteral("lon")}, {}, error);
    if (!options) throw UsageError{error};
    const Position position = requiredPosition(*options);

    const geo::RequestTemplates templates = requestTemplates(loadProgramState()->settings);

    // Users type east longitudes as positive; inside the program they are negative.
    const geo::TileLocation tile = geo::LocateTile(position.zoom, -position.lon, position.lat);
    const geo::TileRequests requests = geo::tileRequests(templates, tile);
    const QJsonObject json{
        {QStringLiteral("zoom"), position.zoom},
        {QStringLiteral("name"), tile.name()},
        {QStringLiteral("x"), tile.x},
        {QStringLiteral("y"), tile.y},
        {QStringLiteral("pixelColumn"), tile.pixelColumn},
        {QStringLiteral("pixelRow"), tile.pixelRow},
        {QStringLiteral("serviceZoom"), tile.serviceZoom},
        {QStringLiteral("quadkey"), geo::quadkey(tile.name())},
        {QStringLiteral("satelliteRequest"), requests.satellite},
        {QStringLiteral("mapRequest"), requests.map},
        {QStringLiteral("hybridRequest"), requests.hybrid},
        {QStringLiteral("secondaryAerialRequest"),
         geo::secondaryRequest(templates.secondaryAerial, requests.satellite, false)},
    };
    printJson(json);
    return 0;
}

} // namespace zelvano::cli
