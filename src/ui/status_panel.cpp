#include "ui/status_panel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace zelvano {

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent) {
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() - 1.5);
    setFont(small);
    setFrameShape(QFrame::StyledPanel);
}

void StatusPanel::fitTexts(const QStringList& longest) {
    int width = 0;
    for (const QString& text : longest)
        width = std::max(width, fontMetrics().horizontalAdvance(text));
    setMinimumWidth(width + 2 * frameWidth() + 2 * margin() + 6);
}

QSize StatusPanel::minimumSizeHint() const {
    return {minimumWidth(), QLabel::minimumSizeHint().height()};
}

void StatusPanel::paintEvent(QPaintEvent* event) {
    const QRect room = contentsRect().adjusted(3, 0, -3, 0);
    if (fontMetrics().horizontalAdvance(text()) <= room.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(room, static_cast<int>(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}

bool StatusPanel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && fontMetrics().horizontalAdvance(text()) > contentsRect().width() - 6) {
        QToolTip::showText(mapToGlobal(QPoint(0, 0)), text(), this);
        return true;
    }
    return QLabel::event(event);
}

} // namespace zelvano
