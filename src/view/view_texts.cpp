#include "view/view_texts.h"

#include "base/number_text.h"
#include "geo/tile_math.h"

namespace zelvano {

namespace {

QString sizeText(const SelectionSize& s) {
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

} // namespace

SelectionSize selectionSize(int zoom, double topLat, double leftLonW, double bottomLat, double rightLonW) {
    const geo::PixelOffsetResult o = geo::PixelOffset(zoom, rightLonW, bottomLat, leftLonW, topLat);
    return {o.ox, o.oy};
}

QString selectionLabel(const LanguageTable& t, const SelectionSize& s) {
    return t.languageText(45) + u' ' + sizeText(s) + u' ' + t.languageText(46);
}

QString selectionPanel(const LanguageTable& t, const SelectionSize& s) {
    return t.languageText(42) + u' ' + sizeText(s) + t.languageText(43) + u' ' + formatGeneral(s.megabytes(), 7) +
           t.languageText(44) + formatGeneral(s.download(), 7) + QStringLiteral("mb");
}

QString selectionReleasePanel(const LanguageTable& t, const SelectionSize& s) {
    return t.languageText(42) + u' ' + sizeText(s) + t.languageText(43) + u' ' + formatFixed(s.megabytes(), 3) +
           t.languageText(44) + u' ' + formatGeneral(s.download(), 7) + QStringLiteral("mb");
}

} // namespace zelvano
