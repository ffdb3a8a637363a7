#pragma once

#include <QString>

// Number texts in the printf notations the documents and copies use. Every one rounds the exact binary value
// half away from zero ("%4.1f" of 72.25 gives "72.3", of 72.45f gives "72.4": that single is 72.4499969...).
namespace tavro::numbertext {

// "%W.Df": the value with D decimals, right-justified to W characters.
QString fixed(double value, int decimals, int width = 0);
// "%.PG" (uppercase) or "%.Pg": P significant digits, trailing zeros dropped, exponent form outside
// 1e-4..1e+P.
QString general(double value, int significant, bool upper = true);
// A printf conversion of one double: "%W.Df", "%f", "%.PG", "%.Pg" with an optional width, nothing else.
QString format(const char *conversion, double value);

} // namespace tavro::numbertext
