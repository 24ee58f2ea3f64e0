// Decimal numbers as the program reads and writes them: the comma as decimal separator throughout, the
// point only where a file format asks for it, never the C or system locale. Pure functions; any thread.
#pragma once

#include <QString>

#include <optional>

namespace zelvano {

// Fixed notation with exactly `decimals` digits after the separator, rounded half away from zero
// ("0.000" is formatFixed(v, 3, ',')). A result that rounds to zero carries no minus sign.
QString formatFixed(double value, int decimals, QChar separator = u',');

// General notation with at most `precision` significant digits and no trailing zeros: fixed while the
// integer part has at most `precision` digits and the value is at least 0.00001, else d,dddE-n / dE15.
QString formatGeneral(double value, int precision, QChar separator = u',');

// A 32-bit signed decimal integer: leading blanks, an optional sign, digits and nothing else.
std::optional<int> parseInt32(QStringView text);

// A decimal number with the given separator: optional blanks around it, a sign, digits with at most one
// separator, and an optional exponent (E or e). The other separator makes the text malformed.
std::optional<double> parseDecimal(QStringView text, QChar separator = u',');

} // namespace zelvano
