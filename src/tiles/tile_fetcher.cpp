#include "tiles/tile_fetcher.h"

#include "base/text_file.h"
#include "tiles/imaging.h"
#include "tiles/parent_builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <optional>

namespace zelvano {

namespace {

// Language entries of the fetcher's messages.
enum Entry {
    kIncompleteCached = 20,
    kBadCached = 21,
    kNoSatelliteInCache = 22,
    kAwaitingDownload = 23,
    kFetchFailed = 24,
    kDiskWriteFailed = 26,
    kIncompleteDownload = 27,
    kUnderFourBytes = 28,
    kCorruptDeleted = 29,
    kNoMapInCache = 33,
    kOverlayUnavailable = 201,
};

constexpr int kMinCachedSatelliteBytes = 1700;

bool endsWithJpegMarker(const QByteArray& bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[bytes.size() - 2]) == 0xFF &&
           static_cast<unsigned char>(bytes[bytes.size() - 1]) == 0xD9;
}

void removeIfWritable(const QString& path) {
    if (QFile::exists(path) && !isReadOnly(path)) QFile::remove(path);
}

// One call of FetchTile; `std::optional<bool>` results mean "return this value now".
class TileFetch {
public:
    TileFetch(jtype& r, const FetchOptions& o, const FetchContext& c, FetchJob* job, FetchCounters* counters)
        : r_(r), o_(o), c_(c), s_(*c.settings), job_(job), counters_(counters ? *counters : ownCounters_) {}

    bool run() {
        if (o_.secondary) {
            r_.satPath = r_.secAerialPath;
            r_.mapPath = r_.secRoadPath;
            r_.hybridPath = r_.secHybridPath;
        }
        r_.bitmap = QImage();
        r_.satPending = false;
        r_.overlayPending = false;
        if (o_.satLayer && (!o_.secondary || !o_.mapLayer)) {
            if (const auto early = satellitePart()) return *early;
        }
        if (const auto early = overlayPart()) return *early;
        if (o_.mapLayer && !o_.satLayer) {
            if (const auto early = mapPart()) return *early;
        }
        return o_.jobMode ? !r_.satPending || !r_.overlayPending : r_.satPending && r_.overlayPending;
    }

private:
    enum class Store { Written, LeftReadOnly, Failed };

    std::optional<bool> satellitePart() {
        r_.satPending = true;
        if (QFile::exists(r_.satPath) && !o_.internetOnly) {
            QByteArray bytes;
            if (budget_.waitWhileReadOnly(r_.satPath)) {
                QFile file(r_.satPath);
                bool read = file.open(QIODevice::ReadOnly);
                if (read) {
                    bytes = file.readAll();
                    read = file.error() == QFileDevice::NoError;
                }
                if (!read) {
                    removeIfWritable(r_.satPath);
                    ++counters_.badFileErrors;
                    log(kBadCached, r_.satPath);
                    return false;
                }
            }
            if (bytes.size() >= kMinCachedSatelliteBytes && endsWithJpegMarker(bytes) &&
                !(r_.bitmap = decodeImage(bytes)).isNull()) {
                r_.satPending = false;
                generateParents();
                return std::nullopt;
            }
            log(kIncompleteCached, r_.satPath);
            removeIfWritable(r_.satPath);
            r_.satPending = false;
            generateParents();
        }
        if (o_.cacheOnly) {
            placeholder(kNoSatelliteInCache);
        } else if (o_.deferNetwork && !o_.fromWorker) {
            placeholder(kAwaitingDownload);
            r_.satPending = true;
        } else {
            const HttpResult answer = download(s_.templates.secondaryAerial, r_.satRequest);
            if (!answer.ok) {
                ++counters_.fetchErrors;
                log(kFetchFailed, answer.responseText + u' ' + r_.satRequest);
                return false;
            }
            if (answer.body.size() <= 4) {
                ++counters_.badFileErrors;
                log(kUnderFourBytes, r_.satRequest);
                return false;
            }
            if (!endsWithJpegMarker(answer.body)) {
                ++counters_.badFileErrors;
                log(kIncompleteDownload, r_.satRequest);
                return false;
            }
            const Store stored = store(answer.body, r_.satPath);
            if (stored == Store::Failed) {
                ++counters_.writeErrors;
                log(kDiskWriteFailed, r_.satPath);
                return false;
            }
            generateParents();
            if (!decodeStored(r_.bitmap, writtenBytes(answer, stored), r_.satPath)) {
                log(kCorruptDeleted, r_.satPath);
                ++counters_.badFileErrors;
                removeIfWritable(r_.satPath);
                return false; // not obtained: a job tries the tile again
            }
        }
        return std::nullopt;
    }

