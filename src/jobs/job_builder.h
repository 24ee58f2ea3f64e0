// The builders: a confirmed job definition made into a listed job. They fill the job from the settings and
// the selection, write its first log lines, build its tile list by the grid walk (a generation job walks
// every level from 1 up to its own) and link it at the head of the job list. What the window adds around
// them (the delay dialog, the running-jobs box, starting the worker) stays with the window; the command
// line uses the same builders.
#pragma once

#include "calibration/calibration_writer.h"
#include "config/settings.h"
#include "geo/position.h"
#include "jobs/job_worker.h"
#include "jobs/stitch_naming.h"

#include <QDateTime>
#include <QSize>

#include <vector>

namespace zelvano {

// What the delay and connection dialog holds: the delay applies to every job built, shown or not; the
// connection choices only when the dialog was shown and confirmed for the job.
struct DelayChoice {
    int hours = 0;   // 0 to 100
    int minutes = 0; // 0 to 60
    bool autoConnect = false;
    bool hangUpAfter = false;
    QString connectionName;
    QString userName;
    QString password;
};

enum class JobKind { Download, Stitch, Generate };

struct JobDefinition {
    JobKind kind = JobKind::Download;
    int level = 8;         // the job level, 1 to 24
    geo::Position topLeft; // the selection, in order
    geo::Position bottomRight;
    WorkMode workMode = WorkMode::CacheAndInternet;
    LayerChoice layers;
    bool replaceExisting = false;
    int retryDelayMs = 0;
    int jpegQuality = 80;
    DelayChoice delay;
    // A stitch job's image and the calibration files written beside it when the job is built.
    QString fileName;
    bool savePng = false;
    CalibrationFormats calibration;
    QStringList* seeYouIndex = nullptr; // a split run's index; none: a one-entry index file per image
};

// The selection of the settings (lines 89 to 92) as corners: top-left first.
geo::Position selectionTopLeft(const Settings& settings);
geo::Position selectionBottomRight(const Settings& settings);

// A download job over the stored selection at the job level, as the window's download builder makes it.
JobDefinition downloadDefinition(const Settings& settings, const DelayChoice& delay);
// A stitch job into `name` with the calibration formats of the settings.
JobDefinition stitchDefinition(const Settings& settings, const DelayChoice& delay, const StitchName& name);
// The pieces of a split run, column by column, each a stitch job of its own named "_x<column>y<row>"
// after `chosen` (with the coordinates in the name when asked).
std::vector<JobDefinition> pieceDefinitions(const JobDefinition& whole, const QString& chosen, int pieceWidth,
                                            int pieceHeight, bool coordinatesInName);
// Why the images of these stitch definitions cannot be made (a JPEG side too long, not memory enough for
// one of them), as stitchSizeProblem says it for the first that cannot; nothing when all can.
std::optional<QString> imagesSizeProblem(const std::vector<JobDefinition>& images, const QString& splitOption);
// Saves the SeeYou index of a split run or a copy job; false when it could not be written.
bool saveSeeYouIndex(const QStringList& index, const QString& path);

// The selection's size in pixels at the definition's level.
QSize selectionPixels(const JobDefinition& definition);

// A generation job; it never dials, but waits for the delay like the others.
JobDefinition generateDefinition(const Settings& settings, bool replace, const DelayChoice& delay);

// Builds the job, logs its first lines and links it at the head of the host's list; the caller starts a
// worker when it is the only job (JobWorker::startNext with workerStartEntry). A job whose list came out
// empty (a selection 0 pixels wide at the level) is unlinked again at once, its log kept in the record.
// A stitch job's calibration files are written before its list is made; when one cannot be written the
// build is abandoned: nothing is listed, the result is null and `calibration` tells which file failed.
std::shared_ptr<stichtype> buildJob(const JobHost& host, const JobDefinition& definition,
                                    CalibrationResult* calibration = nullptr);

// "Запуск потока" of the kind.
int workerStartEntry(JobKind kind);

} // namespace zelvano
