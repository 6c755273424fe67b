#include "text/big_decimal.h"

#include <cassert>

namespace quennix {
namespace {

constexpr std::uint32_t kBase = 1000000000;

void multiplyRepeatedly(BigDecimal& number, std::uint32_t base, int baseCount, int power, std::uint32_t step) {
  for (; power >= baseCount; power -= baseCount) multiplyBySmall(number, step);
  std::uint32_t rest = 1;
  for (int i = 0; i < power; ++i) rest *= base;
  if (rest != 1) multiplyBySmall(number, rest);
}

}  // namespace

BigDecimal bigDecimalFromUnsigned(std::uint64_t value) {
  BigDecimal number;
  for (; value != 0; value /= kBase) number.limbs.push_back(static_cast<std::uint32_t>(value % kBase));
  return number;
}

void multiplyBySmall(BigDecimal& number, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : number.limbs) {
    std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product % kBase);
    carry = product / kBase;
  }
  for (; carry != 0; carry /= kBase) number.limbs.push_back(static_cast<std::uint32_t>(carry % kBase));
  while (!number.limbs.empty() && number.limbs.back() == 0) number.limbs.pop_back();
}

void multiplyByPowerOfTwo(BigDecimal& number, int power) {
  assert(power >= 0);
  multiplyRepeatedly(number, 2, 31, power, std::uint32_t{1} << 31);
}

void multiplyByPowerOfFive(BigDecimal& number, int power) {
  assert(power >= 0);
  multiplyRepeatedly(number, 5, 13, power, 1220703125u);  // 5^13
}

std::string decimalString(const BigDecimal& number) {
  if (number.limbs.empty()) return "0";
  std::string text = std::to_string(number.limbs.back());
  for (std::size_t i = number.limbs.size() - 1; i-- > 0;) {
    std::string limb = std::to_string(number.limbs[i]);
    text.append(9 - limb.size(), '0');
    text += limb;
  }
  return text;
}

}  // namespace quennix
