// The jobs waiting or running, newest first: the order of the status lines, of the running-jobs box's
// indexes and of which job the worker takes next. One lock guards the list and every job's log, so the
// job timer, Cancel and the report window on the UI thread never race the worker's log lines or its
// removal of a finished job. It also carries the worker busy flag: at most one job worker runs at a time.
// Any thread.
#pragma once

#include "jobs/job.h"

#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace zelvano {

class JobList {
public:
    using JobPtr = std::shared_ptr<stichtype>;

    // Links a built job at the head; gives the number of jobs now listed.
    int addNewest(JobPtr job);
    // The newest job, the one a starting worker takes; null when none is listed.
    JobPtr head() const;
    // The job at `index` from the head, as the running-jobs box numbers them; null past the end.
    JobPtr at(int index) const;
    std::vector<JobPtr> jobs() const;
    int size() const;
    // Unlinks the job; false when it was not listed.
    bool remove(const stichtype* job);

    // Set by whoever starts a worker, cleared by the worker as its last act after removing its job.
    std::atomic<bool> workerBusy = false;

    // A job's log, listed or not yet.
    void appendLog(stichtype& job, const QString& line);
    QStringList log(const stichtype& job) const;
    // The log lines from `from` on, for a window that follows the log.
    QStringList logFrom(const stichtype& job, int from) const;

private:
    mutable std::mutex mutex_;
    std::vector<JobPtr> jobs_; // newest first
};

} // namespace zelvano
