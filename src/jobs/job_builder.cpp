#include "jobs/job_builder.h"

#include "jobs/job_texts.h"

namespace zelvano {

namespace {

struct KindTexts {
    int command;   // the command line
    int listStart; // the list-start line
    int listDone;  // "Список создан"
};

KindTexts textsOf(JobKind kind) {
    return kind == JobKind::Download ? KindTexts{55, 57, 58} : KindTexts{60, 62, 63};
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

std::shared_ptr<stichtype> buildJob(const JobHost& host, const JobDefinition& d) {
    const LanguageTable& language = *host.fetch.shared->language;
    const KindTexts texts = textsOf(d.kind);
    auto job = std::make_shared<stichtype>();
    job->internetOnly = d.workMode == WorkMode::InternetOnly;
    job->cacheOnly = d.workMode == WorkMode::CacheOnly;
    job->satelliteLayer = d.layers.satellite;
    job->mapLayer = d.layers.map;
    job->secondaryService = d.layers.secondary;
    job->isGenerate = d.kind == JobKind::Generate;
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
