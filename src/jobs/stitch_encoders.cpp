#include "jobs/stitch_encoders.h"

#include "base/text_file.h"
#include "jobs/stitched_image.h"

#include <QIODevice>

#include <algorithm>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

namespace zelvano {

namespace {

int encoderThreads() {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
}

// One row of RGB 5-6-5 as 8-bit RGB, each channel's high bits repeated into its low ones.
void expandRow(const QImage& image, int row, uchar* to) {
    const auto* from = reinterpret_cast<const quint16*>(image.constScanLine(row));
    for (int i = 0, n = image.width(); i < n; ++i, to += 3) {
        const uint p = from[i], r = p >> 11, g = (p >> 5) & 63, b = p & 31;
        to[0] = static_cast<uchar>((r << 3) | (r >> 2));
        to[1] = static_cast<uchar>((g << 2) | (g >> 4));
        to[2] = static_cast<uchar>((b << 3) | (b >> 2));
    }
}

// Encodes the strips 0 … count − 1 on the encoder threads and hands each to `write` on this thread, in
// order. A few strips at most wait for their turn, so the memory stays bounded whatever the image's size.
// False when a strip could not be encoded, a write failed or the stop came.
bool encodeInOrder(int count, const std::function<std::optional<QByteArray>(int)>& encode,
                   const std::function<bool(const QByteArray&)>& write, std::stop_token stop) {
    const int threads = std::min(encoderThreads(), count);
    const int window = 2 * threads;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<int, QByteArray> ready;
    int next = 0, written = 0;
    bool failed = false;
    const auto encoder = [&] {
        for (;;) {
            int strip = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return failed || next >= count || next < written + window; });
                if (failed || next >= count) return;
                strip = next++;
            }
            std::optional<QByteArray> bytes;
            try {
                if (!stop.stop_requested()) bytes = encode(strip);
            } catch (...) { // memory ran out: the save fails, the program goes on
                bytes.reset();
            }
            {
                std::lock_guard lock(mutex);
                if (bytes)
                    ready.emplace(strip, std::move(*bytes));
                else
                    failed = true;
            }
            changed.notify_all();
        }
    };
    std::vector<std::jthread> pool;
    for (int i = 0; i < threads; ++i)
        pool.emplace_back(encoder);
    while (true) {
        QByteArray bytes;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return failed || written == count || ready.contains(written); });
            if (failed || written == count) break;
            bytes = std::move(ready[written]);
            ready.erase(written);
        }
        const bool ok = !stop.stop_requested() && write(bytes);
        {
            std::lock_guard lock(mutex);
            if (ok)
                ++written;
            else
                failed = true;
        }
        changed.notify_all();
    }
    pool.clear(); // joins
    return !failed && written == count;
}

// A read-only image stays as it is (after the usual wait), and the save failed.
bool saveInStrips(const QString& path, const std::function<bool(QIODevice&)>& write) {
    return replaceFile(path, Durability::Synced, write);
}

bool writeAll(QIODevice& file, const QByteArray& bytes) {
    return file.write(bytes) == bytes.size();
}

// --- JPEG ---

struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFailed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1);
}

// The coded bytes collect in a QByteArray of the caller's, in steps of 256 kB.
struct ByteArrayDestination {
    jpeg_destination_mgr manager;
    QByteArray* bytes;
    qsizetype used;
};

constexpr qsizetype kDestinationStep = 256 * 1024;

void destinationInit(j_compress_ptr info) {
    auto* d = reinterpret_cast<ByteArrayDestination*>(info->dest);
    d->bytes->resize(kDestinationStep);
    d->used = 0;
    d->manager.next_output_byte = reinterpret_cast<JOCTET*>(d->bytes->data());
    d->manager.free_in_buffer = static_cast<std::size_t>(kDestinationStep);
}

boolean destinationFull(j_compress_ptr info) {
    auto* d = reinterpret_cast<ByteArrayDestination*>(info->dest);
    d->used = d->bytes->size();
    d->bytes->resize(d->used + kDestinationStep);
    d->manager.next_output_byte = reinterpret_cast<JOCTET*>(d->bytes->data() + d->used);
    d->manager.free_in_buffer = static_cast<std::size_t>(kDestinationStep);
    return TRUE;
}

void destinationTerm(j_compress_ptr info) {
    auto* d = reinterpret_cast<ByteArrayDestination*>(info->dest);
    d->bytes->resize(d->bytes->size() - static_cast<qsizetype>(d->manager.free_in_buffer));
}

