#include "text/decimal_digits.h"

#include <algorithm>
#include <string>

#include "text/big_decimal.h"

namespace quennix {
namespace {

// Rounds the digit string `all` (no leading zero) at kSignificantDigits,
// ties to even; true when the rounding carried into a new leading digit.
bool roundDigitString(const std::string& all, std::array<char, kSignificantDigits>& digits) {
  digits.fill('0');
  std::size_t kept = std::min(all.size(), digits.size());
  std::copy_n(all.begin(), kept, digits.begin());
  if (all.size() <= digits.size()) return false;
  char first = all[digits.size()];
  bool restNonZero = all.find_first_not_of('0', digits.size() + 1) != std::string::npos;
  bool lastOdd = (digits.back() - '0') % 2 != 0;
  bool roundUp = first > '5' || (first == '5' && (restNonZero || lastOdd));
  return roundUp && addOneInLastPlace(digits);
}

}  // namespace

bool addOneInLastPlace(std::span<char> digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  if (!digits.empty()) digits[0] = '1';
  return true;
}

DecimalDigits roundToSignificantDigits(const Extended80& value) {
  BinaryValue binary = exactBinaryValue(value);
  // value = mantissa * 2^power2 = N * 10^-fractionDigits
  BigDecimal number = bigDecimalFromUnsigned(binary.mantissa);
  int fractionDigits = 0;
  if (binary.power2 >= 0) {
    multiplyByPowerOfTwo(number, binary.power2);
  } else {
    multiplyByPowerOfFive(number, -binary.power2);
    fractionDigits = -binary.power2;
  }
  std::string all = decimalString(number);
  DecimalDigits result;
  result.exponent = static_cast<int>(all.size()) - fractionDigits;
  if (roundDigitString(all, result.digits)) ++result.exponent;
  return result;
}

}  // namespace quennix
