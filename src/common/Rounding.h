#pragma once

#include <cstdint>

// The rounding helpers of the calculations. Each caller picks the one its rule names.
namespace tavro::rounding {

// Adds 0.5 and truncates toward zero (-2.7 gives -2).
std::int64_t addHalfTruncate(double x);
// Round to nearest, an exact half to the even neighbour (2.5 gives 2, 3.5 gives 4).
std::int64_t halfEven(double x);
// Round to nearest, an exact half away from zero (2.5 gives 3, -2.5 gives -3).
std::int64_t halfAwayFromZero(double x);
// The smallest integer not below x.
std::int64_t ceiling(double x);

} // namespace tavro::rounding
