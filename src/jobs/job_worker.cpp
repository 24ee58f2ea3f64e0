#include "jobs/job_worker.h"

#include "base/number_text.h"
#include "geo/mirror_random.h"
#include "jobs/job_texts.h"
#include "jobs/stitch_encoders.h"
#include "jobs/stitched_image.h"
#include "jobs/tile_loop.h"
#include "tiles/parent_builder.h"

#include <exception>

namespace zelvano {

namespace {

using namespace std::chrono_literals;

constexpr auto kStartPoll = 10s;

QString text(const JobHost& host, int entry) {
    return host.fetch.shared->language->languageText(entry);
}

QString coordinates(const stichtype& job) {
    return formatFixed(job.topLat, 6) + u' ' + formatFixed(job.leftLon, 6);
}

void dial(const JobHost& host, const stichtype& job) {
    DialResult result;
    if (host.dialUp) {
        result = host.dialUp->dial(job.connectionName, job.userName, job.password);
    } else {
        result = {-1, QStringLiteral("Нет службы подключений: соединение не установлено")};
    }
    if (!result.ok() && !result.errorText.isEmpty() && host.dialError) host.dialError(result.errorText);
}

// The stitched image, made before the wait; its size line goes to the log alone, not to the report window.
void prepareImage(const JobHost& host, stichtype& job) {
    host.jobs->appendLog(job, text(host, 88) + stitchMegabytes(job.widthPx, job.heightPx) + jobNowText(host));
    job.image = std::make_unique<QImage>(newStitchImage(job.widthPx, job.heightPx));
}

bool save(const JobHost& host, stichtype& job) {
    appendJobLog(host, job, text(host, 98));
    const std::stop_token stop = job.cancel.get_token();
    const QImage& image = *job.image;
    const bool saved = job.savePng ? saveStitchPng(image, job.fileName, stop)
                                   : saveStitchJpeg(image, job.fileName, job.jpegQuality, stop);
    appendJobLog(host, job, text(host, saved ? 99 : 100));
    return saved;
}

// Steps of the run up to the clean-up; a cancel skips what is left of them.
void work(const JobHost& host, stichtype& job, JobSummary& summary) {
    const std::stop_token stop = job.cancel.get_token();
    if (job.isStitch) prepareImage(host, job);
    while (host.clock->wallNow() <= job.startTime && !job.cancelled())
        host.clock->sleepFor(kStartPoll, stop);
    if (job.autoConnect && !job.cancelled()) {
        dial(host, job);
        appendJobLog(host, job, text(host, 89));
    }
    if (!job.cancelled()) {
        const QString count =
            text(host, 93) + u' ' + QString::number(job.tileCount) + u' ' + text(host, 92) + u' ' + coordinates(job);
        const QString now = jobNowText(host);
        if (job.isStitch)
            appendJobLog(host, job,
                         text(host, 90) + u' ' + now + u' ' + text(host, 91) + u' ' + QString::number(job.widthPx) +
                             u'x' + QString::number(job.heightPx) + u' ' + text(host, 92) + u' ' + coordinates(job) +
                             u' ' + job.fileName);
        else if (job.isGenerate)
            appendJobLog(host, job, text(host, 198) + now + u' ' + count);
        else
            appendJobLog(host, job, text(host, 199) + now + u' ' + count);
    }
    if (!job.isGenerate && !job.cancelled()) {
        const TileLoopResult loop = runTileLoop(host, job);
        summary.obtained = loop.obtained;
        summary.failed = loop.failed;
        summary.skipped = loop.skipped;
        summary.errors = loop.errors;
        if (!job.cancelled()) appendJobLog(host, job, text(host, job.isStitch ? 95 : 96));
    }
    if (job.hangUpAfter) {
        if (host.dialUp) hangUpAll(*host.dialUp);
        appendJobLog(host, job, text(host, 97));
    }
    if (job.isStitch && !job.cancelled()) summary.saved = save(host, job);
    const bool autoGenerate = host.limits ? host.limits().autoGenerate : true;
    if ((job.isGenerate || autoGenerate) && !job.tiles.empty() && !job.cancelled()) {
        appendJobLog(host, job, text(host, 101));
        job.tilesDone = 0;
        const CacheLayout& layout = host.fetch.settings->layout;
        while (!job.tiles.empty() && !job.cancelled()) {
            buildJobParent(job.tiles.next().tile, job.replaceExisting, layout, job.jpegQuality);
            ++job.tilesDone;
            job.tiles.takeNext();
        }
    }
}

} // namespace

JobLimits jobLimitsFrom(const Settings& s) {
    return {s.errorControl, s.retryCount, s.writeErrorLimit, s.fetchErrorLimit, s.badFileErrorLimit, s.autoGenerate};
}

QString jobNowText(const JobHost& host) {
    return jobDateTimeText(host.clock->wallNow(), host.locale);
}

void appendJobLog(const JobHost& host, stichtype& job, const QString& line) {
    host.jobs->appendLog(job, line);
    if (host.logged) host.logged(job, line);
}

JobSummary runJob(const JobHost& host, const std::shared_ptr<stichtype>& job) {
    JobSummary summary;
    summary.tileCount = job->tileCount;
    geo::seedMirrorRandom();
    const qint64 bytesBefore = host.fetch.shared->meter.total();
    try {
        work(host, *job, summary);
    } catch (const std::exception& e) {
        appendJobLog(host, *job, QStringLiteral("сбой задания: ") + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        appendJobLog(host, *job, QStringLiteral("сбой задания"));
    }
    summary.cancelled = job->cancelled();
    summary.tilesDone = job->tilesDone;
    summary.downloadedBytes = host.fetch.shared->meter.total() - bytesBefore;
    job->cancel.request_stop();
    appendJobLog(host, *job, text(host, 102));
    job->image.reset();
    appendJobLog(host, *job, text(host, 103) + jobNowText(host));
    host.jobs->remove(job.get());
    host.jobs->workerBusy = false;
    return summary;
}

JobWorker::JobWorker(JobHost host, std::shared_ptr<stichtype> job) : host_(std::move(host)), job_(std::move(job)) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

JobWorker* JobWorker::startNext(const JobHost& host, int startEntry, const std::function<void(JobWorker&)>& prepare) {
    bool idle = false;
    if (!host.jobs->workerBusy.compare_exchange_strong(idle, true)) return nullptr;
    const auto job = host.jobs->head();
    if (!job || job->tiles.empty()) {
        host.jobs->workerBusy = false;
        return nullptr;
    }
    appendJobLog(host, *job, text(host, startEntry) + u' ' + jobNowText(host));
    auto* worker = new JobWorker(host, job);
    if (prepare) prepare(*worker); // before the start: a short job may end at once
    worker->start(QThread::NormalPriority);
    return worker;
}

void JobWorker::run() {
    const JobSummary summary = runJob(host_, job_);
    job_.reset();
    emit jobEnded(summary);
}

} // namespace zelvano
