#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace zelvano {

namespace {

// A value as decimal digits: value = 0.d1d2d3… × 10^pointPos. Taken 18 significant digits deep and then
// rounded half up on the digit string, which is how the program has always rounded its numbers.
struct DecimalDigits {
    bool negative = false;
    std::string digits; // no leading zeros; empty for zero
    int pointPos = 0;
};

DecimalDigits toDigits(double value) {
    DecimalDigits d;
    d.negative = std::signbit(value);
    if (value == 0) return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17e", std::fabs(value)); // d.ddddddddddddddddde±XX
    const std::string text(buf);
    const auto e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.pointPos = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Keeps `count` leading digits, rounding half up; a carry out of the first digit moves the point.
void roundTo(DecimalDigits& d, int count) {
    if (count < 0) {
        d.digits.clear();
        return;
    }
    if (static_cast<int>(d.digits.size()) <= count) return;
    const bool up = d.digits[count] >= '5';
    d.digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

QString nonFinite(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
}

} // namespace

QString formatFixed(double value, int decimals, QChar separator) {
    if (!std::isfinite(value)) return nonFinite(value);
    DecimalDigits d = toDigits(value);
    roundTo(d, d.pointPos + decimals);
    QString out;
    if (d.negative && !d.digits.empty()) out += u'-';
    auto digitAt = [&](int i) { return i >= 0 && i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0'; };
    if (d.pointPos <= 0 || d.digits.empty()) {
        out += u'0';
    } else {
        for (int i = 0; i < d.pointPos; ++i)
            out += QLatin1Char(digitAt(i));
    }
    if (decimals > 0) {
        out += separator;
        const int first = d.digits.empty() ? 0 : d.pointPos;
        for (int i = 0; i < decimals; ++i)
            out += QLatin1Char(d.digits.empty() ? '0' : digitAt(first + i));
    }
    return out;
}

QString formatGeneral(double value, int precision, QChar separator) {
    if (!std::isfinite(value)) return nonFinite(value);
    DecimalDigits d = toDigits(value);
    roundTo(d, precision);
    if (d.digits.empty()) return QStringLiteral("0");
    QString out;
    if (d.negative) out += u'-';
    const int n = static_cast<int>(d.digits.size());
    if (d.pointPos <= precision && d.pointPos >= -4) {
        if (d.pointPos <= 0) {
            out += u'0';
            out += separator;
            out += QString(-d.pointPos, u'0');
            out += QLatin1String(d.digits.data(), n);
        } else {
            for (int i = 0; i < d.pointPos; ++i)
                out += QLatin1Char(i < n ? d.digits[i] : '0');
            if (n > d.pointPos) {
                out += separator;
                out += QLatin1String(d.digits.data() + d.pointPos, n - d.pointPos);
            }
        }
        return out;
    }
    out += QLatin1Char(d.digits[0]);
    if (n > 1) {
        out += separator;
        out += QLatin1String(d.digits.data() + 1, n - 1);
    }
    out += u'E';
    out += QString::number(d.pointPos - 1);
    return out;
}

std::optional<int> parseInt32(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<double> parseDecimal(QStringView text, QChar separator) {
    const QStringView t = text.trimmed();
    std::string ascii;
    qsizetype i = 0;
    auto digitsHere = [&] {
        int count = 0;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            ascii += static_cast<char>(t[i++].unicode());
            ++count;
        }
        return count;
    };
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
    int mantissaDigits = digitsHere();
    if (i < t.size() && t[i] == separator) {
        ++i;
        ascii += '.';
        mantissaDigits += digitsHere();
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == u'E' || t[i] == u'e')) {
        ++i;
        ascii += 'e';
        if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) ascii += static_cast<char>(t[i++].unicode());
        if (digitsHere() == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
    return negative ? -value : value;
}

} // namespace zelvano
