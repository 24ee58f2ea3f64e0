// zelvano-cli copy: the copy job over a box or the stored selection into a folder, as the window runs
// it; a progress bar when stderr is a terminal, the summary with every file written as JSON on stdout.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/job_options.h"
#include "cli/terminal.h"

#include "jobs/copy_job.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>

namespace zelvano::cli {

int copyCommand(const QStringList& args) {
    QString error;
    const auto options = parseOptions(
        args, {QStringLiteral("to"), QStringLiteral("zoom"), QStringLiteral("bbox"), QStringLiteral("calib")},
        {QStringLiteral("calibration-only")}, error);
    if (!options) throw UsageError{error};
    const ProgramState state = loadProgramState();
    const Settings& s = state.settings;
    const QString to = options->values.value(QStringLiteral("to"), s.copyFolder);
    if (!QFileInfo(to).isDir()) throw UsageError{QStringLiteral("--to: the folder %1 does not exist").arg(to)};

    JobDefinition area;
    area.level = levelOption(*options, s);
    areaOption(*options, s, area);
    CopyRequest request;
    request.level = area.level;
    request.topLeft = area.topLeft;
    request.bottomRight = area.bottomRight;
    request.folder = QDir(to).absolutePath() + u'/';
    request.calibrationOnly = options->flags.contains(QStringLiteral("calibration-only")) || s.copyCalibrationOnly;
    request.formats = calibrationOption(*options, s);
    request.layout = fetchSettingsFrom(s, state.folder).layout;

    Terminal terminal;
    const Interruption interruption;
    QElapsedTimer clock;
    clock.start();
    const int tiles = copyTileCount(request);
    const CopyResult result = runCopyJob(request, [&](int done) {
        terminal.progress(done, tiles, clock.elapsed() / 1000.0);
        return !interruption.token().stop_requested();
    });
    terminal.done();
    printJson({
        {QStringLiteral("visited"), result.visited},
        {QStringLiteral("progressTotal"), result.total},
        {QStringLiteral("copied"), result.copied},
        {QStringLiteral("calibrated"), result.calibrated},
        {QStringLiteral("failed"), result.failed},
        {QStringLiteral("cancelled"), result.stopped},
        {QStringLiteral("files"), QJsonArray::fromStringList(result.files)},
        {QStringLiteral("seconds"), clock.elapsed() / 1000.0},
    });
    return interruption.exitStatus(result.failed == 0 && !result.stopped ? 0 : 1);
}

} // namespace zelvano::cli
