// The view's drawing pass: composes the tiles that cover the view into the back buffer from the cache
// only, visiting them from the centre tile outward in rings, and collects every tile that still needs
// the network for the view loader. Runs on the UI thread.
#pragma once

#include "base/clock.h"
#include "tiles/tile_fetcher.h"
#include "view/back_buffer.h"
#include "view/view_geometry.h"

#include <QColor>
#include <QPoint>
#include <QSize>

#include <chrono>
#include <functional>
#include <vector>

namespace zelvano {

// A tile that took longer than this (2.15e-6 days) to fetch has the picture repainted, so that a slow
// disk or server still shows progress.
inline constexpr std::chrono::microseconds kSlowTile{185'760};

// The tile offsets of ring k around the centre tile, in visiting order: ring 0 is the centre; ring k runs
// along its top side west to east, its right side north to south, its bottom side east to west and its
// left side south to north. Each offset is one step from the one before it.
std::vector<QPoint> spiralRing(int k);

struct DrawPassInput {
    ViewCentre centre;
    QSize size;                         // the paint box
    FetchOptions options;               // the view's layers and work mode
    QColor buttonFace;                  // beyond the world's edges
    std::function<void()> showProgress; // a tile took long: repaint what there is
    const Clock* clock = &systemClock();
};

struct DrawPassResult {
    std::vector<jtype> queue; // in visiting order; x, y are the tiles' places in the back buffer
    bool crossesWorldEdge = false;
    int visited = 0;
};

DrawPassResult DrawView(const DrawPassInput& input, const FetchContext& context, BackBuffer& buffer);

} // namespace zelvano
