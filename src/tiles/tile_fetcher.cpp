#include "tiles/tile_fetcher.h"

#include "base/side_thread.h"

#include "base/text_file.h"
#include "tiles/imaging.h"
#include "tiles/parent_builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

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

// Deletes a file that is not read-only; false when such a file could not be deleted (a read-only disk).
bool removeIfWritable(const QString& path) {
    return !QFile::exists(path) || isReadOnly(path) || QFile::remove(path);
}

// One call of FetchTile. The parts return true when the call ends early; the outcome then holds the value
// that the program returns at that point.
class TileFetch {
public:
    TileFetch(jtype& r, const FetchOptions& o, const FetchContext& c, FetchJob* job, std::stop_token stop)
        : r_(r), o_(o), c_(c), s_(*c.settings), job_(job), stop_(std::move(stop)) {}

    FetchOutcome run() {
        const LayerChoice& layers = o_.layers;
        if (layers.secondary) {
            r_.satPath = r_.secAerialPath;
            r_.mapPath = r_.secRoadPath;
            r_.hybridPath = r_.secHybridPath;
        }
        r_.bitmap = QImage();
        r_.satPending = false;
        r_.overlayPending = false;
        // With the secondary service and both layers, its hybrid tile alone makes the picture.
        const bool ended = (layers.satellite && (!layers.secondary || !layers.map) && satellitePart()) ||
                           overlayPart() || (layers.map && !layers.satellite && mapPart());
        if (!ended) outcome_.usable = outcome_.redraw = !r_.satPending || !r_.overlayPending;
        return outcome_;
    }

private:
    enum class Part { Satellite, Hybrid, Map };
    enum class Arrival { Decoded, Undecodable, Failed };
    enum class Store { Written, LeftReadOnly, Failed };

    bool jobMode() const { return o_.mode == FetchMode::JobWorker; }
    bool fromWorker() const { return o_.mode != FetchMode::DrawingPass; }
    bool deferred() const { return o_.mode == FetchMode::DrawingPass; }
    bool cacheOnly() const { return o_.workMode == WorkMode::CacheOnly; }
    // The drawing pass reads the cache in every work mode; in internet-only mode its loader fetches again.
    bool internetOnly() const { return o_.mode != FetchMode::DrawingPass && o_.workMode == WorkMode::InternetOnly; }

    // Ends the call with `value`: in job mode whether the tile is usable, in the view modes whether there is
    // nothing new to draw. A stopped transfer leaves neither.
    bool endWith(bool value) {
        const bool stopped = outcome_.error == FetchError::Stopped;
        outcome_.usable = value && !stopped;
        outcome_.redraw = !value && !stopped;
        return true;
    }

    bool satellitePart() {
        r_.satPending = true;
        if (!internetOnly() && QFile::exists(r_.satPath)) {
            QByteArray bytes;
            if (budget_.waitWhileReadOnly(r_.satPath)) {
                auto read = readSmallFile(r_.satPath, kMaxTileFileBytes); // nothing for a FIFO or a huge file
                if (!read) {
                    removeIfWritable(r_.satPath);
                    record(FetchError::BadFile, kBadCached, r_.satPath);
                    return endWith(false);
                }
                bytes = std::move(*read);
            }
            if (bytes.size() >= kMinCachedSatelliteBytes && endsWithJpegMarker(bytes) &&
                !(r_.bitmap = decodeImage(bytes)).isNull()) {
                r_.satPending = false;
                outcome_.source = TileSource::Cache;
                generateParents();
                return false;
            }
            if (!removeIfWritable(r_.satPath)) { // it would stay, and be fetched again on every pass
                record(FetchError::DiskWrite, kDiskWriteFailed, r_.satPath);
                return endWith(false);
            }
            log(kIncompleteCached, r_.satPath);
            r_.satPending = false;
            generateParents();
        }
        if (cacheOnly()) {
            placeholder(kNoSatelliteInCache);
        } else if (deferred()) {
            placeholder(kAwaitingDownload);
            r_.satPending = true;
        } else if (fromNetwork(Part::Satellite, r_.bitmap) != Arrival::Decoded) {
            return endWith(false); // not obtained: a job tries the tile again
        }
        return false;
    }

