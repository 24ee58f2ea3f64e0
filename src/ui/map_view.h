// PaintBox1: the map on the screen. Paints the back buffer (shifted while the user drags a pan) and the
// selection outline and the measured path, and reports the mouse and its size changes as signals (the
// window takes the wheel). UI thread.
#pragma once

#include "view/back_buffer.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace zelvano {

class MapView : public QWidget {
    Q_OBJECT
public:
    MapView(std::shared_ptr<BackBuffer> buffer, QWidget* parent);

    // The picture shifted by (dx, dy) while a pan drag runs; (0, 0) otherwise.
    void setPanOffset(QPoint offset);
    // The rectangle outline drawn inverted over the picture; empty for none. `phase` moves its dashes.
    void setOutline(const QRect& outline, int phase);
    // The measured path: half-opaque red lines 2 pixels wide over the picture, in back-buffer pixels.
    void setPath(std::vector<QLine> lines);

signals:
    void pressed(Qt::MouseButton button, QPoint at);
    void moved(QPoint at);
    void released(Qt::MouseButton button, QPoint at);
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::shared_ptr<BackBuffer> buffer_;
    QPoint panOffset_;
    QRect outline_;
    int phase_ = 0;
    std::vector<QLine> path_;
};

} // namespace zelvano
