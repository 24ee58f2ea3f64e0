// Typing coordinates: the keystroke filter of a coordinate field (degrees, "°", minutes with a decimal
// comma, "'"), the parse of such a field into a value with its range check, and the text form a value is
// written in ("55°30,000'"). Shared by the search panel and the coordinate dialog. Pure functions; any
// thread.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

namespace zelvano {

enum class CoordinateAxis { Latitude, Longitude };

inline constexpr int kCoordinateTextLength = 14; // the fields take no more characters
inline constexpr char16_t kDegreeSign = u'°';

// What one typed character does to a coordinate field.
struct CoordinateKey {
    enum class Hemisphere { None, North, South, East, West };

    bool accepted = false;                    // the character goes into the field
    QChar insert;                             // what goes in: the key itself, or the mark a separator key stands for
    Hemisphere hemisphere = Hemisphere::None; // a hemisphere key: the box to set (the key itself is not inserted)
};

// `key` typed at `caret` (0-based) into `text`: hemisphere keys (Latin and Cyrillic: the same keys of a
// Russian layout) set the hemisphere and insert nothing; digits go in except after the minutes mark; ",",
// "." and space become the next mark the text lacks ("°", then ",", then "'"), never as the first
// character and, for "," and "'", not before the character after "°"; backspace is let through; anything
// else is refused.
CoordinateKey filterCoordinateKey(QChar key, QStringView text, int caret, CoordinateAxis axis);

struct CoordinateValue {
    double value = 0;   // degrees + minutes / 60, unsigned
    bool valid = false; // within 0 … 90 (latitude) or 0 … 180 (longitude), minutes below 60
};

// The value of a field's text. Degrees that are not a whole number count as -1 (an invalid value, still
// stored); minutes that are not a decimal number give nothing: the field cannot be read at all.
std::optional<CoordinateValue> parseCoordinate(QStringView text, CoordinateAxis axis);

// A non-negative value as a field's text: whole degrees, "°", minutes with three decimals, "'":
// 55.5 is "55°30,000'".
QString coordinateText(double value);

} // namespace zelvano
