// A small unsigned big integer in base 10^9, enough to write any finite
// Extended80 value m * 2^e exactly in decimal (at most about 11,500 digits).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quennix {

struct BigDecimal {
  std::vector<std::uint32_t> limbs;  // base 10^9, least significant first; empty is zero
};

BigDecimal bigDecimalFromUnsigned(std::uint64_t value);
void multiplyBySmall(BigDecimal& number, std::uint32_t factor);  // precondition: factor < 2^32
void multiplyByPowerOfTwo(BigDecimal& number, int power);        // precondition: power >= 0
void multiplyByPowerOfFive(BigDecimal& number, int power);       // precondition: power >= 0

// Decimal digits, most significant first, no leading zeros ("0" for zero).
std::string decimalString(const BigDecimal& number);

}  // namespace quennix