    std::optional<bool> overlayPart() {
        const int f = geo::serviceZoomOf(r_.hybridRequest) + 1;
        const bool bothLayers = o_.satLayer && o_.mapLayer;
        if (!bothLayers || f == 0 || (!o_.jobMode && c_.overlayCutoff->load() >= f)) {
            if (bothLayers && o_.jobMode && f == 0) {
                log(kOverlayUnavailable);
                if (job_) job_->switchOffMapLayer();
            }
            return std::nullopt;
        }
        r_.overlayPending = true;
        if (r_.bitmap.isNull()) r_.bitmap = newTileImage(QColor(138, 138, 138));
        if (QFile::exists(r_.hybridPath) && !o_.internetOnly && drawOverlay(nullptr)) return std::nullopt;
        if (o_.cacheOnly || (o_.deferNetwork && !o_.fromWorker)) return std::nullopt;

        const HttpResult answer = download(s_.templates.secondaryHybrid, r_.hybridRequest);
        if (!answer.ok) {
            if (answer.status == 404 && c_.overlayCutoff) {
                int cutoff = c_.overlayCutoff->load();
                while (cutoff < f && !c_.overlayCutoff->compare_exchange_weak(cutoff, f)) {
                }
            }
            log(kFetchFailed, answer.responseText + u' ' + r_.hybridRequest);
            return !r_.satPending;
        }
        const Store stored = store(answer.body, r_.hybridPath);
        if (stored == Store::Failed) {
            ++counters_.writeErrors;
            log(kDiskWriteFailed, r_.hybridPath);
            return !r_.satPending;
        }
        if (!drawOverlay(writtenBytes(answer, stored))) {
            log(kCorruptDeleted, r_.hybridPath);
            removeIfWritable(r_.hybridPath);
        }
        return std::nullopt;
    }

    std::optional<bool> mapPart() {
        r_.satPending = false;
        if (QFile::exists(r_.mapPath) && !o_.internetOnly) {
            if (LoadImageFile(r_.bitmap, r_.mapPath, &budget_)) r_.overlayPending = false;
            return std::nullopt;
        }
        if (o_.cacheOnly) {
            placeholder(kNoMapInCache);
        } else if (o_.deferNetwork && !o_.fromWorker) {
            placeholder(kAwaitingDownload);
            r_.overlayPending = true;
        } else {
            const HttpResult answer = download(s_.templates.secondaryRoad, r_.mapRequest);
            if (!answer.ok) {
                log(kFetchFailed, answer.responseText + u' ' + r_.mapRequest);
                return false;
            }
            const Store stored = store(answer.body, r_.mapPath);
            if (stored == Store::Failed) {
                ++counters_.writeErrors;
                log(kDiskWriteFailed, r_.mapPath);
                return false;
            }
            if (!decodeStored(r_.bitmap, writtenBytes(answer, stored), r_.mapPath)) {
                log(kCorruptDeleted, r_.mapPath);
                removeIfWritable(r_.mapPath);
                return false;
            }
        }
        return std::nullopt;
    }

