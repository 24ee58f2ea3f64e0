// zelvano-cli download, generate and stitch: jobs built by the window's builders over a box or the stored
// selection, run one after another by the job worker; their log on stderr, a progress bar when stderr is
// a terminal, the summary as JSON on stdout.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/job_options.h"
#include "cli/terminal.h"

#include "jobs/job_texts.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>

namespace zelvano::cli {

namespace {

struct Run {
    JobSummary total;
    bool allSaved = true; // every stitch job wrote its image
    bool built = true;    // no build was abandoned
    QStringList files;    // images and calibration files written
};

void add(JobSummary& total, const JobSummary& s) {
    total.tilesDone += s.tilesDone;
    total.obtained += s.obtained;
    total.failed += s.failed;
    total.skipped += s.skipped;
    total.errors.writeErrors += s.errors.writeErrors;
    total.errors.fetchErrors += s.errors.fetchErrors;
    total.errors.badFileErrors += s.errors.badFileErrors;
    total.downloadedBytes += s.downloadedBytes;
    total.cancelled = total.cancelled || s.cancelled;
}

// Builds the definitions one after another as the window does: the first one's worker starts at once,
// later ones wait in the list and run newest first. Returns when every listed job has ended. A signal
// cancels every job as Cancel does and builds no further one.
Run runDefinitions(const JobHost& host, const std::vector<JobDefinition>& definitions, const LanguageTable& language,
                   Terminal& terminal, const Interruption& interruption, const std::function<void()>& afterBuild) {
    Run run;
    QEventLoop loop;
    int finishedTiles = 0;
    int running = 0; // workers started and not yet ended
    std::function<void()> startNext;
    const auto whenEnded = [&](JobWorker& worker) {
        const auto job = host.jobs->head(); // the job this worker takes
        ++running;
        QObject::connect(&worker, &JobWorker::jobEnded, &loop, [&, job](const JobSummary& s) {
            --running;
            add(run.total, s);
            finishedTiles += s.tileCount;
            if (job->isStitch) {
                if (s.saved)
                    run.files << job->fileName;
                else
                    run.allSaved = false;
            }
            startNext();
        });
    };
    // As the window's job timer starts the next job: "Запуск потока" (64).
    startNext = [&] {
        if (!JobWorker::startNext(host, 64, whenEnded) && running == 0) loop.quit();
    };
    const std::stop_callback onSignal(interruption.token(), [&] {
        for (const auto& job : host.jobs->jobs()) {
            appendJobLog(host, *job, language.languageText(48) + u' ' + jobNowText(host));
            job->cancel.request_stop();
        }
    });

    for (const JobDefinition& d : definitions) {
        if (interruption.token().stop_requested()) break;
        CalibrationResult calibration;
        const auto job = buildJob(host, d, &calibration);
        run.files << calibration.written;
        if (!job) {
            terminal.line(QStringLiteral("zelvano-cli: %1 could not be written; the job is abandoned")
                              .arg(calibration.failed.value_or(d.fileName)));
            run.built = false;
            break;
        }
        run.total.tileCount += job->tileCount;
        if (afterBuild) afterBuild();
        if (host.jobs->size() == 1 && running == 0) JobWorker::startNext(host, workerStartEntry(d.kind), whenEnded);
    }
    if (running > 0) {
        QElapsedTimer clock;
        clock.start();
        QTimer bar;
        QObject::connect(&bar, &QTimer::timeout, &loop, [&] {
            const auto head = host.jobs->head();
            terminal.progress(finishedTiles + (head ? head->tilesDone.load() : 0), run.total.tileCount,
                              clock.elapsed() / 1000.0);
        });
        bar.start(250);
        loop.exec();
        terminal.done();
    }
    return run;
}

QJsonObject summaryJson(const JobSummary& s, double seconds) {
    return {
        {QStringLiteral("tileCount"), s.tileCount},
        {QStringLiteral("tilesDone"), s.tilesDone},
        {QStringLiteral("obtained"), s.obtained},
        {QStringLiteral("failed"), s.failed},
        {QStringLiteral("skipped"), s.skipped},
        {QStringLiteral("writeErrors"), s.errors.writeErrors},
        {QStringLiteral("fetchErrors"), s.errors.fetchErrors},
        {QStringLiteral("badFileErrors"), s.errors.badFileErrors},
        {QStringLiteral("downloadedBytes"), s.downloadedBytes},
        {QStringLiteral("cancelled"), s.cancelled},
        {QStringLiteral("seconds"), seconds},
    };
}

// --split WxH (each at least 256) or none, else the settings' split and piece sizes. Nothing: one image.
std::optional<QSize> splitOption(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("split")))
        return s.stitchSplit ? std::optional(QSize(s.stitchPieceWidth, s.stitchPieceHeight)) : std::nullopt;
    const QString value = o.values[QStringLiteral("split")].trimmed().toLower();
    if (value == QLatin1StringView("none")) return std::nullopt;
    const QStringList parts = value.split(u'x');
    bool okW = false, okH = false;
    const int w = parts.size() == 2 ? parts[0].toInt(&okW) : 0, h = parts.size() == 2 ? parts[1].toInt(&okH) : 0;
    if (!okW || !okH || w < 256 || h < 256)
        throw UsageError{QStringLiteral("--split takes WIDTHxHEIGHT in pixels, each at least 256, or none")};
    return QSize(w, h);
}

