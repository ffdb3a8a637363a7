#include "common/Rounding.h"

#include <cmath>
#include <limits>

namespace tavro::rounding {

namespace {

// An integral double as int64, NaN as 0 and values beyond the range clamped to it.
std::int64_t toInt64(double integral) {
    if (std::isnan(integral))
        return 0;
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (integral >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (integral < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(integral);
}

} // namespace

std::int64_t addHalfTruncate(double x) {
    return toInt64(std::trunc(x + 0.5));
}

std::int64_t halfEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below; // exact for every finite double
    if (fraction > 0.5)
        return toInt64(below + 1.0);
    if (fraction < 0.5)
        return toInt64(below);
    return toInt64(std::fmod(below, 2.0) == 0.0 ? below : below + 1.0);
}

std::int64_t halfAwayFromZero(double x) {
    return toInt64(std::round(x));
}

std::int64_t ceiling(double x) {
    return toInt64(std::ceil(x));
}

} // namespace tavro::rounding
