// What FetchTile needs besides the tile record: a snapshot of the settings it reads, and what the fetches
// of one run share: the language table, the downloaded-bytes meter under the view lock and the overlay
// cut-off of the view passes; the job's log in job mode. The snapshot is immutable once handed out, so the
// UI thread and worker threads read it without a lock.
#pragma once

#include "config/language_table.h"
#include "geo/tile_requests.h"
#include "tiles/http_client.h"
#include "tiles/tile_paths.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace zelvano {

struct Settings;

struct FetchSettings {
    geo::RequestTemplates templates;
    CacheLayout layout;
    bool primaryMirrors = true;
    bool secondaryMirrors = false;
    ProxySettings proxy;
    HttpLimits limits;
    bool autoGenerate = true;
    bool autoGenerateReplace = false;
    int autoGenerateQuality = 70;
};

FetchSettings fetchSettingsFrom(const Settings& settings, const QString& programFolder);

// Bytes received from the network in this run, added under the view lock; each addition reports the
// status text ("1,234 Mb из интернета") to the sink, on the adding thread.
class DownloadMeter {
public:
    explicit DownloadMeter(const LanguageTable& language) : language_(language) {}

    void add(qint64 bytes);
    qint64 total() const;
    QString statusText() const;
    void setStatusSink(std::function<void(const QString&)> sink);

private:
    QString textFor(qint64 bytes) const;

    const LanguageTable& language_;
    mutable std::mutex viewLock_;
    qint64 bytes_ = 0; // 64 bits: a long session passes 2 GB
    std::function<void(const QString&)> sink_;
};

inline constexpr int kOverlayCutoffReset = -100;

// What the fetches of one run share, on every thread: held through shared_ptr, so a loader that outlives
// the window still finds it.
struct FetchShared {
    explicit FetchShared(std::shared_ptr<const LanguageTable> table) : language(std::move(table)), meter(*language) {}

    std::shared_ptr<const LanguageTable> language;
    DownloadMeter meter;
    std::atomic<int> overlayCutoff{kOverlayCutoffReset}; // reset by every view pass
};

struct FetchContext {
    std::shared_ptr<const FetchSettings> settings;
    std::shared_ptr<FetchShared> shared;
};

// The job side of a fetch in job mode.
class FetchJob {
public:
    virtual ~FetchJob() = default;
    virtual void AppendLog(const QString& line) = 0;
    // The map layer is not available at the job's level: the rest of the job fetches satellite tiles only.
    virtual void switchOffMapLayer() = 0;
};

} // namespace zelvano
