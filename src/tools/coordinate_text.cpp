#include "tools/coordinate_text.h"

#include "base/number_text.h"

#include <cmath>

namespace zelvano {

namespace {

QString degreesText(QChar hemisphere, double value) {
    const double whole = std::trunc(value);
    return hemisphere + QString::number(static_cast<long long>(whole)) + QStringLiteral("° ") +
           formatFixed((value - whole) * 60, 3) + u'\'';
}

} // namespace

QString latitudeText(double lat) {
    return lat >= 0 ? degreesText(u'N', lat) : degreesText(u'S', -lat);
}

QString longitudeText(double lonW) {
    return lonW >= 0 ? degreesText(u'W', lonW) : degreesText(u'E', -lonW);
}

} // namespace zelvano
