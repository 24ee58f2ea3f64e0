#include "jobs/job_list.h"

#include <algorithm>

namespace zelvano {

stichtype::stichtype() = default;
stichtype::~stichtype() = default;

int JobList::addNewest(JobPtr job) {
    std::lock_guard lock(mutex_);
    jobs_.insert(jobs_.begin(), std::move(job));
    return static_cast<int>(jobs_.size());
}

JobList::JobPtr JobList::head() const {
    std::lock_guard lock(mutex_);
    return jobs_.empty() ? nullptr : jobs_.front();
}

JobList::JobPtr JobList::at(int index) const {
    std::lock_guard lock(mutex_);
    return index >= 0 && index < static_cast<int>(jobs_.size()) ? jobs_[index] : nullptr;
}

std::vector<JobList::JobPtr> JobList::jobs() const {
    std::lock_guard lock(mutex_);
    return jobs_;
}

int JobList::size() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(jobs_.size());
}

bool JobList::remove(const stichtype* job) {
    std::lock_guard lock(mutex_);
    const auto found = std::find_if(jobs_.begin(), jobs_.end(), [&](const JobPtr& j) { return j.get() == job; });
    if (found == jobs_.end()) return false;
    jobs_.erase(found);
    return true;
}

void JobList::appendLog(stichtype& job, const QString& line) {
    std::lock_guard lock(mutex_);
    job.log.append(line);
}

QStringList JobList::log(const stichtype& job) const {
    std::lock_guard lock(mutex_);
    return job.log;
}

QStringList JobList::logFrom(const stichtype& job, int from) const {
    std::lock_guard lock(mutex_);
    return job.log.mid(from);
}

} // namespace zelvano
