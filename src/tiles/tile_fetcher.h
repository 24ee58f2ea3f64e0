// FetchTile: the picture of one tile for the chosen layers, from the cache or the network, checked,
// stored exactly as the server sent it and decoded into the record's bitmap, or a grey placeholder with a
// message. Serves three callers: the view's drawing pass (UI thread, cache only, network deferred), the
// view's loader thread and the job worker. Safe to run on several threads at once on the same cache files.
#pragma once

#include "tiles/fetch_context.h"
#include "tiles/tile_record.h"

namespace zelvano {

struct FetchOptions {
    bool fromWorker = false; // a loader or job thread (accounts downloads)
    bool secondary = false;  // the secondary service
    bool mapLayer = false;
    bool satLayer = true;
    bool deferNetwork = false; // the drawing pass: leave downloads to the loader
    bool internetOnly = false;
    bool cacheOnly = false;
    bool jobMode = false;
    bool pictureNeeded = true; // false: a download job, which only checks that what it stores decodes
};

// Errors by kind, counted by the caller's thread.
struct FetchCounters {
    int writeErrors = 0;
    int fetchErrors = 0;
    int badFileErrors = 0;
};

// Job mode: true when the tile is usable (one of the pending flags is clear), false when it ended on an
// error. View modes: true when there is nothing new to draw, false when the caller should draw the bitmap.
bool FetchTile(jtype& r, const FetchOptions& options, const FetchContext& context, FetchJob* job = nullptr,
               FetchCounters* counters = nullptr);

} // namespace zelvano