    bool overlayPart() {
        const int f = r_.tile.serviceZoom() + 1;
        const bool bothLayers = o_.layers.satellite && o_.layers.map;
        if (!bothLayers || f == 0 || (!jobMode() && c_.shared->overlayCutoff.load() >= f)) {
            if (bothLayers && jobMode() && f == 0) {
                log(kOverlayUnavailable);
                if (job_) job_->switchOffMapLayer();
            }
            return false;
        }
        r_.overlayPending = true;
        if (r_.bitmap.isNull()) r_.bitmap = newTileImage(QColor(138, 138, 138));
        QImage overlay;
        if (!internetOnly() && QFile::exists(r_.hybridPath) && LoadImageFile(overlay, r_.hybridPath, &budget_)) {
            drawOverlay(overlay, TileSource::Cache);
            return false;
        }
        if (cacheOnly() || deferred()) return false;
        switch (fromNetwork(Part::Hybrid, overlay)) {
        case Arrival::Failed:
            return endWith(!r_.satPending);
        case Arrival::Decoded:
            drawOverlay(overlay, TileSource::Network);
            break;
        case Arrival::Undecodable:
            break;
        }
        return false;
    }

    bool mapPart() {
        r_.satPending = false;
        if (!internetOnly() && QFile::exists(r_.mapPath)) {
            // A cached map that does not load leaves the tile empty: no message, no deletion, no download.
            if (LoadImageFile(r_.bitmap, r_.mapPath, &budget_)) {
                r_.overlayPending = false;
                outcome_.source = TileSource::Cache;
            }
            return false;
        }
        if (cacheOnly()) {
            placeholder(kNoMapInCache);
        } else if (deferred()) {
            placeholder(kAwaitingDownload);
            r_.overlayPending = true;
        } else if (fromNetwork(Part::Map, r_.bitmap) != Arrival::Decoded) {
            return endWith(false);
        }
        return false;
    }

    // One part from the network: downloaded, checked (the satellite part), stored unchanged, decoded into
    // `picture`. Failed: the error is recorded and the call ends. Undecodable: the stored file is logged and
    // deleted.
    Arrival fromNetwork(Part part, QImage& picture) {
        const bool satellite = part == Part::Satellite;
        const QString& request = satellite ? r_.satRequest : part == Part::Hybrid ? r_.hybridRequest : r_.mapRequest;
        const QString& path = satellite ? r_.satPath : part == Part::Hybrid ? r_.hybridPath : r_.mapPath;
        const HttpResult answer = download(part, request);
        if (!answer.ok) {
            if (answer.failure == HttpFailure::Stopped) {
                outcome_.error = FetchError::Stopped;
                return Arrival::Failed;
            }
            if (part == Part::Hybrid && answer.status == 404) raiseOverlayCutoff(r_.tile.serviceZoom() + 1);
            outcome_.retryAfterSeconds = answer.retryAfterSeconds;
            record(satellite ? FetchError::Fetch : FetchError::Layer, kFetchFailed,
                   answer.responseText + u' ' + request);
            return Arrival::Failed;
        }
        if (satellite && answer.body.size() <= 4) {
            record(FetchError::BadFile, kUnderFourBytes, request);
            return Arrival::Failed;
        }
        if (satellite && !endsWithJpegMarker(answer.body)) {
            record(FetchError::BadFile, kIncompleteDownload, request);
            return Arrival::Failed;
        }
        // The bytes are decoded on the side thread while this one writes them: the decoder's time and the
        // file system's overlap.
        Decoded fromBytes;
        SideThread& side = SideThread::ofThisThread();
        side.start([this, &fromBytes, &bytes = std::as_const(answer.body)] { fromBytes = decodeBytes(bytes); });
        const Store stored = store(answer.body, path);
        side.wait();
        if (stored == Store::Failed) {
            record(FetchError::DiskWrite, kDiskWriteFailed, path);
            return Arrival::Failed;
        }
        if (satellite) generateParents();
        if (stored == Store::Written ? fromBytes.take(picture) : LoadImageFile(picture, path, &budget_)) {
            if (part != Part::Hybrid) outcome_.source = TileSource::Network; // drawOverlay names the overlay's
            return Arrival::Decoded;
        }
        if (!removeIfWritable(path)) {
            record(FetchError::DiskWrite, kDiskWriteFailed, path);
            return Arrival::Failed;
        }
        record(satellite ? FetchError::BadFile : FetchError::Layer, kCorruptDeleted, path);
        return Arrival::Undecodable;
    }

    // The primary request (with a mirror digit) or, with the secondary service, the request that the
    // secondary template of the part makes of the tile.
    HttpResult download(Part part, const QString& primaryRequest) {
        const geo::RequestTemplates& t = s_.templates;
        const QString& secondaryTemplate = part == Part::Satellite ? t.secondaryAerial
                                           : part == Part::Hybrid  ? t.secondaryHybrid
                                                                   : t.secondaryRoad;
        const QString url = o_.layers.secondary ? geo::secondaryRequest(secondaryTemplate, r_.tile, s_.secondaryMirrors)
                                                : geo::withMirror(primaryRequest, s_.primaryMirrors);
        HttpResult answer = httpGet(url, s_.proxy, s_.limits, stop_);
        if (answer.ok && fromWorker()) c_.shared->meter.add(answer.body.size());
        return answer;
    }

