#include "cli/arguments.h"
#include "cli/commands.h"

#include "config/settings_file.h"
#include "geo/mirror_random.h"
#include "tiles/tile_fetcher.h"

#include <QJsonObject>

#include <cstdio>

namespace zelvano::cli {

namespace {

// The job side of a one-tile fetch: log lines go to stderr as they happen.
class StderrJob : public FetchJob {
public:
    void AppendLog(const QString& line) override {
        std::fprintf(stderr, "%s\n", qUtf8Printable(line));
        std::fflush(stderr);
    }
    void switchOffMapLayer() override {}
};

struct Layers {
    bool sat;
    bool map;
};

Layers layersOf(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("layers"))) return {s.jobSatellite, s.jobMap};
    const QString v = o.values[QStringLiteral("layers")];
    if (v == QLatin1StringView("sat")) return {true, false};
    if (v == QLatin1StringView("map")) return {false, true};
    if (v == QLatin1StringView("both")) return {true, true};
    throw UsageError{QStringLiteral("--layers takes sat, map or both")};
}

WorkMode modeOf(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("mode"))) return s.jobWorkMode;
    const QString v = o.values[QStringLiteral("mode")];
    if (v == QLatin1StringView("cache")) return WorkMode::CacheOnly;
    if (v == QLatin1StringView("internet")) return WorkMode::InternetOnly;
    if (v == QLatin1StringView("both")) return WorkMode::CacheAndInternet;
    throw UsageError{QStringLiteral("--mode takes cache, internet or both")};
}

} // namespace

int fetchCommand(const QStringList& args) {
    QString error;
    const auto options = parseOptions(args,
                                      {QStringLiteral("zoom"), QStringLiteral("lat"), QStringLiteral("lon"),
                                       QStringLiteral("layers"), QStringLiteral("mode")},
                                      {QStringLiteral("secondary")}, error);
    if (!options) throw UsageError{error};
    const Position position = requiredPosition(*options);

    const auto state = loadProgramState();
    const Settings& settings = state->settings;
    const LanguageTable& language = state->language;
    const Layers layers = layersOf(*options, settings);
    const WorkMode mode = modeOf(*options, settings);
    if (!layers.sat && !layers.map) throw UsageError{QStringLiteral("the settings choose no layer; pass --layers")};
    if (layers.map && settings.singleFolderCache) throw UsageError{language.languageText(34)};

    geo::seedMirrorRandom(); // as a worker thread does when it starts
    FetchContext context;
    context.settings = std::make_shared<const FetchSettings>(fetchSettingsFrom(settings, state->folder));
    context.language = &language;
    DownloadMeter meter(language);
    context.meter = &meter;

    const geo::TileLocation tile = geo::LocateTile(position.zoom, -position.lon, position.lat);
    jtype record = makeTileRecord(geo::tileRequests(context.settings->templates, tile), context.settings->layout);
    FetchOptions fetch;
    fetch.fromWorker = true;
    fetch.jobMode = true;
    fetch.secondary = options->flags.contains(QStringLiteral("secondary")) || settings.useSecondaryService;
    fetch.satLayer = layers.sat;
    fetch.mapLayer = layers.map;
    fetch.internetOnly = mode == WorkMode::InternetOnly;
    fetch.cacheOnly = mode == WorkMode::CacheOnly;
    fetch.pictureNeeded = false; // as a download job
    StderrJob job;
    FetchCounters counters;
    const bool ok = FetchTile(record, fetch, context, &job, &counters);

    const QJsonObject json{
        {QStringLiteral("ok"), ok},
        {QStringLiteral("satPending"), record.satPending},
        {QStringLiteral("overlayPending"), record.overlayPending},
        {QStringLiteral("satPath"), record.satPath},
        {QStringLiteral("mapPath"), record.mapPath},
        {QStringLiteral("hybridPath"), record.hybridPath},
        {QStringLiteral("writeErrors"), counters.writeErrors},
        {QStringLiteral("fetchErrors"), counters.fetchErrors},
        {QStringLiteral("badFileErrors"), counters.badFileErrors},
        {QStringLiteral("downloadedBytes"), meter.total()},
    };
    printJson(json);
    return ok ? 0 : 1;
}

} // namespace zelvano::cli
