#include "ui/drag_handle.h"

#include <QPainter>

namespace zelvano {

DragHandle::DragHandle(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DragHandle"));
    setAttribute(Qt::WA_TransparentForMouseEvents); // the dock widget drags
}

void DragHandle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool along = width() >= height(); // the grooves run along the longer side
    const QColor dark = palette().dark().color();
    const QColor light = palette().light().color();
    for (int k = 0; k < 2; ++k) {
        const int at = 2 + 3 * k;
        if (along) {
            p.setPen(dark);
            p.drawLine(2, at, width() - 3, at);
            p.setPen(light);
            p.drawLine(2, at + 1, width() - 3, at + 1);
        } else {
            p.setPen(dark);
            p.drawLine(at, 2, at, height() - 3);
            p.setPen(light);
            p.drawLine(at + 1, 2, at + 1, height() - 3);
        }
    }
}

} // namespace zelvano
