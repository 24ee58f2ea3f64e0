// One batch job: what it does, over which part of the map, with which options, and how far it has come.
// Made by a builder on the UI thread, owned by the job list and shared with whoever reads it (the worker,
// the job timer, the Cancel button), so a reader keeps it alive while the worker removes it. Fields the
// worker and the UI thread both change are atomic; the log is guarded by the job list.
#pragma once

#include "jobs/tile_list.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <stop_token>

namespace zelvano {

struct stichtype : std::enable_shared_from_this<stichtype> {
    QDateTime startTime; // the moment the job may start: its creation plus the delay
    bool isStitch = false;
    bool isGenerate = false;
    bool replaceExisting = false; // generated lower-zoom tiles replace those already cached
    int retryDelayMs = 0;         // between two attempts at one tile; 0 without error control
    bool autoConnect = false;     // dial before the work
    bool hangUpAfter = false;     // hang up every dial-up connection after it
    QString connectionName;
    QString userName;
    QString password; // in memory only
    // The stop request: Cancel sets it, and the worker when it finishes. Every wait of the worker on the
    // job ends at once when it is set.
    std::stop_source cancel;
    JobTileList tiles;
    std::unique_ptr<QImage> image; // a stitch job's image in memory, RGB 5-6-5, from the worker's start
    int widthPx = 0;               // the selection at the job level; stitch jobs
    int heightPx = 0;
    double topLat = 0;  // the selection's north-west corner
    double leftLon = 0; // west-positive
    bool internetOnly = false;
    bool cacheOnly = false; // neither: cache and internet
    bool satelliteLayer = true;
    bool mapLayer = false;
    bool secondaryService = false;
    bool savePng = false;
    int tileCount = 0;
    std::atomic<int> tilesDone = 0;
    int jpegQuality = 80;
    QString fileName;                   // a stitch job's image file
    std::atomic<bool> logShown = false; // the report window follows this job's log
    QStringList log;                    // read and written through the job list, under its lock

    bool cancelled() const { return cancel.stop_requested(); }

    stichtype();
    ~stichtype();
    stichtype(const stichtype&) = delete;
    stichtype& operator=(const stichtype&) = delete;
};

} // namespace zelvano
