// zelvano-cli download and generate: a job built by the window's builders over a box or the stored
// selection, run by the job worker; its log on stderr, a progress bar when stderr is a terminal, the
// summary as JSON on stdout.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/interruption.h"

#include "config/extra_settings.h"
#include "jobs/job_builder.h"
#include "jobs/job_dialog_rules.h"
#include "jobs/job_texts.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <mutex>

#include <unistd.h>

namespace zelvano::cli {

namespace {

// stderr shared by the worker's log lines and the progress bar: a line clears the bar, the next tick
// draws it again.
class Terminal {
public:
    Terminal() : tty_(::isatty(STDERR_FILENO) == 1) {}

    void line(const QString& text) {
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "%s%s\n", tty_ ? "\r\033[K" : "", qUtf8Printable(text));
        std::fflush(stderr);
    }

    void progress(int done, int all, double seconds) {
        if (!tty_ || all <= 0) return;
        constexpr int kWidth = 30;
        const int filled = static_cast<int>(static_cast<long long>(kWidth) * std::clamp(done, 0, all) / all);
        const double rate = seconds > 0 ? done / seconds : 0;
        QString left = QStringLiteral("--:--");
        if (rate > 0) {
            const int s = static_cast<int>((all - done) / rate);
            left = QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar(u'0'));
        }
        const QString bar = QString(filled, u'#') + QString(kWidth - filled, u'.');
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "\r\033[K[%s] %d/%d  %.1f tiles/s  %s left", qUtf8Printable(bar), done, all, rate,
                     qUtf8Printable(left));
        std::fflush(stderr);
    }

    void done() {
        if (!tty_) return;
        std::lock_guard lock(mutex_);
        std::fputs("\r\033[K", stderr);
    }

private:
    const bool tty_;
    std::mutex mutex_;
};

int levelOption(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("zoom"))) return std::clamp(s.jobZoomIndex + 1, 1, 24);
    bool ok = false;
    const int level = o.values[QStringLiteral("zoom")].toInt(&ok);
    if (!ok || level < 1 || level > 24) throw UsageError{QStringLiteral("--zoom takes a level from 1 to 24")};
    return level;
}

// --bbox WEST,SOUTH,EAST,NORTH (east and north positive) or the stored selection, put in order and kept
// inside the map as the job dialog does.
void areaOption(const Options& o, const Settings& s, JobDefinition& d) {
    geo::Position first{s.selectionTop, s.selectionLeft}, second{s.selectionBottom, s.selectionRight};
    if (o.values.contains(QStringLiteral("bbox"))) {
        const QStringList parts = o.values[QStringLiteral("bbox")].split(u',');
        std::optional<double> v[4];
        for (int i = 0; i < 4 && parts.size() == 4; ++i)
            v[i] = parseUserNumber(parts[i].trimmed());
        if (parts.size() != 4 || !v[0] || !v[1] || !v[2] || !v[3])
            throw UsageError{QStringLiteral("--bbox takes WEST,SOUTH,EAST,NORTH in decimal degrees")};
        if (*v[0] < -180 || *v[2] > 180 || *v[0] >= *v[2] || *v[1] < -90 || *v[3] > 90 || *v[1] >= *v[3])
            throw UsageError{QStringLiteral("--bbox: WEST < EAST within -180..180 and SOUTH < NORTH within -90..90")};
        first = geo::Position::fromEastLongitude(*v[3], *v[0]);
        second = geo::Position::fromEastLongitude(*v[1], *v[2]);
    } else if (first == geo::Position{0, 0} && second == geo::Position{0, 0}) {
        throw UsageError{QStringLiteral("no selection is stored in the settings; pass --bbox")};
    }
    const SelectionCorners corners = orderedCorners(d.level, first, second);
    d.topLeft = corners.topLeft;
    d.bottomRight = corners.bottomRight;
}

int connectionsOption(const Options& o, const QString& folder) {
    if (!o.values.contains(QStringLiteral("connections"))) return loadExtraSettings(folder).downloadConnections;
    bool ok = false;
    const int n = o.values[QStringLiteral("connections")].toInt(&ok);
    if (!ok || n < kMinDownloadConnections || n > kMaxDownloadConnections)
        throw UsageError{QStringLiteral("--connections takes a number from 1 to 8")};
    return n;
}

