#include "text/number_text.h"

#include "text/decimal_digits.h"

namespace quennix {
namespace {

void appendSeparator(std::string& text, char separator) {
  if (separator != '\0') text += separator;
}

std::string zeroText(char separator) {
  std::string text = "0";
  appendSeparator(text, separator);
  text += '0';
  return text;
}

// The 18-digit string cut to one decimal, half away from zero on the
// digits. Leaves `kept` empty when the value is zero at that place.
void keepOneDecimal(DecimalDigits& rounded, std::string& kept) {
  int keep = rounded.exponent + 1;
  std::string digits(rounded.digits.begin(), rounded.digits.end());
  if (keep < 0) {
    kept.clear();
  } else if (keep >= kSignificantDigits) {
    kept = digits;
  } else {
    kept = digits.substr(0, static_cast<std::size_t>(keep));
    if (digits[static_cast<std::size_t>(keep)] >= '5' && addOneInLastPlace(kept)) {
      if (kept.empty()) kept.push_back('1');
      ++rounded.exponent;
    }
  }
  std::size_t last = kept.find_last_not_of('0');
  kept.erase(last == std::string::npos ? 0 : last + 1);
}

}  // namespace

std::string integerText(std::int32_t value) {
  std::int64_t wide = value;
  std::string digits;
  std::uint64_t magnitude = static_cast<std::uint64_t>(wide < 0 ? -wide : wide);
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return wide < 0 ? "-" + digits : digits;
}

std::string oneDecimalText(const Extended80& value, char decimalSeparator) {
  switch (classify(value)) {
    case Extended80Class::zero:
    case Extended80Class::denormal:
      return zeroText(decimalSeparator);
    case Extended80Class::infinity:
      return value.negative ? "-INF" : "INF";
    case Extended80Class::quietNaN:
    case Extended80Class::signallingNaN:
    case Extended80Class::refused:
      return "NAN";
    case Extended80Class::normal:
      break;
  }
  // Below 2^-7 (0.0078125) the 18 digits begin in the third decimal place or
  // later, so the text is zero: no need to write out thousands of digits.
  if (unbiasedExponent(value) < -7) return zeroText(decimalSeparator);
  DecimalDigits rounded = roundToSignificantDigits(value);
  std::string kept;
  keepOneDecimal(rounded, kept);
  if (kept.empty()) return zeroText(decimalSeparator);

  std::string text = value.negative ? "-" : "";
  int exponent = rounded.exponent;
  if (exponent > kSignificantDigits) {
    text += kept[0];
    if (kept.size() > 1) {
      appendSeparator(text, decimalSeparator);
      text.append(kept, 1);
    }
    return text + "E" + integerText(exponent - 1);
  }
  auto digitAt = [&](int index) {
    return index < static_cast<int>(kept.size()) ? kept[static_cast<std::size_t>(index)] : '0';
  };
  if (exponent <= 0) {
    text += '0';
  } else {
    for (int i = 0; i < exponent; ++i) text += digitAt(i);
  }
  appendSeparator(text, decimalSeparator);
  text += exponent < 0 ? '0' : digitAt(exponent);
  return text;
}

}  // namespace quennix
