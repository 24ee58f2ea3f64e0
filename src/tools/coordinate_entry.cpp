#include "tools/coordinate_entry.h"

#include "base/number_text.h"

#include <cmath>

namespace zelvano {

namespace {

using Hemisphere = CoordinateKey::Hemisphere;

Hemisphere hemisphereOf(QChar key, CoordinateAxis axis) {
    const char16_t c = key.unicode();
    if (axis == CoordinateAxis::Latitude) {
        if (c == u'n' || c == u'N' || c == u'т' || c == u'Т') return Hemisphere::North;
        if (c == u's' || c == u'S' || c == u'ы' || c == u'Ы') return Hemisphere::South;
    } else {
        if (c == u'e' || c == u'E' || c == u'у' || c == u'У') return Hemisphere::East;
        if (c == u'w' || c == u'W' || c == u'ц' || c == u'Ц') return Hemisphere::West;
    }
    return Hemisphere::None;
}

// 1-based position of the character, 0 when absent.
int positionOf(QStringView text, QChar c) {
    return static_cast<int>(text.indexOf(c)) + 1;
}

} // namespace

CoordinateKey filterCoordinateKey(QChar key, QStringView text, int caret, CoordinateAxis axis) {
    CoordinateKey result;
    const int deg = positionOf(text, QChar(kDegreeSign));
    const int comma = positionOf(text, u',');
    const int apos = positionOf(text, u'\'');
    result.hemisphere = hemisphereOf(key, axis);
    if (result.hemisphere != Hemisphere::None) return result;
    if (key >= u'0' && key <= u'9') {
        result.accepted = !(apos > 0 && caret >= apos);
        result.insert = key;
        return result;
    }
    if (key == u',' || key == u'.' || key == u' ') {
        const QChar mark = deg == 0     ? QChar(kDegreeSign)
                           : comma == 0 ? QChar(u',')
                           : apos == 0  ? QChar(u'\'')
                                        : QChar();
        if (mark.isNull() || caret == 0) return result;
        if (mark != QChar(kDegreeSign) && caret <= deg) return result;
        result.accepted = true;
        result.insert = mark;
        return result;
    }
    if (key == QChar(8)) {
        result.accepted = true;
        result.insert = key;
    }
    return result;
}

std::optional<CoordinateValue> parseCoordinate(QStringView text, CoordinateAxis axis) {
    int degrees = 0;
    double minutes = 0;
    const int length = static_cast<int>(text.size());
    const int deg = positionOf(text, QChar(kDegreeSign));
    if (length == 0) {
        // nothing: 0
    } else if (deg == 0) {
        degrees = parseInt32(text).value_or(-1);
    } else if (deg > 1) {
        degrees = parseInt32(text.first(deg - 1)).value_or(-1);
        if (deg < length) {
            const bool marked = text.contains(u'\'');
            const auto m = parseDecimal(text.sliced(deg, length - deg - (marked ? 1 : 0)), u',');
            if (!m) return std::nullopt;
            minutes = *m;
        }
    }
    const int limit = axis == CoordinateAxis::Latitude ? 90 : 180;
    CoordinateValue v;
    v.valid = degrees >= 0 && degrees < limit && minutes >= 0 && minutes < 60;
    v.value = degrees + minutes / 60;
    return v;
}

QString coordinateText(double value) {
    const double whole = std::trunc(value);
    return QString::number(static_cast<long long>(whole)) + QChar(kDegreeSign) + formatFixed((value - whole) * 60, 3) +
           u'\'';
}

} // namespace zelvano
