// FetchTile: the picture of one tile for the chosen layers, from the cache or the network, checked,
// stored exactly as the server sent it and decoded into the record's bitmap, or a grey placeholder with a
// message. Serves three callers: the view's drawing pass (UI thread, cache only, network deferred), the
// view's loader thread and the job worker. Safe to run on several threads at once on the same cache files;
// a stop requested on the caller's token ends a transfer at once.
#pragma once

#include "config/settings.h"
#include "tiles/fetch_context.h"
#include "tiles/tile_record.h"

#include <stop_token>

namespace zelvano {

enum class FetchMode {
    DrawingPass, // UI thread: the cache only, downloads left to the view loader
    ViewLoader,  // a loader thread: downloads what the pass left
    JobWorker,   // the job worker: logs every step, errors counted against the job's limits
};

struct FetchOptions {
    FetchMode mode = FetchMode::DrawingPass;
    LayerChoice layers;
    WorkMode workMode = WorkMode::CacheAndInternet;
    bool pictureNeeded = true; // false: a download job, which only checks that what it stores decodes

    FetchOptions in(FetchMode other) const {
        FetchOptions o = *this;
        o.mode = other;
        return o;
    }
};

// The options of one caller: its mode, and the layers and work mode of the view or the job.
FetchOptions fetchOptions(FetchMode mode, const LayerChoice& layers, WorkMode workMode);

// Where the tile's picture came from.
enum class TileSource { None, Cache, Network, Placeholder };

enum class FetchError {
    None,
    DiskWrite, // a new tile file could not be created (counted)
    Fetch,     // the satellite download failed (counted)
    BadFile,   // a satellite tile that is not whole or does not decode (counted)
    Layer,     // a map or hybrid part failed (logged, not counted)
    Stopped,   // the caller's stop ended the transfer
};

struct FetchOutcome {
    bool usable = false; // one of the two parts was obtained: a job has the tile
    bool redraw = false; // the view should draw the record's bitmap: the pass left something new in it
    TileSource source = TileSource::None;
    FetchError error = FetchError::None;
    QString message; // the error as the job log writes it: "ошибка при получении 404 Not Found http://…"
    int retryAfterSeconds = -1; // the server asked to wait this long before the next request (429, 503)
};

// Errors by kind, counted by the caller's thread.
struct FetchCounters {
    int writeErrors = 0;
    int fetchErrors = 0;
    int badFileErrors = 0;

    void count(const FetchOutcome& outcome);
};

FetchOutcome FetchTile(jtype& r, const FetchOptions& options, const FetchContext& context, FetchJob* job = nullptr,
                       std::stop_token stop = {});

} // namespace zelvano
