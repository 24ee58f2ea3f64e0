#include "cli/arguments.h"
#include "cli/commands.h"

#include "geo/tile_math.h"
#include "geo/tile_requests.h"

#include <QJsonObject>

namespace zelvano::cli {

int locateCommand(const QStringList& args) {
    QString error;
    const auto options =
        parseOptions(args, {QStringLiteral("zoom"), QStringLiteral("lat"), QStringLiteral("lon")}, {}, error);
    if (!options) throw UsageError{error};
    const ZoomAndPosition where = requiredPosition(*options);

    const geo::RequestTemplates templates = requestTemplates(loadProgramState().settings);
    const geo::TileLocation location = geo::LocateTile(where.zoom, where.position);
    const geo::TileId tile = location.tile();
    const QJsonObject json{
        {QStringLiteral("zoom"), where.zoom},
        {QStringLiteral("name"), tile.name()},
        {QStringLiteral("x"), tile.x},
        {QStringLiteral("y"), tile.y},
        {QStringLiteral("pixelColumn"), location.pixelColumn},
        {QStringLiteral("pixelRow"), location.pixelRow},
        {QStringLiteral("serviceZoom"), tile.serviceZoom()},
        {QStringLiteral("quadkey"), tile.quadkey()},
        {QStringLiteral("satelliteRequest"), geo::satelliteRequest(templates.satellite, tile)},
        {QStringLiteral("mapRequest"), geo::mapRequest(templates.map, tile)},
        {QStringLiteral("hybridRequest"), geo::mapRequest(templates.hybrid, tile)},
        {QStringLiteral("secondaryAerialRequest"), geo::secondaryRequest(templates.secondaryAerial, tile, false)},
    };
    printJson(json);
    return 0;
}

} // namespace zelvano::cli
