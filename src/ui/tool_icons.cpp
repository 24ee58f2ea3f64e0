#include "ui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zelvano {

namespace {

void drawDisk(QPainter& p, QRectF r) {
    p.setBrush(QColor(90, 110, 140));
    p.setPen(QPen(QColor(40, 50, 70), 1));
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(QColor(200, 210, 225));
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top() + 1, r.width() * 0.5, r.height() * 0.35));
}

void drawGlobe(QPainter& p, QRectF r) {
    p.setBrush(QColor(70, 140, 220));
    p.setPen(QPen(QColor(20, 60, 120), 1));
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(r.width() * 0.3, 0, -r.width() * 0.3, 0));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void drawPhoto(QPainter& p, QRectF r) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(40, 90, 40));
    g.setColorAt(1, QColor(120, 100, 60));
    p.setBrush(g);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(r);
}

void drawMap(QPainter& p, QRectF r) {
    p.setBrush(QColor(242, 239, 233));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(r);
    p.setPen(QPen(QColor(230, 150, 40), 2));
    p.drawLine(r.topLeft() + QPointF(2, r.height() * 0.7), r.topRight() + QPointF(-2, r.height() * 0.3));
}

} // namespace

QIcon toolIcon(int image) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF full(2, 2, 20, 20);
    switch (image) {
    case kImageCacheOnly:
        drawDisk(p, full.adjusted(2, 2, -2, -2));
        break;
    case kImageInternetOnly:
        drawGlobe(p, full.adjusted(1, 1, -1, -1));
        break;
    case kImageCacheAndInternet:
        drawDisk(p, QRectF(2, 9, 12, 13));
        drawGlobe(p, QRectF(10, 2, 12, 12));
        break;
    case kImageFetchMissing:
        p.setPen(QPen(QColor(20, 120, 40), 3));
        p.drawLine(QPointF(12, 3), QPointF(12, 17));
        p.drawLine(QPointF(6, 11), QPointF(12, 18));
        p.drawLine(QPointF(18, 11), QPointF(12, 18));
        break;
    case kImageSearch:
        p.setPen(QPen(Qt::black, 2));
        p.drawEllipse(QRectF(4, 4, 11, 11));
        p.drawLine(QPointF(14, 14), QPointF(20, 20));
        break;
    case kImageSelection:
        p.setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        p.drawRect(QRectF(4, 6, 16, 12));
        break;
    case kImageMeasure:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(250, 220, 90));
        p.drawRect(QRectF(2, 9, 20, 7));
        for (int x = 5; x < 21; x += 3)
            p.drawLine(QPointF(x, 9), QPointF(x, 12));
        break;
    case kImageSatellite:
        drawPhoto(p, full);
        break;
    case kImageMapAndSatellite:
        drawPhoto(p, full);
        p.setPen(QPen(QColor(255, 214, 0), 2));
        p.drawLine(QPointF(3, 16), QPointF(21, 8));
        break;
    case kImageMap:
        drawMap(p, full);
        break;
    default:
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(QColor(160, 160, 160));
        p.drawEllipse(QRectF(5, 5, 14, 14));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(9, 9, 6, 6));
        break;
    }
    return QIcon(pixmap);
}

QPixmap searchMarkerPicture() {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 40, 40), 2));
    p.drawEllipse(QRectF(3, 3, 14, 14));
    p.drawLine(QPointF(10, 0), QPointF(10, 6));
    p.drawLine(QPointF(10, 14), QPointF(10, 20));
    p.drawLine(QPointF(0, 10), QPointF(6, 10));
    p.drawLine(QPointF(14, 10), QPointF(20, 10));
    return pixmap;
}

QCursor measureCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 16);
    arrow.lineTo(4, 12);
    arrow.lineTo(8, 19);
    arrow.lineTo(10, 18);
    arrow.lineTo(6, 11);
    arrow.lineTo(11, 11);
    arrow.closeSubpath();
    p.setPen(Qt::white);
    p.setBrush(Qt::black);
    p.drawPath(arrow);
    p.setBrush(QColor(250, 220, 90));
    p.setPen(Qt::black);
    p.drawRect(8, 22, 22, 7);
    for (int x = 11; x < 30; x += 3)
        p.drawLine(x, 22, x, 25);
    return QCursor(pixmap, 0, 0);
}

} // namespace zelvano
