// Exact rounding of an Extended80 magnitude to 18 significant decimal digits.
//
// For a finite nonzero value v, gives the digits d1..d18 (d1 not 0) and the
// decimal exponent E with |v| = 0.d1d2...d18 * 10^E after rounding the exact
// binary value to nearest, ties to even (a tie needs the exact value, so
// nothing here is scaled in floating point). A magnitude that rounds up to a
// power of ten gives 1 followed by zeros and the larger E.
//   22050 / 1000 as Extended80 (22.04999999999999999930...) -> 220500000000000000, E = 2
//   0.25                                                    -> 250000000000000000, E = 0
//   2^64 = 18446744073709551616                             -> 184467440737095516, E = 20
//   10^18 + 50 (tie, 18th digit 0 is even)                 -> 100000000000000000, E = 19
#pragma once

#include <array>
#include <span>

#include "numeric/extended80.h"

namespace quennix {

constexpr int kSignificantDigits = 18;

struct DecimalDigits {
  std::array<char, kSignificantDigits> digits{};  // ASCII '0'..'9'
  int exponent = 0;
};

// Precondition: value is normal or denormal (finite and not zero).
DecimalDigits roundToSignificantDigits(const Extended80& value);

// Adds one in the last place of ASCII decimal digits, the carry running
// through nines. When every digit is 9 (or there is none) they become 1
// followed by zeros and the result is true: the number has grown by a power
// of ten. "129" -> "130", "999" -> "100" (true).
bool addOneInLastPlace(std::span<char> digits);

}  // namespace quennix
