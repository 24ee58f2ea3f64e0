// The job worker: runs the newest listed job on a thread of its own. It waits for the job's start time,
// dials when asked, obtains every tile of the list through FetchTile with error control (with several
// connections when asked, each tile's attempts and log lines kept together), draws them into a stitch
// job's image, hangs up, saves the image, builds the lower-zoom tiles, logs each step and finally removes
// the job from the list. Everything it needs from the program
// comes through a JobHost; it never touches a widget.
#pragma once

#include "base/clock.h"
#include "config/settings.h"
#include "jobs/dial_up.h"
#include "jobs/job_list.h"
#include "tiles/fetch_context.h"
#include "tiles/tile_fetcher.h"

#include <QLocale>
#include <QThread>

#include <functional>
#include <memory>
#include <mutex>

namespace zelvano {

// The settings a worker reads live, between two tiles: the settings dialog may change them while it runs.
struct JobLimits {
    bool errorControl = true;
    int retryCount = 3;
    int writeErrorLimit = 3;
    int fetchErrorLimit = 3;
    int badFileErrorLimit = 25;
    bool autoGenerate = true;
};
JobLimits jobLimitsFrom(const Settings& settings);

// The limits as the settings stand, changed on the UI thread and read by the worker.
class SharedJobLimits {
public:
    void set(const JobLimits& limits) {
        std::lock_guard lock(mutex_);
        limits_ = limits;
    }
    JobLimits get() const {
        std::lock_guard lock(mutex_);
        return limits_;
    }

private:
    mutable std::mutex mutex_;
    JobLimits limits_;
};

// The program around a worker, copied into it; whatever it refers to is shared, so it outlives the window.
struct JobHost {
    std::shared_ptr<JobList> jobs;
    const Clock* clock = &systemClock();
    FetchContext fetch; // its language table gives the log texts
    std::function<JobLimits()> limits;
    int connections = 1;            // a download job's parallel fetches, 1 to 8
    std::shared_ptr<DialUp> dialUp; // none: dialling fails with a plain error
    // Shows a failed dial's error text and returns once the user has closed it (the worker waits for it).
    std::function<void(const QString& text)> dialError;
    // After every line added to a job's log, on the adding thread (the report window, stderr).
    std::function<void(stichtype& job, const QString& line)> logged;
    QLocale locale = QLocale::system(); // the date and time format of the log
};

// How a run ended, for the command line and the tests.
struct JobSummary {
    int tileCount = 0;
    int tilesDone = 0;
    int obtained = 0; // tiles the job has (from the cache or the network)
    int failed = 0;   // tiles not obtained after their attempts, missing from the cache, or stopped midway
    int skipped = 0;  // tiles passed over once an error counter was past its limit
    FetchCounters errors;
    qint64 downloadedBytes = 0;
    bool cancelled = false; // a stop was requested before the job finished
    bool saved = false;     // a stitch job's image was written
};

// Adds a line to the job's log and tells the host.
void appendJobLog(const JobHost& host, stichtype& job, const QString& line);
// The date and time as the log writes them.
QString jobNowText(const JobHost& host);

// The whole run of one job on the calling thread, from the wait to its removal from the list and the
// clearing of the busy flag. A failure inside is logged and ends the job the same way.
JobSummary runJob(const JobHost& host, const std::shared_ptr<stichtype>& job);

// The worker thread: one at a time, at normal priority; deletes itself when it has finished.
class JobWorker final : public QThread {
    Q_OBJECT
public:
    // Starts a worker for the head job when none is busy and the head's list is not empty: logs the start
    // line (`startEntry`: "Запуск потока"), sets the busy flag, lets `prepare` connect to the worker and
    // starts the thread. Null when none started.
    static JobWorker* startNext(const JobHost& host, int startEntry,
                                const std::function<void(JobWorker&)>& prepare = {});

signals:
    void jobEnded(const JobSummary& summary);

protected:
    void run() override;

private:
    JobWorker(JobHost host, std::shared_ptr<stichtype> job);

    JobHost host_;
    std::shared_ptr<stichtype> job_;
};

} // namespace zelvano
