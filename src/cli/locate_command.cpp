#include "cli/arguments.h"
#include "cli/commands.h"

#include "base/number_text.h"
#include "config/program_folder.h"
#include "config/settings_file.h"
#include "geo/tile_math.h"
#include "geo/tile_requests.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace zelvano::cli {

namespace {

double requiredNumber(const Options& options, const QString& name, double limit) {
    if (!options.values.contains(name)) throw UsageError{QStringLiteral("missing option --%1").arg(name)};
    const auto value = parseUserNumber(options.values[name]);
    if (!value) throw UsageError{QStringLiteral("--%1: \"%2\" is not a number").arg(name, options.values[name])};
    if (*value < -limit || *value > limit)
        throw UsageError{QStringLiteral("--%1 must lie between -%2 and %2").arg(name, QString::number(limit))};
    return *value;
}

} // namespace

int locateCommand(const QStringList& args) {
    QString error;
    const auto options =
        parseOptions(args, {QStringLiteral("zoom"), QStringLiteral("lat"), QStringLiteral("lon")}, {}, error);
    if (!options) throw UsageError{error};
    if (!options->values.contains(QStringLiteral("zoom"))) throw UsageError{QStringLiteral("missing option --zoom")};
    const auto zoom = parseInt32(options->values[QStringLiteral("zoom")]);
    if (!zoom || *zoom < geo::kMinLevel || *zoom > geo::kMaxLevel)
        throw UsageError{QStringLiteral("--zoom must be a whole number from %1 to %2").arg(geo::kMinLevel).arg(geo::kMaxLevel)};
    const double lat = requiredNumber(*options, QStringLiteral("lat"), geo::kLatitudeLimit);
    const double lon = requiredNumber(*options, QStringLiteral("lon"), 180);

    const QString folder = programFolder();
    Settings settings;
    LanguageTable language;
    loadSettings(settings, language, folder);
    const geo::RequestTemplates templates = requestTemplates(settings);

    // Users type east longitudes as positive; inside the program they are negative.
    const geo::TileLocation tile = geo::LocateTile(*zoom, -lon, lat);
    const geo::TileRequests requests = geo::tileRequests(templates, tile);
    const QJsonObject json{
        {QStringLiteral("zoom"), *zoom},
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
    const QByteArray out = QJsonDocument(json).toJson(QJsonDocument::Indented);
    std::fwrite(out.constData(), 1, out.size(), stdout);
    return 0;
}

} // namespace zelvano::cli
