// The decimal texts of the console: integers and one-decimal figures.
#pragma once

#include <cstdint>
#include <string>

#include "numeric/extended80.h"

namespace quennix {

// Decimal digits with "-" for a negative value; no plus sign, padding or
// grouping: 0 -> "0", 2000 -> "2000", -2147483648 -> "-2147483648".
std::string integerText(std::int32_t value);

// The "%.1f" text of an Extended80, in two roundings: first the exact value
// to 18 significant digits (nearest, ties to even), then that digit string
// to one decimal, half away from zero. `decimalSeparator` 0 writes nothing.
//   44100/1000 -> "44.1"      22050/1000 -> "22.1" (18 digits 2205000...)
//   0.25 -> "0.3"             -0.04 -> "0.0"      -0.05 -> "-0.1"
//   99.96 -> "100.0"          10^17 -> "100000000000000000.0"
//   10^18 -> "1E18"           1.5e21 -> "1.5E21"
//   zero of either sign and every denormal -> "0.0"
//   infinity -> "INF" / "-INF"; a NaN or refused pattern, any sign -> "NAN"
std::string oneDecimalText(const Extended80& value, char decimalSeparator);

}  // namespace quennix
