#include "common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace tavro::numbertext {

namespace {

// The exact decimal digits of a finite non-negative value: integer digits, then its fractional digits (at
// least one, none dropped). A double m·2^e has at most -e fractional digits, so the expansion is finite and
// exact.
struct Decimal {
    std::string digits; // integer part followed by the fraction
    int point = 0;      // number of integer digits
};

Decimal exactDigits(double magnitude) {
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    const int fractional = std::max(1, std::numeric_limits<double>::digits - exponent);
    std::string buffer(std::size_t(fractional) + 400, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, fractional);
    buffer.resize(std::size_t(result.ptr - buffer.data()));
    Decimal d;
    const std::size_t dot = buffer.find('.');
    d.point = int(dot);
    d.digits = buffer.substr(0, dot) + buffer.substr(dot + 1);
    return d;
}

// Keeps `keep` digits of d (counted from its first digit, at least zero), rounding the rest half away from
// zero. A carry past the first digit adds a digit in front.
void roundTo(Decimal &d, int keep) {
    if (keep < 0) {
        d.digits.insert(0, std::size_t(-keep), '0');
        d.point -= keep;
        keep = 0;
    }
    if (std::size_t(keep) >= d.digits.size()) {
        d.digits.append(std::size_t(keep) - d.digits.size(), '0');
        return;
    }
    const bool up = d.digits[std::size_t(keep)] >= '5';
    d.digits.resize(std::size_t(keep));
    if (!up)
        return;
    int i = keep - 1;
    for (; i >= 0 && d.digits[std::size_t(i)] == '9'; --i)
        d.digits[std::size_t(i)] = '0';
    if (i >= 0) {
        ++d.digits[std::size_t(i)];
    } else {
        d.digits.insert(0, 1, '1');
        ++d.point;
    }
}

QString special(double value, bool upper) {
    QString s = std::isnan(value) ? QStringLiteral("nan") : QStringLiteral("inf");
    if (std::signbit(value) && !std::isnan(value))
        s.prepend(u'-');
    return upper ? s.toUpper() : s;
}

QString sign(double value) {
    return std::signbit(value) ? QStringLiteral("-") : QString();
}

// Drops zeros at the end of a fraction, and the point when nothing is left after it.
QString trimFraction(QString s) {
    if (!s.contains(u'.'))
        return s;
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    return s;
}

} // namespace

QString fixed(double value, int decimals, int width) {
    if (!std::isfinite(value))
        return special(value, false).rightJustified(width, u' ');
    decimals = std::max(0, decimals);
    Decimal d = exactDigits(std::fabs(value));
    roundTo(d, d.point + decimals);
    QString text = sign(value) + QString::fromLatin1(d.digits.data(), d.point);
    if (decimals > 0)
        text += u'.' + QString::fromLatin1(d.digits.data() + d.point, decimals);
    return text.rightJustified(width, u' ');
}

QString general(double value, int significant, bool upper) {
    if (!std::isfinite(value))
        return special(value, upper);
    const int p = std::max(1, significant);
    if (value == 0)
        return sign(value) + u'0';
    Decimal d = exactDigits(std::fabs(value));
    // The first significant digit, and the decimal exponent of the value once rounded to p digits.
    const std::size_t first = d.digits.find_first_not_of('0');
    const int lead = int(first);
    roundTo(d, lead + p);
    const std::size_t nowFirst = d.digits.find_first_not_of('0');
    const int exponent = d.point - int(nowFirst) - 1;
    if (exponent >= -4 && exponent < p)
        return trimFraction(fixed(value, p - 1 - exponent));
    QString mantissa = QString::fromLatin1(d.digits.data() + nowFirst, 1);
    if (p > 1)
        mantissa += u'.' + QString::fromLatin1(d.digits.data() + nowFirst + 1, p - 1);
    const int e = std::abs(exponent);
    return sign(value) + trimFraction(mantissa) + (upper ? u'E' : u'e') + (exponent < 0 ? u'-' : u'+') +
           (e < 10 ? QStringLiteral("0") : QString()) + QString::number(e);
}

QString format(const char *conversion, double value) {
    // %[width][.precision](f|F|g|G)
    const char *p = conversion;
    if (*p == '%')
        ++p;
    int width = 0;
    while (*p >= '0' && *p <= '9')
        width = width * 10 + (*p++ - '0');
    int precision = -1;
    if (*p == '.') {
        ++p;
        precision = 0;
        while (*p >= '0' && *p <= '9')
            precision = precision * 10 + (*p++ - '0');
    }
    switch (*p) {
    case 'g':
    case 'G':
        return general(value, precision < 0 ? 6 : (precision == 0 ? 1 : precision), *p == 'G')
            .rightJustified(width, u' ');
    default:
        return fixed(value, precision < 0 ? 6 : precision, width);
    }
}

} // namespace tavro::numbertext
