// The main window's batch jobs: the definition through the job dialog, the window's side of the builders
// (the delay dialog, the running-jobs box, the report window), the 3-second job timer, Cancel, and the
// job host that hands the core worker what it needs. Log lines and dial errors come from the worker
// thread; they reach the widgets through the UI thread's queue.
#include "ui/main_window.h"

#include "config/extra_settings.h"
#include "config/settings_file.h"
#include "jobs/copy_job.h"
#include "jobs/job_dialog_rules.h"
#include "jobs/job_texts.h"
#include "ui/delay_dialog.h"
#include "ui/job_dialog.h"
#include "ui/job_tool_window.h"
#include "ui/progress_window.h"
#include "ui/report_window.h"
#include "ui/zoom_tool_window.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace zelvano {

JobHost MainWindow::jobHost() {
    const Settings& s = state_.settings;
    jobLimits_->set(jobLimitsFrom(s));
    JobHost host;
    host.jobs = jobs_;
    host.fetch = {std::make_shared<const FetchSettings>(fetchSettingsFrom(s, state_.folder)), session_->shared()};
    host.limits = [limits = jobLimits_] { return limits->get(); };
    host.connections = loadExtraSettings(state_.folder).downloadConnections;
    host.dialUp = dialUp_;
    // The window may be gone when a worker's call arrives: `alive` tells, on the UI thread.
    const std::weak_ptr<char> alive = alive_;
    host.dialError = [this, alive, language = state_.language](const QString& text) {
        // The worker waits until the user has closed the box.
        QMetaObject::invokeMethod(
            qApp,
            [this, alive, language, text] {
                DelayDialog::showDialError(alive.lock() ? this : nullptr, *language, text);
            },
            Qt::BlockingQueuedConnection);
    };
    host.logged = [this, alive](stichtype& job, const QString&) {
        QMetaObject::invokeMethod(
            qApp,
            [this, alive, kept = job.shared_from_this()] { // its last lines come after the worker let it go
                if (alive.lock()) jobLogged(kept);
            },
            Qt::QueuedConnection);
    };
    return host;
}

void MainWindow::jobLogged(const std::shared_ptr<stichtype>& job) {
    if (!job) return;
    if (!reportWindow_->isVisible() || !job->logShown) {
        job->logShown = false;
        return;
    }
    if (job != reportJob_.lock()) return;
    const QStringList lines = jobs_->logFrom(*job, reportLines_);
    for (const QString& line : lines)
        reportWindow_->appendLine(line);
    reportLines_ += static_cast<int>(lines.size());
}

void MainWindow::showJobLog(const std::shared_ptr<stichtype>& job) {
    if (const auto previous = reportJob_.lock(); previous && previous != job) previous->logShown = false;
    const QStringList log = jobs_->log(*job);
    reportWindow_->setLog(log);
    reportLines_ = static_cast<int>(log.size());
    reportJob_ = job;
    job->logShown = true;
}

void MainWindow::SpeedButton2Click() {
    Settings& s = state_.settings;
    jobDialog_->fill(s, selectionCornersOf(s), jobWindow_->jobZoom());
    if (jobDialog_->exec() != QDialog::Accepted) return;
    jobDialog_->take(s);
    jobWindow_->jobZoomBox()->setCurrentIndex(s.jobZoomIndex);
    if (s.singleFolderCache && s.viewMap) {
        QMessageBox::warning(this, state_.language->languageText(168), state_.language->languageText(34));
        s.viewMap = false;
        s.viewSatellite = true;
        UpdateLayerButton();
    }
    collectSettings();
    saveSettings(s, state_.folder);
    const SelectionCorners corners = jobDialog_->corners();
    setSelectionCorners(s, orderedCorners(jobDialog_->level(), corners.topLeft, corners.bottomRight));
    jobWindow_->jobZoomBox()->setCurrentIndex(jobDialog_->level() - 1);
    RefreshView();
    switch (jobDialog_->task()) {
    case JobTask::Download:
        runBuilder(JobKind::Download, false);
        break;
    case JobTask::Generate:
        runBuilder(JobKind::Generate, jobDialog_->replaceGenerated());
        break;
    case JobTask::Stitch:
        if (jobDialog_->splitChecked())
            splitRun();
        else
            runStitchBuilder(stitchDefinition(s, {}, {}), QString(), jobDialog_->addCoordinates(), false);
        break;
    case JobTask::Copy:
        runCopy(jobDialog_->copyFolder() + u'/', s.copyCalibrationOnly);
        break;
    }
}

