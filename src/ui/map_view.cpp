#include "ui/map_view.h"

#include "ui/main_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace zelvano {

MapView::MapView(MainWindow& window, std::shared_ptr<BackBuffer> buffer, QWidget* parent)
    : QWidget(parent), window_(window), buffer_(std::move(buffer)) {
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

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    {
        auto guard = buffer_->lock();
        const QImage& picture = buffer_->image();
        const QPoint at((width() - picture.width()) / 2 + panOffset_.x(),
                        (height() - picture.height()) / 2 + panOffset_.y());
        painter.drawImage(at, picture);
        // The strips the shifted picture leaves uncovered.
        QRegion uncovered(rect());
        uncovered -= QRect(at, picture.size());
        for (const QRect& r : uncovered)
            painter.fillRect(r, palette().button());
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
    window_.PaintBox1MouseDown(event->button(), event->position().toPoint());
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    window_.PaintBox1MouseMove(event->position().toPoint());
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    window_.PaintBox1MouseUp(event->button(), event->position().toPoint());
}

void MapView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) window_.FormMouseWheel(delta < 0); // turned toward the user: zoom in
    event->accept();
}

void MapView::resizeEvent(QResizeEvent*) {
    window_.Panel1Resize();
}

} // namespace zelvano
