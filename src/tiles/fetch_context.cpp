#include "tiles/fetch_context.h"

#include "base/number_text.h"
#include "config/settings.h"

namespace zelvano {

FetchSettings fetchSettingsFrom(const Settings& s, const QString& programFolder) {
    FetchSettings f;
    f.templates = requestTemplates(s);
    f.layout = {cacheRoot(s, programFolder), s.singleFolderCache};
    f.primaryMirrors = s.primaryMirrors;
    f.secondaryMirrors = s.secondaryMirrors;
    f.proxy = {s.useProxy, s.proxyHost, s.proxyPort, s.proxyUser, s.proxyPassword};
    f.autoGenerate = s.autoGenerate;
    f.autoGenerateReplace = s.autoGenerateReplace;
    f.autoGenerateQuality = s.autoGenerateQuality;
    return f;
}

void DownloadMeter::add(qint64 bytes) {
    std::lock_guard lock(viewLock_);
    bytes_ += bytes;
    if (sink_) sink_(textFor(bytes_));
}

qint64 DownloadMeter::total() const {
    std::lock_guard lock(viewLock_);
    return bytes_;
}

QString DownloadMeter::statusText() const {
    return textFor(total());
}

QString DownloadMeter::textFor(qint64 bytes) const {
    return formatFixed(static_cast<double>(bytes) / 1048576, 3) + u' ' + language_.languageText(25);
}

void DownloadMeter::setStatusSink(std::function<void(const QString&)> sink) {
    std::lock_guard lock(viewLock_);
    sink_ = std::move(sink);
}

} // namespace zelvano
