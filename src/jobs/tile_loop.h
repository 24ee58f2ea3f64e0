// A job's pass over its tile list: each tile obtained through FetchTile with the job's retries (and drawn
// into a stitch job's image, or the placeholder when it cannot be obtained), skipped once an error counter
// is past its limit, counted in tilesDone. With several connections the tiles are handed
// out in list order to that many threads; a tile's attempts and log lines stay with the thread that took
// it, and its lines reach the log together. A server's Retry-After pauses every connection of the job.
#pragma once

#include "jobs/job_worker.h"

namespace zelvano {

struct TileLoopResult {
    int obtained = 0;
    int failed = 0;
    int skipped = 0;
    FetchCounters errors;
};

// Runs over the job's whole list, which it leaves in place for the generation pass. Returns when every
// tile is done or the job's stop is requested (a transfer in flight ends at once).
TileLoopResult runTileLoop(const JobHost& host, stichtype& job);

} // namespace zelvano
