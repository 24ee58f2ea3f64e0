#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/interruption.h"

#include "geo/mirror_random.h"
#include "geo/tile_math.h"
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

QString sourceName(TileSource source) {
    switch (source) {
    case TileSource::Cache:
        return QStringLiteral("cache");
    case TileSource::Network:
        return QStringLiteral("network");
    case TileSource::Placeholder:
        return QStringLiteral("placeholder");
    case TileSource::None:
        break;
    }
    return QStringLiteral("none");
}

QString errorName(FetchError error) {
    switch (error) {
    case FetchError::DiskWrite:
        return QStringLiteral("diskWrite");
    case FetchError::Fetch:
        return QStringLiteral("fetch");
    case FetchError::BadFile:
        return QStringLiteral("badFile");
    case FetchError::Layer:
        return QStringLiteral("layer");
    case FetchError::Stopped:
        return QStringLiteral("stopped");
    case FetchError::None:
        break;
    }
    return QStringLiteral("none");
}

} // namespace

int fetchCommand(const QStringList& args) {
    QString error;
    const auto options = parseOptions(args,
                                      {QStringLiteral("zoom"), QStringLiteral("lat"), QStringLiteral("lon"),
                                       QStringLiteral("layers"), QStringLiteral("mode")},
                                      {QStringLiteral("secondary")}, error);
    if (!options) throw UsageError{error};
    const ZoomAndPosition where = requiredPosition(*options);

    const ProgramState state = loadProgramState();
    const Settings& settings = state.settings;
    const LayerChoice layers = layersOption(*options, settings);
    if (!layers.satellite && !layers.map)
        throw UsageError{QStringLiteral("the settings choose no layer; pass --layers")};
    if (layers.map && settings.singleFolderCache) throw UsageError{state.language->languageText(34)};
    FetchOptions fetch = fetchOptions(FetchMode::JobWorker, layers, workModeOption(*options, settings));
    fetch.pictureNeeded = false; // as a download job

    const Interruption interruption;
    geo::seedMirrorRandom(); // as a worker thread does when it starts
    const FetchContext context{std::make_shared<const FetchSettings>(fetchSettingsFrom(settings, state.folder)),
                               std::make_shared<FetchShared>(state.language)};
    jtype record = makeTileRecord(geo::LocateTile(where.zoom, where.position).tile(), context.settings->templates,
                                  context.settings->layout);
    StderrJob job;
    const FetchOutcome outcome = FetchTile(record, fetch, context, &job, interruption.token());
    FetchCounters counters;
    counters.count(outcome);

    const QJsonObject json{
        {QStringLiteral("ok"), outcome.usable},
        {QStringLiteral("source"), sourceName(outcome.source)},
        {QStringLiteral("error"), errorName(outcome.error)},
        {QStringLiteral("message"), outcome.message},
        {QStringLiteral("satPending"), record.satPending},
        {QStringLiteral("overlayPending"), record.overlayPending},
        {QStringLiteral("satPath"), record.satPath},
        {QStringLiteral("mapPath"), record.mapPath},
        {QStringLiteral("hybridPath"), record.hybridPath},
        {QStringLiteral("writeErrors"), counters.writeErrors},
        {QStringLiteral("fetchErrors"), counters.fetchErrors},
        {QStringLiteral("badFileErrors"), counters.badFileErrors},
        {QStringLiteral("downloadedBytes"), context.shared->meter.total()},
    };
    printJson(json);
    return interruption.exitStatus(outcome.usable ? 0 : 1);
}

} // namespace zelvano::cli
