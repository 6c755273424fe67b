#include "numeric/wide_integer.h"

#include <bit>
#include <cassert>

namespace quennix {

Uint128 multiply64x64(std::uint64_t a, std::uint64_t b) {
  constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;
  std::uint64_t aLow = a & kLow32, aHigh = a >> 32;
  std::uint64_t bLow = b & kLow32, bHigh = b >> 32;
  std::uint64_t lowLow = aLow * bLow;
  std::uint64_t lowHigh = aLow * bHigh;
  std::uint64_t highLow = aHigh * bLow;
  std::uint64_t highHigh = aHigh * bHigh;
  // The middle column: three terms below 2^32 each, so no overflow.
  std::uint64_t middle = (lowLow >> 32) + (lowHigh & kLow32) + (highLow & kLow32);
  return Uint128{highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32), (middle << 32) | (lowLow & kLow32)};
}

int bitLength(const Uint128& value) {
  if (value.high != 0) return 128 - std::countl_zero(value.high);
  return 64 - std::countl_zero(value.low);
}

bool bitAt(const Uint128& value, int index) {
  assert(index >= 0);
  if (index >= 128) return false;
  std::uint64_t half = index >= 64 ? value.high : value.low;
  return ((half >> (index % 64)) & 1u) != 0;
}

bool anyBitBelow(const Uint128& value, int index) {
  assert(index >= 0);
  if (index >= 128) return value.high != 0 || value.low != 0;
  if (index > 64) return value.low != 0 || (value.high & ((std::uint64_t{1} << (index - 64)) - 1)) != 0;
  if (index == 64) return value.low != 0;
  return (value.low & ((std::uint64_t{1} << index) - 1)) != 0;
}

Uint128 shiftLeft(const Uint128& value, int count) {
  assert(count >= 0 && count < 128);
  if (count == 0) return value;
  if (count >= 64) return Uint128{value.low << (count - 64), 0};
  return Uint128{(value.high << count) | (value.low >> (64 - count)), value.low << count};
}

Uint128 shiftRight(const Uint128& value, int count) {
  assert(count >= 0);
  if (count == 0) return value;
  if (count >= 128) return Uint128{};
  if (count >= 64) return Uint128{0, value.high >> (count - 64)};
  return Uint128{value.high >> count, (value.low >> count) | (value.high << (64 - count))};
}

Uint128 addOne(const Uint128& value) {
  std::uint64_t low = value.low + 1;
  return Uint128{value.high + (low == 0 ? 1 : 0), low};
}

ShiftedQuotient shiftedQuotient(std::uint64_t dividend, std::uint64_t divisor, int shift) {
  assert((divisor >> 63) != 0 && shift >= 0 && shift <= 127);
  // dividend / divisor < 2, so the quotient's first bit comes from one
  // comparison; every further bit doubles the remainder, which stays below
  // the divisor and so needs one bit more than 64 only for that moment.
  std::uint64_t remainder = dividend;
  Uint128 quotient;
  if (remainder >= divisor) {
    remainder -= divisor;
    quotient.low = 1;
  }
  for (int bit = 0; bit < shift; ++bit) {
    bool carry = (remainder >> 63) != 0;
    remainder <<= 1;
    bool set = carry || remainder >= divisor;
    if (set) remainder -= divisor;  // wraps to the true difference when carry is set
    quotient = shiftLeft(quotient, 1);
    quotient.low |= set ? 1u : 0u;
  }
  return ShiftedQuotient{quotient, remainder != 0};
}

}  // namespace quennix
