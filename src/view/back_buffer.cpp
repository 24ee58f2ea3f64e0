#include "view/back_buffer.h"

#include <QPainter>

namespace zelvano {

void BackBuffer::resize(QSize size) {
    size = size.expandedTo(QSize(1, 1));
    auto guard = lock();
    if (image_.size() == size) return;
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(Qt::black);
    if (!image_.isNull()) QPainter(&resized).drawImage(0, 0, image_);
    image_ = std::move(resized);
}

void BackBuffer::cropCentred(QSize size) {
    size = size.expandedTo(QSize(1, 1));
    auto guard = lock();
    image_ = image_.copy((image_.width() - size.width()) / 2, (image_.height() - size.height()) / 2, size.width(),
                         size.height());
}

QSize BackBuffer::size() {
    auto guard = lock();
    return image_.size();
}

} // namespace zelvano
