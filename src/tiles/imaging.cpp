#include "tiles/imaging.h"

#include "base/text_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <turbojpeg.h>

#include <memory>

namespace zelvano {

namespace {

bool isJpeg(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xD8\xFF");
}
bool isPng(const QByteArray& bytes) {
    return bytes.startsWith("\x89PNG\r\n\x1A\n");
}

struct FreeDecompressor {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, FreeDecompressor>;

// The calling thread's decompressor, made on first use and freed with the thread.
Decompressor& threadDecompressor() {
    thread_local Decompressor handle(tjInitDecompress());
    return handle;
}

// A JPEG decoded whole, or nothing: any warning of the decoder (data missing, a marker out of place) makes
// the file defective. `scaleDown` 1 or 8.
QImage decodeJpeg(const QByteArray& bytes, int scaleDown) {
    Decompressor& handle = threadDecompressor();
    if (!handle) return {};
    tjhandle decoder = handle.get();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    // The decoder keeps a warning's mark into its next calls, so every later tile of this thread would fail
    // as well (and be deleted as defective): after a failure the thread gets a fresh decoder.
    const auto failed = [&handle] {
        handle.reset(tjInitDecompress());
        return QImage();
    };
    if (tjDecompressHeader3(decoder, data, size, &width, &height, &subsampling, &colourspace) != 0) return failed();
    if (width <= 0 || height <= 0 || width > kMaxTileSide || height > kMaxTileSide) return {};
    const int w = (width + scaleDown - 1) / scaleDown;
    const int h = (height + scaleDown - 1) / scaleDown;
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return {};
    constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB; // as RGB32 lies
    if (tjDecompress2(decoder, data, size, image.bits(), w, static_cast<int>(image.bytesPerLine()), h, kPixelFormat,
                      TJFLAG_STOPONWARNING) != 0)
        return failed();
    return image;
}

QImage decodePng(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size(); // from the header alone
    if (!size.isValid() || size.width() > kMaxTileSide || size.height() > kMaxTileSide) return {};
    QImage image;
    if (!reader.read(&image)) return {};
    return image;
}

QImage decode(const QByteArray& bytes, int scaleDown) {
    if (isJpeg(bytes)) return decodeJpeg(bytes, scaleDown);
    if (isPng(bytes)) return decodePng(bytes);
    return {};
}

bool saveImage(const QImage& image, const QString& path, const char* format, int quality, Durability durability) {
    if (image.isNull()) return false;
    WaitBudget budget;
    if (!budget.waitWhileReadOnly(path)) return true; // a read-only target stays as it is
    QDir().mkpath(QFileInfo(path).absolutePath());
    return replaceFile(path, durability, [&](QIODevice& file) {
        QImageWriter writer(&file, format);
        if (quality >= 0) writer.setQuality(quality);
        return writer.write(image);
    });
}

} // namespace

QImage decodeImage(const QByteArray& bytes) {
    return decode(bytes, 1);
}

bool decodesCleanly(const QByteArray& bytes) {
    return !decode(bytes, 8).isNull();
}

bool LoadImageFile(QImage& slot, const QString& path, WaitBudget* budget) {
    slot = QImage();
    if (!QFile::exists(path)) return false;
    WaitBudget own;
    if (!(budget ? budget : &own)->waitWhileReadOnly(path)) return false;
    const auto bytes = readSmallFile(path, kMaxTileFileBytes);
    if (!bytes) return false;
    slot = decodeImage(*bytes);
    return !slot.isNull();
}

bool SaveImageJpeg(const QImage& image, const QString& path, int quality, Durability durability) {
    return saveImage(image, path, "jpeg", std::clamp(quality, 10, 100), durability);
}

bool SaveImagePng(const QImage& image, const QString& path, Durability durability) {
    return saveImage(image, path, "png", -1, durability);
}

QImage newTileImage(QColor fill) {
    QImage image(kTilePixels, kTilePixels, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void DrawTileMessage(QImage& bitmap, const QString& message, const QString& tileLetters) {
    if (bitmap.isNull()) return;
    if (bitmap.format() != QImage::Format_RGB32) bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    bitmap.fill(QColor(138, 138, 138));
    QPainter painter(&bitmap);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 255, 255), Qt::AlignCenter, message + QLatin1Char('\n') + u'-' + tileLetters + u'-');
}

} // namespace zelvano
