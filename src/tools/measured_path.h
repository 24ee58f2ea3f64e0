// The measuring tool's path: the points the user clicked, newest first, each with its screen offset from
// the view centre at the level it was last placed for; their total along the WGS 84 ellipsoid and the
// read-out of it. Every drawing pass renews the offsets, so the path follows pans and zooms. UI thread.
#pragma once

#include "geo/position.h"

#include <QLine>
#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

namespace zelvano {

struct MeasuredPoint {
    geo::Position position;
    int level = 0; // the level the offset belongs to
    QPoint offset; // from the view centre, pixels (x east, y south)
};

inline constexpr char16_t kNoDistance[] = u"----";

class MeasuredPath {
public:
    // A left click at a view pixel of a view centred on `centre` at `level`, whose back buffer has `buffer`.
    void add(geo::Position centre, int level, QSize buffer, QPoint pixel);
    void clear() { points_.clear(); }
    // The offsets of every point from a new centre and level.
    void renewOffsets(geo::Position centre, int level);

    bool empty() const { return points_.empty(); }
    const std::vector<MeasuredPoint>& points() const { return points_; }
    // The sum of the legs from each point to the next one clicked, in kilometres.
    double kilometres() const;
    // Status panel 2: the total, or "----" with no point.
    QString readOut() const;
    // The lines to draw over a view of the buffer's size at `level`; none while the offsets belong to
    // another level (from a change of level to the end of the next drawing pass).
    std::vector<QLine> lines(QSize buffer, int level) const;

private:
    std::vector<MeasuredPoint> points_; // newest first
};

} // namespace zelvano
