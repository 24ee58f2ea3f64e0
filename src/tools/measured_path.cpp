#include "tools/measured_path.h"

#include "geo/tile_math.h"
#include "tools/distance.h"

namespace zelvano {

void MeasuredPath::add(geo::Position centre, int level, QSize buffer, QPoint pixel) {
    MeasuredPoint p;
    p.level = level;
    p.offset = {pixel.x() - buffer.width() / 2, pixel.y() - buffer.height() / 2};
    p.position = centre;
    geo::ShiftPosition(p.offset.x(), p.offset.y(), level, p.position);
    points_.insert(points_.begin(), p);
}

void MeasuredPath::renewOffsets(geo::Position centre, int level) {
    for (MeasuredPoint& p : points_) {
        const geo::PixelOffsetResult o = geo::PixelOffset(level, centre, p.position);
        p.offset = {o.ox, o.oy};
        p.level = level;
    }
}

double MeasuredPath::kilometres() const {
    std::vector<geo::Position> oldestFirst;
    for (auto it = points_.rbegin(); it != points_.rend(); ++it)
        oldestFirst.push_back(it->position);
    return pathKilometres(oldestFirst);
}

QString MeasuredPath::readOut() const {
    return points_.empty() ? QString::fromUtf16(kNoDistance) : distanceText(kilometres());
}

std::vector<QLine> MeasuredPath::lines(QSize buffer, int level) const {
    std::vector<QLine> lines;
    if (points_.empty() || points_.front().level != level) return lines;
    const QPoint centre(buffer.width() / 2, buffer.height() / 2);
    for (std::size_t i = 0; i + 1 < points_.size(); ++i)
        lines.emplace_back(centre + points_[i].offset, centre + points_[i + 1].offset);
    return lines;
}

} // namespace zelvano
