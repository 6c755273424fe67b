#include "aifc/extended80.h"

#include <bit>
#include <cassert>

namespace quennix {
namespace {

__extension__ typedef unsigned __int128 Uint128;

constexpr std::uint16_t kMaxExponent = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
constexpr int kBias = 16446;           // value = m * 2^(e - kBias) for a normal value
constexpr int kMinPower2 = 1 - kBias;  // the grid of denormals and of the smallest normals

Extended80 defaultNaN() { return Extended80{true, kMaxExponent, kIntegerBit | kQuietBit}; }
Extended80 infinity(bool negative) { return Extended80{negative, kMaxExponent, kIntegerBit}; }
Extended80 zero(bool negative) { return Extended80{negative, 0, 0}; }

// A finite value as significand * 2^power2, the significand shifted up so
// that its bit 63 is set. Precondition: finite and not zero.
struct Normalized {
  std::uint64_t significand;
  int power2;
};

Normalized normalized(const Extended80& value) {
  assert(value.significand != 0);
  int power2 = (value.exponent == 0 ? 1 : value.exponent) - kBias;
  int shift = std::countl_zero(value.significand);
  return Normalized{value.significand << shift, power2 - shift};
}

int bitLength(Uint128 value) {
  auto high = static_cast<std::uint64_t>(value >> 64);
  if (high != 0) return 128 - std::countl_zero(high);
  return 64 - std::countl_zero(static_cast<std::uint64_t>(value));
}

// Rounds (magnitude + a fraction below its last bit, when sticky) * 2^power2
// to an Extended80, nearest, ties to even.
Extended80 roundAndPack(bool negative, Uint128 magnitude, int power2, bool sticky) {
  if (magnitude == 0) return zero(negative);
  int shift = bitLength(magnitude) - 64;
  if (power2 + shift < kMinPower2) shift = kMinPower2 - power2;  // denormal grid
  Uint128 rounded;
  if (shift <= 0) {
    assert(!sticky);
    rounded = magnitude << -shift;
  } else {
    Uint128 kept = shift >= 128 ? 0 : magnitude >> shift;
    Uint128 dropped = shift >= 128 ? magnitude : magnitude & ((Uint128{1} << shift) - 1);
    bool roundUp = false;
    if (shift > 128) {
      roundUp = false;  // below a quarter of the last place
    } else {
      Uint128 half = Uint128{1} << (shift - 1);
      roundUp = dropped > half || (dropped == half && (sticky || (kept & 1) != 0));
    }
    rounded = kept + (roundUp ? 1 : 0);
  }
  int resultPower2 = power2 + shift;
  if (rounded >> 64 != 0) {  // rounding carried into a 65th bit
    rounded >>= 1;
    ++resultPower2;
  }
  auto significand = static_cast<std::uint64_t>(rounded);
  if ((significand & kIntegerBit) == 0) return Extended80{negative, 0, significand};
  int exponent = resultPower2 + kBias;
  if (exponent >= kMaxExponent) return infinity(negative);
  return Extended80{negative, static_cast<std::uint16_t>(exponent), significand};
}

// The result of an operation with a NaN or refused operand, if there is one.
std::optional<Extended80> propagatedNaN(const Extended80& a, const Extended80& b) {
  Extended80Class classA = classify(a);
  Extended80Class classB = classify(b);
  for (Extended80Class c : {classA, classB}) {
    if (c == Extended80Class::refused || c == Extended80Class::signallingNaN) return defaultNaN();
  }
  if (classA == Extended80Class::quietNaN) return a;
  if (classB == Extended80Class::quietNaN) return b;
  return std::nullopt;
}

// Which operands of a NaN-free operation are infinite or zero.
struct Operands {
  bool infiniteA, infiniteB, zeroA, zeroB;
};

Operands operandsOf(const Extended80& a, const Extended80& b) {
  Extended80Class classA = classify(a);
  Extended80Class classB = classify(b);
  return Operands{classA == Extended80Class::infinity, classB == Extended80Class::infinity,
                  classA == Extended80Class::zero, classB == Extended80Class::zero};
}

}  // namespace

Extended80Class classify(const Extended80& value) {
  bool integerBit = (value.significand & kIntegerBit) != 0;
  if (value.exponent == 0) return value.significand == 0 ? Extended80Class::zero : Extended80Class::denormal;
  if (value.exponent < kMaxExponent) return integerBit ? Extended80Class::normal : Extended80Class::refused;
  if (!integerBit) return Extended80Class::refused;
  std::uint64_t fraction = value.significand & ~kIntegerBit;
  if (fraction == 0) return Extended80Class::infinity;
  return (fraction & kQuietBit) != 0 ? Extended80Class::quietNaN : Extended80Class::signallingNaN;
}

bool isFinite(const Extended80& value) {
  Extended80Class c = classify(value);
  return c == Extended80Class::zero || c == Extended80Class::denormal || c == Extended80Class::normal;
}

bool operator==(const Extended80& a, const Extended80& b) {
  return a.negative == b.negative && a.exponent == b.exponent && a.significand == b.significand;
}

Extended80 extendedFromBigEndian(const std::uint8_t bytes[10]) {
  Extended80 value;
  value.negative = (bytes[0] & 0x80) != 0;
  value.exponent = static_cast<std::uint16_t>(((bytes[0] & 0x7F) << 8) | bytes[1]);
  for (int i = 2; i < 10; ++i) value.significand = (value.significand << 8) | bytes[i];
  return value;
}

Extended80 extendedFromUnsigned(std::uint64_t value) { return roundAndPack(false, value, 0, false); }

Extended80 multiply(const Extended80& a, const Extended80& b) {
  if (auto nan = propagatedNaN(a, b)) return *nan;
  Operands kinds = operandsOf(a, b);
  bool negative = a.negative != b.negative;
  if ((kinds.infiniteA && kinds.zeroB) || (kinds.infiniteB && kinds.zeroA)) return defaultNaN();
  if (kinds.infiniteA || kinds.infiniteB) return infinity(negative);
  if (kinds.zeroA || kinds.zeroB) return zero(negative);
  Normalized x = normalized(a);
  Normalized y = normalized(b);
  Uint128 product = Uint128{x.significand} * y.significand;
  return roundAndPack(negative, product, x.power2 + y.power2, false);
}

Extended80 divide(const Extended80& dividend, const Extended80& divisor) {
  if (auto nan = propagatedNaN(dividend, divisor)) return *nan;
  Operands kinds = operandsOf(dividend, divisor);
  bool negative = dividend.negative != divisor.negative;
  if ((kinds.infiniteA && kinds.infiniteB) || (kinds.zeroA && kinds.zeroB)) return defaultNaN();
  if (kinds.infiniteA || kinds.zeroB) return infinity(negative);
  if (kinds.infiniteB || kinds.zeroA) return zero(negative);
  Normalized x = normalized(dividend);
  Normalized y = normalized(divisor);
  // Both significands lie in [2^63, 2^64), so this quotient has 64 or 65
  // bits; two more bits of long division leave a remainder that only says
  // whether the exact quotient lies above them (the sticky bit).
  Uint128 numerator = Uint128{x.significand} << 64;
  Uint128 quotient = numerator / y.significand;
  Uint128 remainder = (numerator % y.significand) << 2;
  quotient = (quotient << 2) | (remainder / y.significand);
  bool sticky = remainder % y.significand != 0;
  return roundAndPack(negative, quotient, x.power2 - y.power2 - 66, sticky);
}

std::optional<std::int64_t> roundToInt64(const Extended80& value) {
  Extended80Class c = classify(value);
  if (c == Extended80Class::zero) return 0;
  if (c != Extended80Class::normal && c != Extended80Class::denormal) return std::nullopt;
  Normalized x = normalized(value);
  std::uint64_t magnitude;
  if (x.power2 >= 0) {
    return std::nullopt;  // at least 2^63
  } else if (x.power2 < -64) {
    magnitude = 0;  // below a half
  } else {
    int shift = -x.power2;
    std::uint64_t kept = shift == 64 ? 0 : x.significand >> shift;
    std::uint64_t dropped = shift == 64 ? x.significand : x.significand & ((std::uint64_t{1} << shift) - 1);
    std::uint64_t half = std::uint64_t{1} << (shift - 1);
    bool roundUp = dropped > half || (dropped == half && (kept & 1) != 0);
    magnitude = kept + (roundUp ? 1 : 0);
  }
  if (magnitude >= kIntegerBit) return std::nullopt;
  auto signedMagnitude = static_cast<std::int64_t>(magnitude);
  return value.negative ? -signedMagnitude : signedMagnitude;
}

BinaryValue exactBinaryValue(const Extended80& value) {
  assert(isFinite(value) && value.significand != 0);
  int power2 = (value.exponent == 0 ? 1 : value.exponent) - kBias;
  int shift = std::countr_zero(value.significand);
  return BinaryValue{value.significand >> shift, power2 + shift};
}

}  // namespace quennix
