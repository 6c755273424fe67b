#include "numeric/extended80.h"

#include <bit>
#include <cassert>

#include "numeric/wide_integer.h"

namespace quennix {
namespace {

constexpr std::uint16_t kMaxExponent = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
constexpr int kExponentBias = 16383;       // of the integer bit: value in [2^(e - 16383), 2^(e - 16382))
constexpr int kBias = kExponentBias + 63;  // of the significand: value = m * 2^(e - kBias)
constexpr int kMinPower2 = 1 - kBias;      // the grid of denormals and of the smallest normals

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

// magnitude / 2^shift rounded to the nearest integer, a tie to the even
// one; `sticky` says that the exact value has nonzero bits below the
// magnitude's last bit. The one rounding rule of this file.
Uint128 roundedShiftRight(const Uint128& magnitude, int shift, bool sticky) {
  assert(shift >= 0);
  if (shift == 0) {
    assert(!sticky);
    return magnitude;
  }
  Uint128 kept = shiftRight(magnitude, shift);
  bool half = bitAt(magnitude, shift - 1);
  bool belowHalf = sticky || anyBitBelow(magnitude, shift - 1);
  bool roundUp = half && (belowHalf || (kept.low & 1u) != 0);
  return roundUp ? addOne(kept) : kept;
}

// Rounds (magnitude + a fraction below its last bit, when sticky) * 2^power2
// to an Extended80, nearest, ties to even.
Extended80 roundAndPack(bool negative, const Uint128& magnitude, int power2, bool sticky) {
  int length = bitLength(magnitude);
  if (length == 0) return zero(negative);
  int shift = length - 64;
  if (power2 + shift < kMinPower2) shift = kMinPower2 - power2;  // denormal grid
  Uint128 rounded = shift <= 0 ? shiftLeft(magnitude, -shift) : roundedShiftRight(magnitude, shift, sticky);
  assert(shift > 0 || !sticky);
  int resultPower2 = power2 + shift;
  if (rounded.high != 0) {  // rounding carried into a 65th bit
    rounded = shiftRight(rounded, 1);
    ++resultPower2;
  }
  std::uint64_t significand = rounded.low;
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

int unbiasedExponent(const Extended80& value) {
  assert(classify(value) == Extended80Class::normal);
  return value.exponent - kExponentBias;
}

Extended80 extendedFromUnsigned(std::uint64_t value) { return roundAndPack(false, Uint128{0, value}, 0, false); }

Extended80 multiply(const Extended80& a, const Extended80& b) {
  if (auto nan = propagatedNaN(a, b)) return *nan;
  Operands kinds = operandsOf(a, b);
  bool negative = a.negative != b.negative;
  if ((kinds.infiniteA && kinds.zeroB) || (kinds.infiniteB && kinds.zeroA)) return defaultNaN();
  if (kinds.infiniteA || kinds.infiniteB) return infinity(negative);
  if (kinds.zeroA || kinds.zeroB) return zero(negative);
  Normalized x = normalized(a);
  Normalized y = normalized(b);
  return roundAndPack(negative, multiply64x64(x.significand, y.significand), x.power2 + y.power2, false);
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
  // Both significands lie in [2^63, 2^64), so x * 2^66 / y has 66 or 67
  // bits: two more than the result keeps, and a remainder that only says
  // whether the exact quotient lies above them (the sticky bit).
  constexpr int kQuotientShift = 66;
  ShiftedQuotient quotient = shiftedQuotient(x.significand, y.significand, kQuotientShift);
  return roundAndPack(negative, quotient.quotient, x.power2 - y.power2 - kQuotientShift, quotient.inexact);
}

std::optional<std::int64_t> roundToInt64(const Extended80& value) {
  Extended80Class c = classify(value);
  if (c == Extended80Class::zero) return 0;
  if (c != Extended80Class::normal && c != Extended80Class::denormal) return std::nullopt;
  Normalized x = normalized(value);
  if (x.power2 >= 0) return std::nullopt;  // at least 2^63
  Uint128 rounded = roundedShiftRight(Uint128{0, x.significand}, -x.power2, false);
  if (rounded.high != 0 || rounded.low >= kIntegerBit) return std::nullopt;
  auto magnitude = static_cast<std::int64_t>(rounded.low);
  return value.negative ? -magnitude : magnitude;
}

BinaryValue exactBinaryValue(const Extended80& value) {
  assert(isFinite(value) && value.significand != 0);
  int power2 = (value.exponent == 0 ? 1 : value.exponent) - kBias;
  int shift = std::countr_zero(value.significand);
  return BinaryValue{value.significand >> shift, power2 + shift};
}

}  // namespace quennix
