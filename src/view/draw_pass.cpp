#include "view/draw_pass.h"

#include "geo/tile_math.h"

#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace zelvano {

std::vector<QPoint> spiralRing(int k) {
    if (k == 0) return {QPoint(0, 0)};
    std::vector<QPoint> ring;
    ring.reserve(8 * k);
    for (int i = -k + 1; i <= k - 1; ++i)
        ring.emplace_back(i, -k); // top, west to east
    for (int j = -k; j <= k - 1; ++j)
        ring.emplace_back(k, j); // right, north to south
    for (int i = k; i >= -k + 1; --i)
        ring.emplace_back(i, k); // bottom, east to west
    for (int j = k; j >= -k; --j)
        ring.emplace_back(-k, j); // left, south to north
    return ring;
}

DrawPassResult DrawView(const DrawPassInput& in, const FetchContext& context, BackBuffer& buffer) {
    DrawPassResult result;
    const int width = in.size.width();
    const int height = in.size.height();
    const int zoom = std::clamp(in.centre.zoom, geo::kMinLevel, geo::kMaxLevel);
    const geo::RequestTemplates& templates = context.settings->templates;
    const Clock& clock = *in.clock;
    // The centre tile is the one the pixel column and row are measured in; the others are offsets from it.
    const geo::TileLocation centreTile = geo::LocateTile(zoom, in.centre.position);
    const geo::TileId centreId = centreTile.tile();
    const bool internetOnly = in.options.workMode == WorkMode::InternetOnly;
    const int cx = width / 2 - centreTile.pixelColumn;
    const int cy = height / 2 - centreTile.pixelRow;

    // Edge test: when both corners of the view lie inside the world, no tile needs testing.
    auto insideFromCentre = [&](int dx, int dy) {
        geo::Position p = in.centre.position;
        return geo::ShiftPosition(dx, dy, zoom, p);
    };
    result.crossesWorldEdge = !(insideFromCentre(-width / 2, -height / 2) && insideFromCentre(width / 2, height / 2));

    const QRect view(0, 0, width, height);
    for (int k = 0;; ++k) {
        bool ringHadTile = false;
        for (const QPoint offset : spiralRing(k)) {
            const int left = cx + 256 * offset.x();
            const int top = cy + 256 * offset.y();
            if (!QRect(left, top, 256, 256).intersects(view)) continue;
            if (result.crossesWorldEdge && !insideFromCentre(left + 128 - width / 2, top + 128 - height / 2)) continue;
            ringHadTile = true;
            ++result.visited;

            const Clock::TimePoint started = clock.now();
            jtype r = makeTileRecord({zoom, centreId.x + offset.x(), centreId.y + offset.y()}, templates,
                                     context.settings->layout);
            FetchTile(r, in.options, context);
            if (r.satPending || r.overlayPending || internetOnly) {
                jtype queued = r;
                queued.bitmap = QImage();
                queued.x = left;
                queued.y = top;
                result.queue.push_back(std::move(queued));
            }
            if (!r.bitmap.isNull()) {
                auto guard = buffer.lock(); // a loader holds it for one tile at most
                QPainter painter(&buffer.image());
                painter.drawImage(QRect(left, top, 256, 256), r.bitmap);
            }
            if (clock.now() - started > kSlowTile && in.showProgress) in.showProgress();
        }
        if (!ringHadTile) break;
    }

    if (result.crossesWorldEdge) {
        {
            auto guard = buffer.lock();
            // The world's edges from the centre tile as drawn.
            const double worldSide = 256 * std::ldexp(1.0, zoom);
            const double worldLeft = cx - 256.0 * centreId.x;
            const double worldTop = cy - 256.0 * centreId.y;
            const double worldRight = worldLeft + worldSide;
            const double worldBottom = worldTop + worldSide;
            QPainter painter(&buffer.image());
            const QRectF strips[] = {{0, 0, double(width), worldTop},
                                     {0, worldBottom, double(width), height - worldBottom},
                                     {0, 0, worldLeft, double(height)},
                                     {worldRight, 0, width - worldRight, double(height)}};
            for (const QRectF& strip : strips)
                if (strip.width() > 0 && strip.height() > 0)
                    painter.fillRect(strip.intersected(QRectF(view)), in.buttonFace);
        }
    }
    return result;
}

} // namespace zelvano
