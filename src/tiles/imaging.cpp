#include "tiles/imaging.h"

#include "base/text_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace zelvano {

namespace {

QImage decode(QIODevice* device, int scaleDown = 1) {
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "png") return {};
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxDecodedSide || size.height() > kMaxDecodedSide) return {};
    if (scaleDown > 1 && format == "jpeg") reader.setScaledSize(size / scaleDown);
    QImage image;
    if (!reader.read(&image)) return {};
    return image;
}

QImage decodeBytes(const QByteArray& bytes, int scaleDown) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decode(&buffer, scaleDown);
}

bool saveImage(const QImage& image, const QString& path, const char* format, int quality, Durability durability) {
    if (image.isNull()) return false;
    WaitBudget budget;
    if (!budget.waitWhileReadOnly(path)) return true; // a read-only target stays as it is
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (durability == Durability::Unsynced) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        if (quality >= 0) writer.setQuality(quality);
        return writer.write(image) && writeFileAtomically(path, bytes, Durability::Unsynced);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QImageWriter writer(&file, format);
    if (quality >= 0) writer.setQuality(quality);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

QImage decodeImage(const QByteArray& bytes) {
    return decodeBytes(bytes, 1);
}

bool decodesCleanly(const QByteArray& bytes) {
    return !decodeBytes(bytes, 8).isNull();
}

bool LoadImageFile(QImage& slot, const QString& path, WaitBudget* budget) {
    slot = QImage();
    if (!QFile::exists(path)) return false;
    WaitBudget own;
    if (!(budget ? budget : &own)->waitWhileReadOnly(path)) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    slot = decode(&file);
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
