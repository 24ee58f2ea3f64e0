#include "support/tile_fixtures.h"

#include <QBuffer>
#include <QPainter>

namespace zelvano::test {

namespace {

QByteArray encode(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

} // namespace

QByteArray jpegTile(int seed) {
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed * 31) & 255, (y * 5 + seed * 17) & 255, ((x ^ y) + seed) & 255));
    return encode(image, "JPEG", 90);
}

QByteArray pngTile(QColor colour, bool overlay) {
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(overlay ? Qt::transparent : colour);
    if (overlay) {
        QPainter p(&image);
        p.setPen(QPen(colour, 20));
        p.drawLine(0, 0, 255, 255);
    }
    return encode(image, "PNG");
}

QImage decoded(const QByteArray& bytes) { return QImage::fromData(bytes); }

} // namespace zelvano::test