// The strip as a JPEG of its own, with the restart interval the joined file declares (a strip is one
// interval, so none of its own markers lies inside it).
std::optional<QByteArray> encodeJpegStrip(const QImage& image, int firstRow, int rows, int quality,
                                          unsigned restartInterval) {
    jpeg_compress_struct info{};
    JpegFailure failure{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jpegFailed;
    QByteArray bytes;
    ByteArrayDestination destination{{}, &bytes, 0};
    destination.manager.init_destination = destinationInit;
    destination.manager.empty_output_buffer = destinationFull;
    destination.manager.term_destination = destinationTerm;
    std::vector<uchar> buffer(static_cast<std::size_t>(image.width()) * 3 * 16);
    // Everything with a destructor is made above; libjpeg's own memory goes with jpeg_destroy_compress.
    if (setjmp(failure.jump)) {
        jpeg_destroy_compress(&info);
        return std::nullopt;
    }
    jpeg_create_compress(&info);
    info.dest = &destination.manager;
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(rows);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    info.optimize_coding = FALSE; // the standard tables, the same in every strip
    info.restart_interval = restartInterval;
    jpeg_start_compress(&info, TRUE);
    JSAMPROW pointers[16];
    while (info.next_scanline < info.image_height) {
        const int n = std::min(16, rows - static_cast<int>(info.next_scanline));
        for (int i = 0; i < n; ++i) {
            pointers[i] = buffer.data() + static_cast<std::size_t>(i) * image.width() * 3;
            expandRow(image, firstRow + static_cast<int>(info.next_scanline) + i, pointers[i]);
        }
        jpeg_write_scanlines(&info, pointers, static_cast<JDIMENSION>(n));
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return bytes;
}

// Where a strip's coded data begins (after its SOS header) and its frame header (SOF0) lies.
struct JpegLayout {
    qsizetype sof = -1;
    qsizetype data = -1;
};

JpegLayout jpegLayout(const QByteArray& b) {
    JpegLayout layout;
    qsizetype at = 2;
    while (at + 4 <= b.size() && static_cast<uchar>(b[at]) == 0xFF) {
        const uchar marker = static_cast<uchar>(b[at + 1]);
        const int length = (static_cast<uchar>(b[at + 2]) << 8) | static_cast<uchar>(b[at + 3]);
        if (marker == 0xC0) layout.sof = at;
        at += 2 + length;
        if (marker == 0xDA) {
            layout.data = at;
            break;
        }
    }
    return layout;
}

// --- PNG ---

void putBigEndian(QByteArray& to, quint32 v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    to.append(bytes, 4);
}

QByteArray pngChunk(const char type[4], const QByteArray& data) {
    QByteArray chunk;
    chunk.reserve(data.size() + 12);
    putBigEndian(chunk, static_cast<quint32>(data.size()));
    chunk.append(type, 4);
    chunk.append(data);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(data.constData()), static_cast<z_size_t>(data.size()));
    putBigEndian(chunk, static_cast<quint32>(crc));
    return chunk;
}

// Every row filtered with "Up" (the difference to the row above), which suits photographs and costs one
// subtraction a byte.
QByteArray filteredRows(const QImage& image, int firstRow, int rows) {
    const qsizetype rowBytes = static_cast<qsizetype>(image.width()) * 3;
    QByteArray raw(rows * (rowBytes + 1), Qt::Uninitialized);
    std::vector<uchar> above(static_cast<std::size_t>(rowBytes), 0), current(static_cast<std::size_t>(rowBytes));
    if (firstRow > 0) expandRow(image, firstRow - 1, above.data());
    auto* to = reinterpret_cast<uchar*>(raw.data());
    for (int r = 0; r < rows; ++r) {
        expandRow(image, firstRow + r, current.data());
        *to++ = 2; // Up
        for (qsizetype i = 0; i < rowBytes; ++i)
            *to++ = static_cast<uchar>(current[i] - above[i]);
        std::swap(above, current);
    }
    return raw;
}

struct DeflatedStrip {
    QByteArray bytes;
    uLong adler = 1;
    qsizetype rawSize = 0;
};

// The strip's filtered rows deflated on their own, ending byte-aligned (a sync flush) so that the next
// strip's blocks follow, or with the final block for the last strip.
std::optional<DeflatedStrip> deflateStrip(const QImage& image, int firstRow, int rows, bool last) {
    const QByteArray raw = filteredRows(image, firstRow, rows);
    z_stream z{};
    // Run-length matches only: after the Up filter most repeats are one pixel apart, and this finds them
    // at four to five times the speed of the default search, for a file about a fifth larger.
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK) return std::nullopt;
    DeflatedStrip strip;
    strip.rawSize = raw.size();
    strip.adler = adler32_z(1, reinterpret_cast<const Bytef*>(raw.constData()), static_cast<z_size_t>(raw.size()));
    strip.bytes.resize(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(raw.size()))) + 64);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(strip.bytes.data());
    z.avail_out = static_cast<uInt>(strip.bytes.size());
    const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    const bool ok = last ? result == Z_STREAM_END : result == Z_OK && z.avail_in == 0;
    strip.bytes.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    if (!ok) return std::nullopt;
    return strip;
}

} // namespace

