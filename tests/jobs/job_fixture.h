// A job host on a scripted tile server and a manual clock: builds jobs over small selections at level 10
// and runs them on the test's thread, or on the worker thread.
#pragma once

#include "jobs/job_builder.h"
#include "support/manual_clock.h"
#include "tiles/fetch_fixture.h"

#include <mutex>

namespace zelvano::test {

class JobFixture : public FetchFixture {
protected:
    static constexpr int kLevel = 10;

    JobFixture() {
        host.jobs = jobs;
        host.clock = &clock;
        host.limits = [this] {
            std::lock_guard lock(limitsMutex);
            if (limitsThrow) throw std::runtime_error("limits unreadable");
            return limits;
        };
        host.locale = QLocale(QLocale::Russian, QLocale::Russia);
        limits.autoGenerate = false;
        refreshHost();
        server.setFallback([this](const std::string&) { return ScriptedAnswer{200, goodTile}; });
    }

    void refreshHost() {
        refreshContext();
        host.fetch = context;
    }

    // A download over `columns` x `rows` tiles at level 10: the selection starts at pixel (100, 100) of a
    // tile near Moscow.
    JobDefinition area(int columns, int rows, JobKind kind = JobKind::Download) const {
        geo::Position topLeft{55.75, -37.6};
        const geo::TileLocation at = geo::LocateTile(kLevel, topLeft);
        geo::ShiftPosition(100 - at.pixelColumn, 100 - at.pixelRow, kLevel, topLeft);
        geo::Position bottomRight = topLeft;
        geo::ShiftPosition(256 * columns - 200, 256 * rows - 200, kLevel, bottomRight);
        JobDefinition d;
        d.kind = kind;
        d.level = kLevel;
        d.topLeft = topLeft;
        d.bottomRight = bottomRight;
        d.retryDelayMs = 1000;
        return d;
    }

    // Builds the job and moves the clock past its start time, as the moments between a build and its
    // worker do.
    std::shared_ptr<stichtype> build(const JobDefinition& d) {
        auto job = buildJob(host, d);
        clock.advance(std::chrono::seconds(1));
        return job;
    }

    // The satellite request target of each tile of the job, in the order the worker takes them.
    QStringList targets(const stichtype& job) const {
        QStringList out;
        const auto& built = job.tiles.built();
        for (auto it = built.rbegin(); it != built.rend(); ++it)
            out << target(record(it->tile).satRequest);
        return out;
    }

    ManualClock clock;
    std::shared_ptr<JobList> jobs = std::make_shared<JobList>();
    JobHost host;
    std::mutex limitsMutex;
    JobLimits limits;
    bool limitsThrow = false;
    const QByteArray goodTile = jpegTile(7);
};

} // namespace zelvano::test