    // Stores the bytes unchanged. An existing file is replaced when it is writable within the wait budget;
    // a new file is created with the folders it needs. A write that fails is a failure either way.
    Store store(const QByteArray& bytes, const QString& path) {
        if (QFile::exists(path)) {
            if (!budget_.waitWhileReadOnly(path)) return Store::LeftReadOnly;
            return writeFileAtomically(path, bytes, Durability::Unsynced) ? Store::Written : Store::Failed;
        }
        if (writeFileAtomically(path, bytes, Durability::Unsynced)) return Store::Written;
        QDir().mkpath(QFileInfo(path).absolutePath()); // the first tile of its level folder
        return writeFileAtomically(path, bytes, Durability::Unsynced) ? Store::Written : Store::Failed;
    }

    // What the bytes of a download decode to: the picture, or for a download job, which lets the picture
    // go, only whether they decode.
    struct Decoded {
        bool ok = false;
        bool hasPicture = false;
        QImage picture;
        bool take(QImage& slot) {
            if (hasPicture) slot = std::move(picture);
            return ok;
        }
    };
    Decoded decodeBytes(const QByteArray& bytes) const {
        Decoded d;
        d.hasPicture = o_.pictureNeeded;
        if (d.hasPicture) {
            d.picture = decodeImage(bytes);
            d.ok = !d.picture.isNull();
        } else {
            d.ok = decodesCleanly(bytes);
        }
        return d;
    }

    void drawOverlay(const QImage& overlay, TileSource source) {
        if (r_.bitmap.format() != QImage::Format_RGB32 && r_.bitmap.format() != QImage::Format_ARGB32_Premultiplied)
            r_.bitmap = r_.bitmap.convertToFormat(QImage::Format_RGB32);
        QPainter(&r_.bitmap).drawImage(QRect(0, 0, kTilePixels, kTilePixels), overlay);
        r_.overlayPending = false;
        if (outcome_.source == TileSource::None) outcome_.source = source;
    }

    // A 404 for a hybrid tile: no view pass asks for the overlay at that level or deeper again.
    void raiseOverlayCutoff(int f) {
        std::atomic<int>& cutoff = c_.shared->overlayCutoff;
        int current = cutoff.load();
        while (current < f && !cutoff.compare_exchange_weak(current, f)) {
        }
    }

    void generateParents() {
        if (!jobMode() && s_.autoGenerate)
            BuildParents(r_.tile, s_.autoGenerateReplace, s_.layout, s_.autoGenerateQuality);
    }

    void placeholder(Entry entry) {
        r_.bitmap = newTileImage();
        outcome_.source = TileSource::Placeholder;
        DrawTileMessage(r_.bitmap, text(entry), r_.tile.letters());
    }

    QString text(Entry entry) const { return c_.shared->language->languageText(entry); }

    // An error of this call: its kind and message go into the outcome and, in job mode, to the log.
    void record(FetchError kind, Entry entry, const QString& subject) {
        outcome_.error = kind;
        outcome_.message = text(entry) + u' ' + subject;
        if (jobMode() && job_) job_->AppendLog(outcome_.message);
    }

    void log(Entry entry, const QString& subject = QString()) {
        if (!jobMode() || !job_) return;
        job_->AppendLog(subject.isEmpty() ? text(entry) : text(entry) + u' ' + subject);
    }

    jtype& r_;
    const FetchOptions& o_;
    const FetchContext& c_;
    const FetchSettings& s_;
    FetchJob* job_;
    std::stop_token stop_;
    WaitBudget budget_;
    FetchOutcome outcome_;
};

} // namespace

FetchOptions fetchOptions(FetchMode mode, const LayerChoice& layers, WorkMode workMode) {
    FetchOptions o;
    o.mode = mode;
    o.layers = layers;
    o.workMode = workMode;
    return o;
}

void FetchCounters::count(const FetchOutcome& outcome) {
    switch (outcome.error) {
    case FetchError::DiskWrite:
        ++writeErrors;
        break;
    case FetchError::Fetch:
        ++fetchErrors;
        break;
    case FetchError::BadFile:
        ++badFileErrors;
        break;
    case FetchError::None:
    case FetchError::Layer:
    case FetchError::Stopped:
        break;
    }
}

FetchOutcome FetchTile(jtype& r, const FetchOptions& options, const FetchContext& context, FetchJob* job,
                       std::stop_token stop) {
    return TileFetch(r, options, context, job, std::move(stop)).run();
}

} // namespace zelvano
