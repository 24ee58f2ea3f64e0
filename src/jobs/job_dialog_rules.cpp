#include "jobs/job_dialog_rules.h"

#include "base/number_text.h"
#include "geo/tile_math.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zelvano {

QString dialogCornerText(double value, QChar positive, QChar negative) {
    const double v = std::abs(value);
    const int degrees = static_cast<int>(std::trunc(v));
    return (value >= 0 ? positive : negative) + QString::number(degrees) + u'°' + formatFixed((v - degrees) * 60, 3) +
           u'\'';
}

SelectionCorners orderedCorners(int level, geo::Position first, geo::Position second) {
    const geo::PixelOffsetResult o = geo::PixelOffset(level, second, first);
    if (o.ox > 0) std::swap(first.lonW, second.lonW);
    if (o.oy > 0) std::swap(first.lat, second.lat);
    first.lat = std::clamp(first.lat, -geo::kLatitudeLimit, geo::kLatitudeLimit);
    second.lat = std::clamp(second.lat, -geo::kLatitudeLimit, geo::kLatitudeLimit);
    return {first, second};
}

int pieceEditValue(const QString& text) {
    return parseInt32(text).value_or(-1);
}

bool pieceSizeAccepted(int value, int dimension) {
    return value >= 256 && value < dimension;
}

PieceSizes checkedPieceSizes(int widthValue, int heightValue, int selectionWidth, int selectionHeight) {
    PieceSizes p{widthValue, heightValue, true};
    if (!pieceSizeAccepted(p.width, selectionWidth)) p.width = selectionWidth / 2;
    if (!pieceSizeAccepted(p.height, selectionHeight)) p.height = selectionHeight / 2;
    p.checked = selectionWidth > 256 && selectionHeight > 256;
    return p;
}

LayerButton layerButtonFor(bool satellite, bool map) {
    if (satellite && !map) return LayerButton::Satellite;
    if (map && !satellite) return LayerButton::Map;
    return LayerButton::Both;
}

void setLayersFrom(LayerButton button, Settings& s) {
    s.jobSatellite = button != LayerButton::Map;
    s.jobMap = button != LayerButton::Satellite;
}

} // namespace zelvano
