#include "tileserver/tile_renderer.h"

#include <QBuffer>
#include <QPainter>

#include <cmath>

namespace zelvano::tileserver {

namespace {

constexpr int kSize = 256;
constexpr std::size_t kCachedTiles = 4096;

QByteArray encode(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// Degrees of graticule spacing that keeps lines about 100 to 400 pixels apart at the level.
double graticuleStep(int level) {
    const double degreesPerPixel = 360.0 / (kSize * std::ldexp(1.0, level));
    for (double step : {30.0, 10.0, 5.0, 1.0, 0.5, 0.1, 0.05, 0.01, 0.005, 0.001, 0.0005, 0.0001, 0.00005, 0.00001})
        if (step / degreesPerPixel < 400) return step;
    return 0.00001;
}

double lonAt(double worldPixel, double world) {
    return worldPixel / world * 360 - 180;
}
double latAt(double worldPixel, double world) {
    return std::atan(std::sinh(M_PI * (1 - 2 * worldPixel / world))) * 180 / M_PI;
}

} // namespace

std::optional<geo::TileId> servedTile(std::optional<geo::TileId> tile) {
    if (!tile || tile->level < geo::kMinLevel || tile->level > geo::kMaxLevel || tile->wrapped() != *tile)
        return std::nullopt;
    return tile;
}

std::optional<geo::TileId> tileOfColumnRow(int x, int y, int serviceZoom) {
    return servedTile(geo::TileId{17 - serviceZoom, x, y});
}

TileRenderer::TileRenderer(QImage earth) : earth_(earth.convertToFormat(QImage::Format_RGB32)) {}

QByteArray TileRenderer::tile(TileKind kind, const geo::TileId& a) {
    const quint64 key = (quint64(kind) << 60) | (quint64(a.level) << 52) | (quint64(a.x) << 26) | quint64(a.y);
    {
        std::lock_guard lock(mutex_);
        if (const auto it = index_.find(key); it != index_.end()) {
            lru_.splice(lru_.begin(), lru_, it->second);
            return it->second->second;
        }
    }
    QByteArray bytes = render(kind, a);
    std::lock_guard lock(mutex_);
    if (!index_.count(key)) {
        lru_.emplace_front(key, bytes);
        index_[key] = lru_.begin();
        if (lru_.size() > kCachedTiles) {
            index_.erase(lru_.back().first);
            lru_.pop_back();
        }
    }
    return bytes;
}

QByteArray TileRenderer::render(TileKind kind, const geo::TileId& a) const {
    switch (kind) {
    case TileKind::Satellite:
        return encode(satellite(a), "JPEG", 85);
    case TileKind::Map:
        return encode(map(a), "PNG", -1);
    case TileKind::Hybrid:
        return encode(overlay(a, true), "PNG", -1);
    case TileKind::SatelliteWithLabels: {
        QImage image = satellite(a);
        QPainter(&image).drawImage(0, 0, overlay(a, true));
        return encode(image, "JPEG", 85);
    }
    }
    return {};
}

// Bilinear samples of the Earth image along the Mercator rows and columns of the tile.
QImage TileRenderer::satellite(const geo::TileId& a) const {
    QImage out(kSize, kSize, QImage::Format_RGB32);
    const double world = kSize * std::ldexp(1.0, a.level);
    const int w = earth_.width();
    const int h = earth_.height();
    double us[kSize];
    for (int px = 0; px < kSize; ++px)
        us[px] = (lonAt(a.x * double(kSize) + px + 0.5, world) + 180) / 360 * w - 0.5;
    for (int py = 0; py < kSize; ++py) {
        const double v = std::clamp((90 - latAt(a.y * double(kSize) + py + 0.5, world)) / 180 * h - 0.5, 0.0, h - 1.0);
        const int v0 = static_cast<int>(v);
        const int v1 = std::min(v0 + 1, h - 1);
        const double fv = v - v0;
        const auto* row0 = reinterpret_cast<const QRgb*>(earth_.constScanLine(v0));
        const auto* row1 = reinterpret_cast<const QRgb*>(earth_.constScanLine(v1));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(py));
        for (int px = 0; px < kSize; ++px) {
            const double u = std::clamp(us[px], 0.0, w - 1.0);
            const int u0 = static_cast<int>(u);
            const int u1 = (u0 + 1) % w;
            const double fu = u - u0;
            auto mix = [&](int shift) {
                auto c = [shift](QRgb p) { return static_cast<double>((p >> shift) & 0xFF); };
                const double top = c(row0[u0]) * (1 - fu) + c(row0[u1]) * fu;
                const double bottom = c(row1[u0]) * (1 - fu) + c(row1[u1]) * fu;
                return static_cast<int>(top * (1 - fv) + bottom * fv + 0.5);
            };
            // A fine grain, fixed to the world pixel so that neighbouring tiles join: deep levels are
            // enlarged from a small picture and would otherwise be flat.
            const quint32 g = (static_cast<quint32>(a.x * kSize + px) * 73856093u) ^
                              (static_cast<quint32>(a.y * kSize + py) * 19349663u);
            const int grain = static_cast<int>((g >> 7) % 9) - 4;
            auto channel = [grain](int v) { return std::clamp(v + grain, 0, 255); };
            dst[px] = qRgb(channel(mix(16)), channel(mix(8)), channel(mix(0)));
        }
    }
    return out;
}

// Water where the Earth image is blue, land elsewhere, with the graticule and the tile's address.
QImage TileRenderer::map(const geo::TileId& a) const {
    QImage image = satellite(a);
    for (int py = 0; py < kSize; ++py) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < kSize; ++px) {
            const QRgb c = line[px];
            const bool water = qBlue(c) > qRed(c) + 12 && qBlue(c) > qGreen(c);
            line[px] = water ? qRgb(170, 211, 223) : qRgb(242, 239, 233);
        }
    }
    QPainter painter(&image);
    painter.drawImage(0, 0, overlay(a, false));
    painter.setPen(QColor(90, 90, 90));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter,
                     QStringLiteral("z%1 x%2 y%3").arg(a.level).arg(a.x).arg(a.y));
    return image;
}

// Graticule lines with their degrees; on a transparent ground for the hybrid overlay.
QImage TileRenderer::overlay(const geo::TileId& a, bool transparent) const {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor line = transparent ? QColor(255, 214, 0, 220) : QColor(120, 120, 160, 160);
    const double world = kSize * std::ldexp(1.0, a.level);
    const double step = graticuleStep(a.level);
    const double west = lonAt(a.x * double(kSize), world);
    const double east = lonAt((a.x + 1) * double(kSize), world);
    const double north = latAt(a.y * double(kSize), world);
    const double south = latAt((a.y + 1) * double(kSize), world);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QPen(line, transparent ? 1.5 : 1));
    for (double lon = std::ceil(west / step) * step; lon < east; lon += step) {
        const double px = ((lon + 180) / 360 * world) - a.x * double(kSize);
        painter.drawLine(QPointF(px, 0), QPointF(px, kSize));
        painter.drawText(QPointF(px + 3, kSize - 4), QString::number(lon, 'g', 8) + QStringLiteral("°"));
    }
    for (double lat = std::ceil(south / step) * step; lat < north; lat += step) {
        const double merc = std::log(std::tan(M_PI / 4 + lat * M_PI / 360));
        const double py = (1 - merc / M_PI) / 2 * world - a.y * double(kSize);
        painter.drawLine(QPointF(0, py), QPointF(kSize, py));
        painter.drawText(QPointF(3, py - 3), QString::number(lat, 'g', 8) + QStringLiteral("°"));
    }
    return image;
}

} // namespace zelvano::tileserver
