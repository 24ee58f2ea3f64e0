// A program folder, a scripted loopback tile server and a fetch context whose templates point at it.
#pragma once

#include "config/language_table.h"
#include "geo/tile_math.h"
#include "support/temp_program_folder.h"
#include "support/test_tile_server.h"
#include "support/tile_fixtures.h"
#include "tiles/tile_fetcher.h"

#include <gtest/gtest.h>

#include <QFile>

namespace zelvano::test {

class RecordingJob : public FetchJob {
public:
    void AppendLog(const QString& line) override { log.append(line); }
    void switchOffMapLayer() override { ++mapLayerSwitchedOff; }
    QStringList log;
    int mapLayerSwitchedOff = 0;
};

class FetchFixture : public ::testing::Test {
protected:
    FetchFixture() {
        QString name = QStringLiteral("Russian.txt");
        language.loadLanguage(folder.path(), name);
        const QString base = server.base();
        settings.templates = {base + QStringLiteral("/kh?v=1&t=t"),     base + QStringLiteral("/mt?v=m&x="),
                              base + QStringLiteral("/mt?v=h&x="),      base + QStringLiteral("/tiles/a...jpeg"),
                              base + QStringLiteral("/tiles/h...jpeg"), base + QStringLiteral("/tiles/r...jpeg")};
        settings.layout = {folder.path() + QStringLiteral("/Cache/"), false};
        settings.autoGenerate = false;
        settings.limits = {2000, 2000, 100000};
        refreshContext();
    }

    ~FetchFixture() override { closeThreadConnections(); }

    void refreshContext() { context = {std::make_shared<const FetchSettings>(settings), shared}; }

    jtype record(const geo::TileId& tile) const { return makeTileRecord(tile, settings.templates, settings.layout); }
    jtype record(int level, double lonW, double lat) const { return record(geo::LocateTile(level, lonW, lat).tile()); }

    // FetchTile with the fixture's context, its errors counted into `counters`.
    FetchOutcome fetch(jtype& r, const FetchOptions& options, FetchJob* withJob = nullptr) {
        const FetchOutcome outcome = FetchTile(r, options, context, withJob);
        counters.count(outcome);
        return outcome;
    }

    // The request target (path and query) of a full request.
    QString target(const QString& request) const { return request.mid(server.base().size()); }

    QString text(int entry) const { return language.languageText(entry); }

    QByteArray fileBytes(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static FetchOptions options(FetchMode mode, bool sat, bool map, WorkMode work = WorkMode::CacheAndInternet) {
        return fetchOptions(mode, {sat, map, false}, work);
    }
    static FetchOptions jobOptions(bool sat = true, bool map = false) {
        return options(FetchMode::JobWorker, sat, map);
    }
    static FetchOptions drawingPass(bool sat = true, bool map = false) {
        return options(FetchMode::DrawingPass, sat, map);
    }
    static FetchOptions loader(bool sat = true, bool map = false) { return options(FetchMode::ViewLoader, sat, map); }

    TempProgramFolder folder;
    TestTileServer server;
    std::shared_ptr<LanguageTable> languageTable = std::make_shared<LanguageTable>();
    LanguageTable& language = *languageTable;
    std::shared_ptr<FetchShared> shared = std::make_shared<FetchShared>(languageTable);
    DownloadMeter& meter = shared->meter;
    std::atomic<int>& cutoff = shared->overlayCutoff;
    FetchSettings settings;
    FetchContext context;
    RecordingJob job;
    FetchCounters counters;
};

} // namespace zelvano::test
