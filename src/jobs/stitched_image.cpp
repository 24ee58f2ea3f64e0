#include "jobs/stitched_image.h"

#include "base/number_text.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>

#include <unistd.h>

namespace zelvano {

namespace {

// What the encoders hold beside the image: a few strips of rows and their coded bytes.
constexpr qint64 kEncoderReserve = 64LL * 1024 * 1024;

inline quint16 rgb565(QRgb c) {
    return static_cast<quint16>(((c >> 8) & 0xf800) | ((c >> 5) & 0x07e0) | ((c >> 3) & 0x001f));
}

} // namespace

qint64 availableMemory() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly)) {
        while (!meminfo.atEnd()) {
            const QByteArray line = meminfo.readLine();
            if (line.startsWith("MemAvailable:")) {
                const QList<QByteArray> parts = line.simplified().split(' ');
                if (parts.size() >= 2) return parts[1].toLongLong() * 1024;
            }
        }
    }
    return static_cast<qint64>(::sysconf(_SC_PHYS_PAGES)) * ::sysconf(_SC_PAGESIZE);
}

std::optional<QString> stitchSizeProblem(qint64 width, qint64 height, bool png, qint64 available,
                                         const QString& splitOption) {
    const QString size = QStringLiteral("%1 × %2").arg(width).arg(height);
    QString split = splitOption.trimmed();
    if (split.endsWith(u':')) split.chop(1);
    if (!png && (width > kMaxJpegSide || height > kMaxJpegSide))
        return QStringLiteral("Изображение %1 пикселей не помещается в JPEG: у него не больше %2 пикселей по "
                              "каждой стороне. Включите «%3» с частями поменьше.")
            .arg(size)
            .arg(kMaxJpegSide)
            .arg(split);
    const qint64 bytes = width * height * 2;
    if (bytes + kEncoderReserve > available)
        return QStringLiteral("Изображению %1 пикселей нужно %2 МБ памяти, а свободно %3 МБ. Включите «%4» с "
                              "частями поменьше.")
            .arg(size)
            .arg((bytes + kEncoderReserve) >> 20)
            .arg(available >> 20)
            .arg(split);
    return std::nullopt;
}

QString stitchMegabytes(int width, int height) {
    return formatFixed(static_cast<double>(static_cast<qint64>(width) * height * 2 / 1048576), 6);
}

QImage newStitchImage(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    // Zeroed pages straight from the system: black where no tile is drawn, at no cost for a large image.
    const qsizetype stride = (static_cast<qsizetype>(width) * 2 + 3) & ~qsizetype(3);
    void* pixels = std::calloc(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 1);
    if (!pixels) return {};
    return QImage(static_cast<uchar*>(pixels), width, height, stride, QImage::Format_RGB16, std::free, pixels);
}

StitchCanvas StitchCanvas::of(QImage& image) {
    if (image.isNull()) return {};
    return {image.bits(), image.bytesPerLine(), image.width(), image.height()};
}

void drawStitchTile(const StitchCanvas& canvas, const QImage& tile, int x, int y) {
    if (!canvas.bits || tile.isNull()) return;
    constexpr int kSide = 256;
    QImage picture = tile.size() == QSize(kSide, kSide) ? tile : tile.scaled(kSide, kSide);
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const int left = std::max(0, -x), top = std::max(0, -y);
    const int right = std::min(kSide, canvas.width - x), bottom = std::min(kSide, canvas.height - y);
    for (int row = top; row < bottom; ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
        auto* to = reinterpret_cast<quint16*>(canvas.bits + (y + row) * canvas.stride);
        for (int col = left; col < right; ++col)
            to[x + col] = rgb565(from[col]);
    }
}

} // namespace zelvano