    // The bytes a file holds when this call has just written them; null when the file kept other ones.
    static const QByteArray* writtenBytes(const HttpResult& answer, Store stored) {
        return stored == Store::Written ? &answer.body : nullptr;
    }

    // Decodes a tile file: from the bytes just written to it, or else from the file itself (a read-only
    // one is waited for and then given up).
    bool decodeStored(QImage& slot, const QByteArray* written, const QString& path) {
        if (!written) return LoadImageFile(slot, path, &budget_);
        if (!o_.pictureNeeded) return decodesCleanly(*written);
        slot = decodeImage(*written);
        return !slot.isNull();
    }

    // Draws the hybrid overlay over the bitmap; false when it does not decode.
    bool drawOverlay(const QByteArray* written) {
        QImage overlay;
        if (!decodeStored(overlay, written, r_.hybridPath)) return false;
        if (r_.bitmap.format() != QImage::Format_RGB32 && r_.bitmap.format() != QImage::Format_ARGB32_Premultiplied)
            r_.bitmap = r_.bitmap.convertToFormat(QImage::Format_RGB32);
        QPainter painter(&r_.bitmap);
        painter.drawImage(QRect(0, 0, kTilePixels, kTilePixels), overlay);
        r_.overlayPending = false;
        return true;
    }

    // Downloads the primary request (with a mirror digit) or, with the secondary service, the request
    // that the secondary template makes of the tile.
    HttpResult download(const QString& secondaryTemplate, const QString& primaryRequest) {
        const QString url = o_.secondary ? geo::secondaryRequest(secondaryTemplate, r_.satRequest, s_.secondaryMirrors)
                                         : geo::withMirror(primaryRequest, s_.primaryMirrors);
        HttpResult answer = httpGet(url, s_.proxy, s_.limits);
        if (answer.ok && o_.fromWorker && c_.meter) c_.meter->add(answer.body.size());
        return answer;
    }

    // Stores the bytes unchanged. An existing file is replaced when it is writable within the wait budget
    // (a failure then is ignored); a new file, with the folders it needs, must be created.
    Store store(const QByteArray& bytes, const QString& path) {
        if (QFile::exists(path)) {
            if (!budget_.waitWhileReadOnly(path)) return Store::LeftReadOnly;
            writeFileAtomically(path, bytes, Durability::Unsynced);
            return Store::Written;
        }
        if (writeFileAtomically(path, bytes, Durability::Unsynced)) return Store::Written;
        QDir().mkpath(QFileInfo(path).absolutePath()); // the first tile of its level folder
        return writeFileAtomically(path, bytes, Durability::Unsynced) ? Store::Written : Store::Failed;
    }

    void generateParents() {
        if (!o_.jobMode && s_.autoGenerate)
            BuildParents(r_.satRequest, s_.autoGenerateReplace, s_.layout, s_.autoGenerateQuality);
    }

    void placeholder(Entry entry) {
        r_.bitmap = newTileImage();
        const qsizetype root = s_.templates.satellite.lastIndexOf(u'=') + 1;
        DrawTileMessage(r_.bitmap, text(entry), r_.satRequest.mid(root + 1));
    }

    QString text(Entry entry) const { return c_.language ? c_.language->languageText(entry) : QString(); }

    void log(Entry entry, const QString& subject = QString()) {
        if (!o_.jobMode || !job_) return;
        job_->AppendLog(subject.isEmpty() ? text(entry) : text(entry) + u' ' + subject);
    }

    jtype& r_;
    const FetchOptions& o_;
    const FetchContext& c_;
    const FetchSettings& s_;
    FetchJob* job_;
    FetchCounters ownCounters_;
    FetchCounters& counters_;
    WaitBudget budget_;
};

} // namespace

bool FetchTile(jtype& r, const FetchOptions& options, const FetchContext& context, FetchJob* job,
               FetchCounters* counters) {
    return TileFetch(r, options, context, job, counters).run();
}

} // namespace zelvano
