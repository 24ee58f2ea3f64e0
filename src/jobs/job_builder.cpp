#include "jobs/job_builder.h"

#include "jobs/job_texts.h"
#include "jobs/stitched_image.h"

#include "base/text_file.h"
#include "geo/tile_math.h"

#include <cstdlib>

namespace zelvano {

namespace {

struct KindTexts {
    int command;   // the command line
    int listStart; // the list-start line
    int listDone;  // "Список создан"
};

KindTexts textsOf(JobKind kind) {
    switch (kind) {
    case JobKind::Download:
        return {55, 57, 58};
    case JobKind::Stitch:
        return {65, 66, 63};
    case JobKind::Generate:
        break;
    }
    return {60, 62, 63};
}

} // namespace

geo::Position selectionTopLeft(const Settings& s) {
    return {s.selectionTop, s.selectionLeft};
}

geo::Position selectionBottomRight(const Settings& s) {
    return {s.selectionBottom, s.selectionRight};
}

JobDefinition downloadDefinition(const Settings& s, const DelayChoice& delay) {
    JobDefinition d;
    d.kind = JobKind::Download;
    d.level = s.jobZoomIndex + 1;
    d.topLeft = selectionTopLeft(s);
    d.bottomRight = selectionBottomRight(s);
    d.workMode = s.jobWorkMode;
    d.layers = jobLayers(s);
    d.replaceExisting = s.autoGenerateReplace;
    d.retryDelayMs = s.errorControl ? s.retryInterval * 1000 : 0;
    d.jpegQuality = s.jobJpegQuality;
    d.delay = delay;
    return d;
}

JobDefinition stitchDefinition(const Settings& s, const DelayChoice& delay, const StitchName& name) {
    JobDefinition d = downloadDefinition(s, delay);
    d.kind = JobKind::Stitch;
    d.fileName = name.fileName;
    d.savePng = name.savePng;
    d.calibration = {s.calibOzi, s.calibMapInfo, s.calibArcGis, s.calibSeeYou};
    return d;
}

QSize selectionPixels(const JobDefinition& d) {
    const geo::PixelOffsetResult o = geo::PixelOffset(d.level, d.bottomRight, d.topLeft);
    return {std::abs(o.ox), std::abs(o.oy)};
}

std::vector<JobDefinition> pieceDefinitions(const JobDefinition& whole, const QString& chosen, int pieceWidth,
                                            int pieceHeight, bool coordinatesInName) {
    const QSize size = selectionPixels(whole);
    std::vector<JobDefinition> out;
    for (const StitchPiece& p :
         splitPieces(whole.level, whole.topLeft, size.width(), size.height(), pieceWidth, pieceHeight, chosen)) {
        JobDefinition d = whole;
        d.topLeft = p.topLeft;
        d.bottomRight = p.bottomRight;
        const StitchName name = stitchFileName(p.fileName, coordinatesInName, p.topLeft.lat, p.topLeft.lonW);
        d.fileName = name.fileName;
        d.savePng = name.savePng;
        out.push_back(d);
    }
    return out;
}

std::optional<QString> imagesSizeProblem(const std::vector<JobDefinition>& images, const QString& splitOption) {
    const qint64 available = availableMemory();
    for (const JobDefinition& d : images) {
        const QSize size = selectionPixels(d);
        if (auto problem = stitchSizeProblem(size.width(), size.height(), d.savePng, available, splitOption))
            return problem;
    }
    return std::nullopt;
}

bool saveSeeYouIndex(const QStringList& index, const QString& path) {
    return writeTextLines(path, index);
}

JobDefinition generateDefinition(const Settings& s, bool replace, const DelayChoice& delay) {
    JobDefinition d = downloadDefinition(s, {});
    d.kind = JobKind::Generate;
    d.replaceExisting = replace;
    d.delay.hours = delay.hours;
    d.delay.minutes = delay.minutes;
    return d;
}

int workerStartEntry(JobKind kind) {
    return kind == JobKind::Download ? 59 : 64;
}

std::shared_ptr<stichtype> buildJob(const JobHost& host, const JobDefinition& d, CalibrationResult* calibration) {
    const LanguageTable& language = *host.fetch.shared->language;
    const KindTexts texts = textsOf(d.kind);
    auto job = std::make_shared<stichtype>();
    job->internetOnly = d.workMode == WorkMode::InternetOnly;
    job->cacheOnly = d.workMode == WorkMode::CacheOnly;
    job->satelliteLayer = d.layers.satellite;
    job->mapLayer = d.layers.map;
    job->secondaryService = d.layers.secondary;
    job->isGenerate = d.kind == JobKind::Generate;
    job->isStitch = d.kind == JobKind::Stitch;
    job->fileName = d.fileName;
    job->replaceExisting = d.replaceExisting;

    job->startTime = host.clock->wallNow().addSecs(d.delay.hours * 3600LL + d.delay.minutes * 60LL);
    appendJobLog(host, *job,
                 language.languageText(texts.command) + u' ' + jobDateTimeText(job->startTime, host.locale));
    job->autoConnect = d.delay.autoConnect;
    job->hangUpAfter = d.delay.hangUpAfter;
    job->connectionName = d.delay.connectionName;
    job->userName = d.delay.userName;
    job->password = d.delay.password;
    job->topLat = d.topLeft.lat;
    job->leftLon = d.topLeft.lonW;
    job->retryDelayMs = d.retryDelayMs;
    job->jpegQuality = d.jpegQuality;
    if (job->isStitch) {
        const QSize size = selectionPixels(d);
        job->widthPx = size.width();
        job->heightPx = size.height();
        job->savePng = d.savePng;
        CalibrationImage image;
        image.level = d.level;
        image.width = job->widthPx;
        image.height = job->heightPx;
        image.imagePath = d.fileName;
        image.topLeft = d.topLeft;
        CalibrationResult written = writeCalibration(image, d.calibration, d.seeYouIndex);
        const bool failed = written.failed.has_value();
        if (calibration) *calibration = std::move(written);
        if (failed) return nullptr;
    }

    appendJobLog(host, *job, language.languageText(texts.listStart) + u' ' + jobNowText(host));
    job->tiles = d.kind == JobKind::Generate ? JobTileList::forGeneration(d.level, d.topLeft, d.bottomRight)
                                             : JobTileList::forLevel(selectionGrid(d.level, d.topLeft, d.bottomRight));
    job->tileCount = static_cast<int>(job->tiles.size());
    host.jobs->addNewest(job);
    appendJobLog(host, *job, language.languageText(texts.listDone) + u' ' + jobNowText(host));
    // A job without tiles would never start and would stay listed for good: it leaves at once.
    if (job->tiles.empty()) host.jobs->remove(job.get());
    return job;
}

} // namespace zelvano
