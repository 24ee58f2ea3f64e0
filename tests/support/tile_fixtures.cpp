#include "support/tile_fixtures.h"

#include <QBuffer>
#include <QPainter>

#include <cstdlib>

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

QByteArray solidJpeg(QColor colour) {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(colour);
    for (int i = 0; i < 256; i += 4)
        image.setPixelColor(i, 255 - i, colour.darker(110));
    return encode(image, "JPEG", 95);
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

QImage decoded(const QByteArray& bytes) {
    return QImage::fromData(bytes);
}

bool nearColour(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) < tolerance && std::abs(a.green() - b.green()) < tolerance &&
           std::abs(a.blue() - b.blue()) < tolerance;
}

} // namespace zelvano::test