int qualityOption(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("quality"))) return s.jobJpegQuality;
    bool ok = false;
    const int q = o.values[QStringLiteral("quality")].toInt(&ok);
    if (!ok || q < 1 || q > 100) throw UsageError{QStringLiteral("--quality takes a number from 1 to 100")};
    return q;
}

// The layers and the work mode of a download or stitch job, checked as the job dialog checks them.
void layerOptions(const Options& o, const ProgramState& state, JobDefinition& d) {
    d.layers = layersOption(o, state.settings);
    d.workMode = workModeOption(o, state.settings);
    if (!d.layers.satellite && !d.layers.map)
        throw UsageError{QStringLiteral("the settings choose no layer; pass --layers")};
    if (d.layers.map && state.settings.singleFolderCache) throw UsageError{state.language->languageText(34)};
}

JobHost hostFor(const ProgramState& state, Terminal& terminal) {
    JobHost host;
    host.jobs = std::make_shared<JobList>();
    host.fetch = {std::make_shared<const FetchSettings>(fetchSettingsFrom(state.settings, state.folder)),
                  std::make_shared<FetchShared>(state.language)};
    host.limits = [limits = jobLimitsFrom(state.settings)] { return limits; };
    host.logged = [&terminal](stichtype&, const QString& line) { terminal.line(line); };
    return host;
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
    Terminal terminal;
    JobHost host = hostFor(state, terminal);
    if (download) {
        layerOptions(*options, state, d);
        host.connections = connectionsOption(*options, state.folder);
    }

    const Interruption interruption;
    QElapsedTimer clock;
    clock.start();
    const Run run = runDefinitions(host, {d}, *state.language, terminal, interruption, {});
    printJson(summaryJson(run.total, clock.elapsed() / 1000.0));
    const JobSummary& s = run.total;
    const bool whole = download ? s.obtained == s.tileCount : !s.cancelled;
    return interruption.exitStatus(whole && !s.cancelled ? 0 : 1);
}

} // namespace

int downloadCommand(const QStringList& args) {
    return runJobCommand(JobKind::Download, args);
}

int generateCommand(const QStringList& args) {
    return runJobCommand(JobKind::Generate, args);
}

int stitchCommand(const QStringList& args) {
    QString error;
    const auto options = parseOptions(args,
                                      {QStringLiteral("out"), QStringLiteral("zoom"), QStringLiteral("bbox"),
                                       QStringLiteral("split"), QStringLiteral("quality"), QStringLiteral("calib"),
                                       QStringLiteral("mode"), QStringLiteral("layers"), QStringLiteral("connections")},
                                      {QStringLiteral("coords-in-name"), QStringLiteral("secondary")}, error);
    if (!options) throw UsageError{error};
    const QString out = options->values.value(QStringLiteral("out"));
    if (out.isEmpty()) throw UsageError{QStringLiteral("stitch needs --out FILE (.jpg or .png)")};
    const QString path = QFileInfo(out).absoluteFilePath();
    if (!QFileInfo(QFileInfo(path).path()).isDir())
        throw UsageError{QStringLiteral("--out: the folder %1 does not exist").arg(QFileInfo(path).path())};

    const ProgramState state = loadProgramState();
    const Settings& s = state.settings;
    const bool coordinates = options->flags.contains(QStringLiteral("coords-in-name")) || s.stitchAddCoords;
    JobDefinition whole = stitchDefinition(s, {}, {});
    whole.level = levelOption(*options, s);
    areaOption(*options, s, whole);
    layerOptions(*options, state, whole);
    whole.jpegQuality = qualityOption(*options, s);
    whole.calibration = calibrationOption(*options, s);
    const std::optional<QSize> split = splitOption(*options, s);

    std::vector<JobDefinition> pieces;
    QStringList index;
    if (split) {
        if (whole.calibration.seeYou) whole.seeYouIndex = &index;
        pieces = pieceDefinitions(whole, path, split->width(), split->height(), coordinates);
    } else {
        const StitchName name = stitchFileName(path, coordinates, whole.topLeft.lat, whole.topLeft.lonW);
        whole.fileName = name.fileName;
        whole.savePng = name.savePng;
        pieces.push_back(whole);
    }
    if (const auto problem = imagesSizeProblem(pieces, state.language->languageText(189))) throw UsageError{*problem};

    Terminal terminal;
    JobHost host = hostFor(state, terminal);
    host.connections = connectionsOption(*options, state.folder);
    const Interruption interruption;
    QElapsedTimer clock;
    clock.start();
    // A split run saves its SeeYou index after every piece, so that it always names the pieces queued.
    const QString indexPath = seeYouPath(path);
    bool indexSaved = true;
    const auto afterBuild = [&] {
        if (whole.seeYouIndex) indexSaved = saveSeeYouIndex(index, indexPath) && indexSaved;
    };
    Run run = runDefinitions(host, pieces, *state.language, terminal, interruption, afterBuild);
    if (whole.seeYouIndex && !index.isEmpty()) {
        if (indexSaved)
            run.files << indexPath;
        else
            terminal.line(QStringLiteral("zelvano-cli: %1 could not be written").arg(indexPath));
    }

    QJsonObject json = summaryJson(run.total, clock.elapsed() / 1000.0);
    json.insert(QStringLiteral("files"), QJsonArray::fromStringList(run.files));
    printJson(json);
    const JobSummary& t = run.total;
    const bool success = run.built && run.allSaved && indexSaved && t.obtained == t.tileCount && !t.cancelled;
    return interruption.exitStatus(success ? 0 : 1);
}

} // namespace zelvano::cli
