// The copy job: the selection's satellite tiles of the primary service at one level copied out of the
// cache into one folder, each named by its letters ("qrst.jpg"), with calibration files beside each copy;
// or, calibration only, just the calibration files, their tables naming the tiles where they lie in the
// cache. No record, no log, no queue: it runs on the caller's thread to its end, calling `progress` after
// every tile so that the window keeps answering (and a command line can stop it).
#pragma once

#include "calibration/calibration_writer.h"
#include "geo/position.h"
#include "tiles/tile_paths.h"

#include <QStringList>

#include <functional>

namespace zelvano {

struct CopyRequest {
    int level = 8;
    geo::Position topLeft; // the selection, in order
    geo::Position bottomRight;
    QString folder; // the target folder, ending with "/"
    bool calibrationOnly = false;
    CalibrationFormats formats;
    CacheLayout layout;
};

struct CopyResult {
    int total = 0;      // the progress bar's maximum
    int visited = 0;    // tiles of the walk
    int copied = 0;     // tiles written to the folder
    int calibrated = 0; // tiles whose calibration files were all written
    int failed = 0;     // present tiles whose copy or calibration file could not be written
    QStringList files;  // every file written, in order
    bool stopped = false;
};

// The bar's maximum: whole tiles across (W − c0) and down (H − r0), each truncated. It counts fewer tiles
// than the walk visits; the bar stops at its maximum.
int copyProgressTotal(int width, int height, int column0, int row0);
int copyProgressTotal(const CopyRequest& request);
// The tiles the walk visits: ceil((W + c0) / 256) × ceil((H + r0) / 256).
int copyTileCount(const CopyRequest& request);

// Copies (or calibrates) every tile of the walk; a tile missing from the cache is passed over and still
// counted. With SeeYou among the formats the entries collect in one index, saved as "ForSeeYou.MDS" in the
// folder at the end when it holds any. `progress` gets the tiles done so far; false from it stops the job there.
CopyResult runCopyJob(const CopyRequest& request, const std::function<bool(int done)>& progress = {});

} // namespace zelvano
