#include "ui/map_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace zelvano {

MapView::MapView(std::shared_ptr<BackBuffer> buffer, QWidget* parent) : QWidget(parent), buffer_(std::move(buffer)) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers everything: no erase, no flicker
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(1, 1);
}

void MapView::setPanOffset(QPoint offset) {
    panOffset_ = offset;
    update();
}

void MapView::setOutline(const QRect& outline, int phase) {
    if (outline == outline_ && phase == phase_) return;
    const QRect old = outline_;
    outline_ = outline;
    phase_ = phase;
    update(old.adjusted(-1, -1, 2, 2));
    update(outline.adjusted(-1, -1, 2, 2));
}

void MapView::setPath(std::vector<QLine> lines) {
    path_ = std::move(lines);
    update();
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPoint at;
    {
        auto guard = buffer_->lock();
        const QImage& picture = buffer_->image();
        at = QPoint((width() - picture.width()) / 2 + panOffset_.x(),
                    (height() - picture.height()) / 2 + panOffset_.y());
        painter.drawImage(at, picture);
        // The strips the shifted picture leaves uncovered.
        QRegion uncovered(rect());
        uncovered -= QRect(at, picture.size());
        for (const QRect& r : uncovered)
            painter.fillRect(r, palette().button());
    }
    if (!path_.empty() && panOffset_.isNull()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(at);
        painter.setPen(QPen(QColor(255, 0, 0, 128), 2.0));
        painter.drawLines(path_.data(), static_cast<int>(path_.size()));
        painter.restore();
    }
    if (!outline_.isNull() && panOffset_.isNull()) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QPen pen(Qt::white, 1, Qt::DotLine);
        pen.setDashOffset(phase_);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline_.normalized());
    }
}

void MapView::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->position().toPoint());
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->position().toPoint());
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button(), event->position().toPoint());
}

void MapView::resizeEvent(QResizeEvent*) {
    emit resized();
}

} // namespace zelvano
