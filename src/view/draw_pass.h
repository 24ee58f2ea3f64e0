// The view's drawing pass: composes the tiles that cover the view into the back buffer from the cache
// only, visiting them from the centre tile outward in rings, and collects every tile that still needs
// the network for the view loader. Runs on the UI thread.
#pragma once

#include "tiles/tile_fetcher.h"
#include "view/back_buffer.h"

#include <QColor>
#include <QPoint>
#include <QSize>

#include <functional>
#include <vector>

namespace zelvano {

// The tile offsets of ring k around the centre tile, in visiting order: ring 0 is the centre; ring k runs
// along its top side west to east, its right side north to south, its bottom side east to west and its
// left side south to north. Each offset is one step from the one before it.
std::vector<QPoint> spiralRing(int k);

struct ViewCentre {
    double lonW = 0; // west positive
    double lat = 0;
    int zoom = 1;
};

struct DrawPassInput {
    ViewCentre centre;
    QSize size;                         // the paint box
    FetchOptions options;               // drawing-pass mode: the layers, the service, cacheOnly
    bool internetOnly = false;          // the work mode: every visited tile goes to the loader
    QColor buttonFace;                  // beyond the world's edges
    std::function<void()> showProgress; // a tile took long: repaint what there is
};

struct DrawPassResult {
    std::vector<jtype> queue; // in visiting order; x, y are the tiles' places in the back buffer
    bool crossesWorldEdge = false;
    int visited = 0;
};

DrawPassResult DrawView(const DrawPassInput& input, const FetchContext& context, BackBuffer& buffer);

} // namespace zelvano