int runJobCommand(JobKind kind, const QStringList& args) {
    const bool download = kind == JobKind::Download;
    QString error;
    const auto options = download
                             ? parseOptions(args,
                                            {QStringLiteral("zoom"), QStringLiteral("bbox"), QStringLiteral("mode"),
                                             QStringLiteral("layers"), QStringLiteral("connections")},
                                            {QStringLiteral("secondary")}, error)
                             : parseOptions(args, {QStringLiteral("zoom"), QStringLiteral("bbox")},
                                            {QStringLiteral("replace"), QStringLiteral("keep")}, error);
    if (!options) throw UsageError{error};
    if (options->flags.contains(QStringLiteral("replace")) && options->flags.contains(QStringLiteral("keep")))
        throw UsageError{QStringLiteral("--replace and --keep exclude each other")};

    const ProgramState state = loadProgramState();
    const Settings& settings = state.settings;
    const bool replace = options->flags.contains(QStringLiteral("replace")) ||
                         (!options->flags.contains(QStringLiteral("keep")) && settings.generateReplace);
    JobDefinition d = download ? downloadDefinition(settings, {}) : generateDefinition(settings, replace, {});
    d.level = levelOption(*options, settings);
    areaOption(*options, settings, d);
    JobHost host;
    if (download) {
        d.layers = layersOption(*options, settings);
        d.workMode = workModeOption(*options, settings);
        if (!d.layers.satellite && !d.layers.map)
            throw UsageError{QStringLiteral("the settings choose no layer; pass --layers")};
        if (d.layers.map && settings.singleFolderCache) throw UsageError{state.language->languageText(34)};
        host.connections = connectionsOption(*options, state.folder);
    }

    Terminal terminal;
    host.jobs = std::make_shared<JobList>();
    host.fetch = {std::make_shared<const FetchSettings>(fetchSettingsFrom(settings, state.folder)),
                  std::make_shared<FetchShared>(state.language)};
    host.limits = [limits = jobLimitsFrom(settings)] { return limits; };
    host.logged = [&terminal](stichtype&, const QString& line) { terminal.line(line); };

    const Interruption interruption;
    QElapsedTimer clock;
    clock.start();
    const auto job = buildJob(host, d);
    // A signal cancels the job as the Cancel button does.
    const std::stop_callback onSignal(interruption.token(), [&] {
        appendJobLog(host, *job, state.language->languageText(48) + u' ' + jobNowText(host));
        job->cancel.request_stop();
    });

    JobSummary summary;
    summary.tileCount = job->tileCount;
    QEventLoop loop;
    const auto whenEnded = [&](JobWorker& worker) {
        QObject::connect(&worker, &JobWorker::jobEnded, &loop, [&](const JobSummary& s) {
            summary = s;
            loop.quit();
        });
    };
    if (JobWorker::startNext(host, workerStartEntry(kind), whenEnded)) {
        QTimer bar;
        QObject::connect(&bar, &QTimer::timeout, &loop,
                         [&] { terminal.progress(job->tilesDone, job->tileCount, clock.elapsed() / 1000.0); });
        bar.start(250);
        loop.exec();
        terminal.done();
    }

    const QJsonObject json{
        {QStringLiteral("tileCount"), summary.tileCount},
        {QStringLiteral("tilesDone"), summary.tilesDone},
        {QStringLiteral("obtained"), summary.obtained},
        {QStringLiteral("failed"), summary.failed},
        {QStringLiteral("skipped"), summary.skipped},
        {QStringLiteral("writeErrors"), summary.errors.writeErrors},
        {QStringLiteral("fetchErrors"), summary.errors.fetchErrors},
        {QStringLiteral("badFileErrors"), summary.errors.badFileErrors},
        {QStringLiteral("downloadedBytes"), summary.downloadedBytes},
        {QStringLiteral("cancelled"), summary.cancelled},
        {QStringLiteral("seconds"), clock.elapsed() / 1000.0},
    };
    printJson(json);
    const bool whole = download ? summary.obtained == summary.tileCount : !summary.cancelled;
    return interruption.exitStatus(whole && !summary.cancelled ? 0 : 1);
}

} // namespace

int downloadCommand(const QStringList& args) {
    return runJobCommand(JobKind::Download, args);
}

int generateCommand(const QStringList& args) {
    return runJobCommand(JobKind::Generate, args);
}

} // namespace zelvano::cli
