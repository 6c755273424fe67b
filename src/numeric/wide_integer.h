// Unsigned 128-bit integers from two 64-bit halves, with the few operations
// the 80-bit arithmetic needs, in standard C++ on every compiler.
//
//   multiply64x64(2^63, 6)            = 3 * 2^64            {high 3, low 0}
//   shiftedQuotient(3, 2^63, 64)      = floor(3 * 2^64 / 2^63) = 6, exact
//   shiftedQuotient(1, 3 * 2^62, 2)   = floor(4 / (3 * 2^62)) = 0, inexact
#pragma once

#include <cstdint>

namespace quennix {

struct Uint128 {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  friend bool operator==(const Uint128&, const Uint128&) = default;
};

// The full product of two 64-bit values.
Uint128 multiply64x64(std::uint64_t a, std::uint64_t b);

int bitLength(const Uint128& value);                  // 0 for zero, 128 when the top bit is set
bool bitAt(const Uint128& value, int index);          // false for an index of 128 or more
bool anyBitBelow(const Uint128& value, int index);    // a set bit at 0 .. index - 1
Uint128 shiftLeft(const Uint128& value, int count);   // precondition: 0 <= count < 128
Uint128 shiftRight(const Uint128& value, int count);  // precondition: count >= 0; 0 from 128 on
Uint128 addOne(const Uint128& value);                 // wraps modulo 2^128

// floor(dividend * 2^shift / divisor) and whether a remainder is left, by
// long division. Preconditions: the divisor's top bit is set (so that the
// quotient has at most shift + 1 bits) and 0 <= shift <= 127.
struct ShiftedQuotient {
  Uint128 quotient;
  bool inexact = false;
};
ShiftedQuotient shiftedQuotient(std::uint64_t dividend, std::uint64_t divisor, int shift);

}  // namespace quennix