bool saveStitchJpeg(const QImage& image, const QString& path, int quality, std::stop_token stop) {
    if (image.isNull() || image.format() != QImage::Format_RGB16) return false;
    // One strip is one restart interval of whole MCU rows (16 pixels high); an interval holds at most
    // 65 535 MCUs, and enough strips keep every core busy to the end.
    if (image.width() > kMaxJpegSide || image.height() > kMaxJpegSide) return false; // no JPEG holds it
    const int mcusPerRow = (image.width() + 15) / 16, mcuRows = (image.height() + 15) / 16;
    const int wanted = std::max(1, mcuRows / (4 * encoderThreads()));
    const int stripMcuRows = std::clamp(std::min(wanted, 65535 / mcusPerRow), 1, 64);
    const int stripRows = stripMcuRows * 16;
    const int count = (image.height() + stripRows - 1) / stripRows;
    const unsigned interval = count > 1 ? static_cast<unsigned>(mcusPerRow * stripMcuRows) : 0;
    return saveInStrips(path, [&](QIODevice& file) {
        const auto encode = [&](int strip) -> std::optional<QByteArray> {
            const int first = strip * stripRows;
            return encodeJpegStrip(image, first, std::min(stripRows, image.height() - first), quality, interval);
        };
        int strip = 0;
        const auto write = [&](const QByteArray& bytes) {
            const JpegLayout layout = jpegLayout(bytes);
            if (layout.data < 0 || layout.sof < 0 || bytes.size() < layout.data + 2) return false;
            QByteArray out;
            if (strip == 0) {
                out = bytes.left(layout.data);
                out[layout.sof + 5] = static_cast<char>(image.height() >> 8); // the frame holds every strip
                out[layout.sof + 6] = static_cast<char>(image.height() & 0xFF);
            } else {
                out = QByteArray("\xFF") + static_cast<char>(0xD0 + (strip - 1) % 8);
            }
            out.append(bytes.constData() + layout.data, bytes.size() - layout.data - 2); // without EOI
            if (++strip == count) out.append("\xFF\xD9", 2);
            return writeAll(file, out);
        };
        return encodeInOrder(count, encode, write, stop);
    });
}

bool saveStitchPng(const QImage& image, const QString& path, std::stop_token stop) {
    if (image.isNull() || image.format() != QImage::Format_RGB16) return false;
    // Strips of at most 4 MB of rows, fewer bytes each with more threads: the strips in flight (about two
    // per thread, each with its coded bytes) stay within the reserve kept beside the image.
    const qsizetype rowBytes = static_cast<qsizetype>(image.width()) * 3 + 1;
    const qsizetype stripBytes = std::clamp<qsizetype>((24LL << 20) / (2 * encoderThreads()), 256 << 10, 4 << 20);
    const int stripRows = static_cast<int>(std::clamp<qsizetype>(stripBytes / rowBytes, 1, 1024));
    const int count = (image.height() + stripRows - 1) / stripRows;
    return saveInStrips(path, [&](QIODevice& file) {
        QByteArray header("\x89PNG\r\n\x1A\n", 8), ihdr;
        putBigEndian(ihdr, static_cast<quint32>(image.width()));
        putBigEndian(ihdr, static_cast<quint32>(image.height()));
        ihdr.append("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, adaptive filters, no interlace
        header.append(pngChunk("IHDR", ihdr));
        if (!writeAll(file, header)) return false;
        // Each strip's checksum part, set by its encoder before the strip is handed over.
        std::vector<uLong> adlers(static_cast<std::size_t>(count));
        std::vector<z_off_t> sizes(static_cast<std::size_t>(count));
        const auto encode = [&](int s) -> std::optional<QByteArray> {
            const int first = s * stripRows;
            auto deflated = deflateStrip(image, first, std::min(stripRows, image.height() - first), s == count - 1);
            if (!deflated) return std::nullopt;
            adlers[static_cast<std::size_t>(s)] = deflated->adler;
            sizes[static_cast<std::size_t>(s)] = static_cast<z_off_t>(deflated->rawSize);
            return std::move(deflated->bytes);
        };
        uLong adler = 1;
        std::size_t strip = 0;
        const auto write = [&](const QByteArray& bytes) {
            adler = strip == 0 ? adlers[0] : adler32_combine(adler, adlers[strip], sizes[strip]);
            QByteArray data = strip == 0 ? QByteArray("\x78\x01", 2) : QByteArray(); // the zlib header
            data.append(bytes);
            if (++strip == static_cast<std::size_t>(count)) putBigEndian(data, static_cast<quint32>(adler));
            return writeAll(file, pngChunk("IDAT", data));
        };
        if (!encodeInOrder(count, encode, write, stop)) return false;
        return writeAll(file, pngChunk("IEND", {}));
    });
}

} // namespace zelvano