void MainWindow::runBuilder(JobKind kind, bool replace) {
    const Settings& s = state_.settings;
    bool confirmed = false;
    if (kind == JobKind::Download && s.showTimerDialog) {
        confirmed = delayDialog_->exec() == QDialog::Accepted;
        if (!confirmed) return;
    }
    if (!selection_.present()) return;
    const DelayChoice delay = delayDialog_->choice(confirmed);
    queueJob(kind == JobKind::Download ? downloadDefinition(s, delay) : generateDefinition(s, replace, delay), false);
}

// The stitch builder: the delay dialog (for every piece), the file unless a split run names it, the size
// the image may have, then the common steps. False when nothing was queued.
bool MainWindow::runStitchBuilder(JobDefinition d, const QString& fileName, bool coordinates, bool piece) {
    const Settings& s = state_.settings;
    bool confirmed = false;
    if (s.showTimerDialog) {
        confirmed = delayDialog_->exec() == QDialog::Accepted;
        if (!confirmed) return false;
    }
    if (!selection_.present()) return false;
    QString chosen = fileName;
    if (chosen.isEmpty()) {
        chosen = askStitchFile();
        if (chosen.isEmpty()) return false;
    }
    if (!piece) {
        const StitchName name = stitchFileName(chosen, coordinates, d.topLeft.lat, d.topLeft.lonW);
        d.fileName = name.fileName;
        d.savePng = name.savePng;
        if (const auto problem = imagesSizeProblem({d}, state_.language->languageText(189))) {
            QMessageBox::warning(this, state_.language->languageText(168), *problem);
            return false;
        }
    }
    const DelayChoice delay = delayDialog_->choice(confirmed);
    d.delay = delay;
    return queueJob(d, piece);
}

// The split run: one file chosen for all, the pieces checked before any is queued, each piece a stitch
// job of its own, the SeeYou index saved after every piece; the job timer starts after the last.
void MainWindow::splitRun() {
    const Settings& s = state_.settings;
    const QString chosen = askStitchFile();
    if (chosen.isEmpty()) return;
    JobDefinition whole = stitchDefinition(s, {}, {});
    QStringList index;
    if (s.calibSeeYou) whole.seeYouIndex = &index;
    const std::vector<JobDefinition> pieces =
        pieceDefinitions(whole, chosen, s.stitchPieceWidth, s.stitchPieceHeight, jobDialog_->addCoordinates());
    if (const auto problem = imagesSizeProblem(pieces, state_.language->languageText(189))) {
        QMessageBox::warning(this, state_.language->languageText(168), *problem);
        return;
    }
    bool indexSaved = true;
    for (const JobDefinition& p : pieces) {
        runStitchBuilder(p, p.fileName, false, true);
        if (whole.seeYouIndex) indexSaved = saveSeeYouIndex(index, seeYouPath(chosen)) && indexSaved;
    }
    if (!jobs_->jobs().empty()) timer2_->start();
    if (!indexSaved)
        QMessageBox::warning(this, state_.language->languageText(168),
                             QStringLiteral("Не удалось записать файл %1.").arg(seeYouPath(chosen)));
}

// SDialog: where the stitched image goes, JPEG or PNG.
QString MainWindow::askStitchFile() {
    if (!sDialog_) {
        sDialog_ = new QFileDialog(this);
        sDialog_->setObjectName(QStringLiteral("SDialog"));
        sDialog_->setAcceptMode(QFileDialog::AcceptSave);
        sDialog_->setFileMode(QFileDialog::AnyFile);
        sDialog_->setNameFilters({QStringLiteral("JPEG Image File (*.jpg)"), QStringLiteral("PNG Image File (*.png)")});
        sDialog_->setDefaultSuffix(QStringLiteral("jpg"));
        sDialog_->setSizeGripEnabled(true);
        // A name typed without its extension takes the chosen type's.
        connect(sDialog_, &QFileDialog::filterSelected, sDialog_, [this](const QString& filter) {
            sDialog_->setDefaultSuffix(filter.contains(QStringLiteral("*.png")) ? QStringLiteral("png")
                                                                                : QStringLiteral("jpg"));
        });
    }
    if (sDialog_->exec() != QDialog::Accepted) return {};
    return sDialog_->selectedFiles().value(0);
}

