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
    FetchFixture() : meter(language) {
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

    void refreshContext() {
        context.settings = std::make_shared<const FetchSettings>(settings);
        context.language = &language;
        context.meter = &meter;
        context.overlayCutoff = &cutoff;
    }

    jtype record(int level, double lonW, double lat) const {
        return makeTileRecord(geo::tileRequests(settings.templates, geo::LocateTile(level, lonW, lat)),
                              settings.layout);
    }

    // The request target (path and query) of a full request.
    QString target(const QString& request) const { return request.mid(server.base().size()); }

    QString text(int entry) const { return language.languageText(entry); }

    QByteArray fileBytes(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static FetchOptions jobOptions(bool sat = true, bool map = false) {
        FetchOptions o;
        o.fromWorker = true;
        o.satLayer = sat;
        o.mapLayer = map;
        o.jobMode = true;
        return o;
    }
    static FetchOptions drawingPass(bool sat = true, bool map = false) {
        FetchOptions o;
        o.satLayer = sat;
        o.mapLayer = map;
        o.deferNetwork = true;
        return o;
    }
    static FetchOptions loader(bool sat = true, bool map = false) {
        FetchOptions o;
        o.fromWorker = true;
        o.satLayer = sat;
        o.mapLayer = map;
        return o;
    }

    TempProgramFolder folder;
    TestTileServer server;
    LanguageTable language;
    DownloadMeter meter;
    std::atomic<int> cutoff{kOverlayCutoffReset};
    FetchSettings settings;
    FetchContext context;
    RecordingJob job;
    FetchCounters counters;
};

} // namespace zelvano::test