// The builders' common steps on the window's side: the build with the window disabled, the job's line at
// the top of the running-jobs box, the job timer (after the last piece for a split run), and for a lone
// job the report window and the worker. A calibration file that cannot be written abandons the build and
// says which. False when nothing was queued.
bool MainWindow::queueJob(const JobDefinition& d, bool piece) {
    const Settings& s = state_.settings;
    setEnabled(false);
    const JobHost host = jobHost();
    CalibrationResult calibration;
    const auto job = buildJob(host, d, &calibration);
    if (!job) {
        setEnabled(true);
        QMessageBox::warning(this, state_.language->languageText(168),
                             QStringLiteral("Не удалось записать файл привязки %1. Задание не создано.")
                                 .arg(calibration.failed.value_or(d.fileName)));
        return false;
    }
    if (job->tileCount > 0) {
        QComboBox* box = jobWindow_->jobsBox();
        const int startWord = d.kind == JobKind::Download ? 56 : 61;
        const QSignalBlocker quiet(box);
        box->insertItem(0, jobDateTimeText(job->startTime) + u' ' + state_.language->languageText(startWord) + u' ' +
                               jobWindow_->selectionLabelText());
        box->setCurrentIndex(box->count() - 1);
        jobWindow_->cancelButton()->setEnabled(true);
        jobWindow_->arrange();
        if (!piece) timer2_->start();
        if (jobs_->size() == 1) {
            if (s.showLogAuto) {
                showJobLog(job);
                reportWindow_->show();
            }
            startWorker(host, workerStartEntry(d.kind));
        }
    }
    setEnabled(true);
    return job->tileCount > 0;
}

// The copy job, on this thread with the window disabled; the progress window repaints after every tile
// and the window's queue keeps moving. Closing the window stops it after the tile at hand.
void MainWindow::runCopy(const QString& folder, bool calibrationOnly) {
    const Settings& s = state_.settings;
    setEnabled(false);
    CopyRequest r;
    r.level = s.jobZoomIndex + 1;
    r.topLeft = selectionTopLeft(s);
    r.bottomRight = selectionBottomRight(s);
    r.folder = folder;
    r.calibrationOnly = calibrationOnly;
    r.formats = {s.calibOzi, s.calibMapInfo, s.calibArcGis, s.calibSeeYou};
    r.layout = fetchSettingsFrom(s, state_.folder).layout;
    if (!progressWindow_) progressWindow_ = new ProgressWindow(*state_.language, this);
    progressWindow_->start(copyProgressTotal(r));
    // The window's queue moves every 15 ms or so: often enough to repaint and answer, rarely enough that
    // a walk over a hundred thousand missing tiles takes seconds, not minutes.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    runCopyJob(r, [this, &sinceEvents](int) {
        progressWindow_->step();
        if (sinceEvents.elapsed() >= 15) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        return !closing_;
    });
    progressWindow_->hide();
    setEnabled(true);
    if (closing_) return; // closed while copying
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::startWorker(const JobHost& host, int entry) {
    if (JobWorker* worker = JobWorker::startNext(host, entry)) worker_ = worker;
}

void MainWindow::Timer2Timer() {
    QComboBox* box = jobWindow_->jobsBox();
    const int remembered = box->currentIndex();
    const auto all = jobs_->jobs();
    const QDateTime now = QDateTime::currentDateTime();
    {
        const QSignalBlocker quiet(box);
        box->clear();
        for (int i = 0; i < static_cast<int>(all.size()); ++i) {
            box->addItem(jobStatusLine(*all[i], now, *state_.language));
            if (i == remembered && all[i]->logShown && reportWindow_->isVisible()) showJobLog(all[i]);
        }
        box->setCurrentIndex(remembered >= 0 && remembered < box->count() ? remembered : box->count() - 1);
    }
    if (box->count() == 0) {
        timer2_->stop();
        jobWindow_->cancelButton()->setEnabled(false);
        jobWindow_->arrange();
        if (!zoomWindow_->selectButton()->isChecked()) {
            jobWindow_->hide();
            selection_.setPresent(false);
            ComboBox2Change();
            showOutline();
        }
    }
    const auto head = jobs_->head();
    if (!jobs_->workerBusy && head && !head->tiles.empty()) startWorker(jobHost(), 64);
}

void MainWindow::ComboBox4Select(int index) {
    const auto job = jobs_->at(index);
    if (!job) return;
    reportWindow_->show();
    showJobLog(job);
}

void MainWindow::SpeedButton3Click() {
    const auto job = jobs_->at(jobWindow_->jobsBox()->currentIndex());
    if (!job) return;
    job->cancel.request_stop();
    jobs_->appendLog(*job, state_.language->languageText(48) + u' ' + jobDateTimeText(QDateTime::currentDateTime()));
    if (job->logShown && reportWindow_->isVisible()) showJobLog(job);
}

void MainWindow::stopJobs() {
    for (const auto& job : jobs_->jobs())
        job->cancel.request_stop();
    // The worker may be waiting for a dial error box on this thread: keep its queue moving.
    while (worker_ && worker_->isRunning()) {
        QCoreApplication::processEvents();
        worker_->wait(50);
    }
}

} // namespace zelvano
