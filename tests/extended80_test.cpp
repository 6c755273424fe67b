#include "numeric/extended80.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <random>

#include "aifc/big_endian.h"

namespace quennix {
namespace {

struct Bits {
  std::uint16_t signAndExponent;
  std::uint64_t significand;
};

Extended80 fromBits(Bits bits) {
  return Extended80{(bits.signAndExponent & 0x8000) != 0, static_cast<std::uint16_t>(bits.signAndExponent & 0x7FFF),
                    bits.significand};
}

std::string hexOf(const Extended80& v) {
  char text[40];
  std::snprintf(text, sizeof text, "%04X:%016llX", (v.negative ? 0x8000 : 0) | v.exponent,
                static_cast<unsigned long long>(v.significand));
  return text;
}

TEST(BigEndian, DecodesFieldsInFileOrder) {
  const std::uint8_t two[] = {0x00, 0x02};
  const std::uint8_t thirtyEight[] = {0x00, 0x00, 0x00, 0x26};
  const std::uint8_t allOnes[] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(loadUint16BigEndian(two), 2u);
  EXPECT_EQ(loadUint32BigEndian(thirtyEight), 38u);
  EXPECT_EQ(loadUint32BigEndian(allOnes), 4294967295u);
  EXPECT_EQ(swapBytes16(0x0200), 0x0002);
  EXPECT_EQ(swapBytes32(0x11223344u), 0x44332211u);
}

TEST(Extended80, DecodesEveryClassOfTheField) {
  struct Row {
    std::uint8_t bytes[10];
    Extended80Class expectedClass;
    std::int64_t wholeValue;  // for finite rows
  };
  using C = Extended80Class;
  // clang-format off
  const Row rows[] = {
      {{0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, C::normal, 44100},
      {{0x40, 0x0D, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, C::normal, 22050},
      {{0x40, 0x0C, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, C::normal, 11025},
      {{0x40, 0x0E, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, C::normal, 48000},
      {{0x40, 0x0F, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, C::normal, 96000},
      {{0x40, 0x0B, 0xFA, 0x00, 0, 0, 0, 0, 0, 0}, C::normal, 8000},
      {{0x3F, 0xFF, 0x80, 0x00, 0, 0, 0, 0, 0, 0}, C::normal, 1},
      {{0xC0, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, C::normal, -44100},
      {{0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0}, C::zero, 0},
      {{0x80, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0}, C::zero, 0},
      {{0x7F, 0xFF, 0x80, 0x00, 0, 0, 0, 0, 0, 0}, C::infinity, 0},
      {{0x7F, 0xFF, 0xC0, 0x00, 0, 0, 0, 0, 0, 0}, C::quietNaN, 0},
      {{0x7F, 0xFF, 0x80, 0x00, 0, 0, 0, 0, 0, 1}, C::signallingNaN, 0},
      {{0x40, 0x0E, 0x2C, 0x44, 0, 0, 0, 0, 0, 0}, C::refused, 0},
      {{0x7F, 0xFF, 0x00, 0x00, 0, 0, 0, 0, 0, 0}, C::refused, 0},
      {{0x7F, 0xFF, 0x40, 0x00, 0, 0, 0, 0, 0, 0}, C::refused, 0},
      {{0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 1}, C::denormal, 0},
  };
  // clang-format on
  for (const Row& row : rows) {
    Extended80 v = extendedFromBigEndian(row.bytes);
    SCOPED_TRACE(hexOf(v));
    EXPECT_EQ(classify(v), row.expectedClass);
    EXPECT_EQ(v.negative, (row.bytes[0] & 0x80) != 0);
    if (isFinite(v)) {
      EXPECT_EQ(roundToInt64(v), row.wholeValue);
    }
  }
  const std::uint8_t smallest[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  BinaryValue exact = exactBinaryValue(extendedFromBigEndian(smallest));
  EXPECT_EQ(exact.mantissa, 1u);
  EXPECT_EQ(exact.power2, -16445);
}

enum class Op { multiply, divide };

// Expected results from tools/extended_reference.py (exact fractions).
struct ArithmeticRow {
  Op op;
  Bits a, b, expected;
};
// clang-format off
const ArithmeticRow kArithmeticRows[] = {
  {Op::divide, {0x400E, 0xAC44000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4004, 0xB066666666666666ULL}},
  {Op::divide, {0x400D, 0xAC44000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4003, 0xB066666666666666ULL}},
  {Op::divide, {0x400C, 0xAC44000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4002, 0xB066666666666666ULL}},
  {Op::divide, {0x400E, 0xBB80000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4004, 0xC000000000000000ULL}},
  {Op::divide, {0x400B, 0xFA00000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4002, 0x8000000000000000ULL}},
  {Op::divide, {0x3FFF, 0x8000000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x3FF5, 0x83126E978D4FDF3BULL}},
  {Op::divide, {0x4000, 0xC000000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x3FF6, 0xC49BA5E353F7CED9ULL}},
  {Op::divide, {0x400E, 0xFA52D00000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4005, 0x802A666666666666ULL}},
  {Op::divide, {0x400F, 0xF9FCAE0000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4005, 0xFFFC99999999999AULL}},
  {Op::divide, {0x4025, 0xAC42A778AC440000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x401B, 0xB065059A4A000000ULL}},
  {Op::divide, {0x4000, 0xFFFFFFFFFFFFFFFFULL}, {0x4000, 0xC000000000000000ULL}, {0x3FFF, 0xAAAAAAAAAAAAAAAAULL}},
  {Op::divide, {0x0001, 0x8000000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0x0000, 0x0020C49BA5E353F8ULL}},
  {Op::divide, {0x0000, 0x0000000000000003ULL}, {0x4000, 0x8000000000000000ULL}, {0x0000, 0x0000000000000002ULL}},
  {Op::divide, {0x0000, 0x0000000000000001ULL}, {0x4000, 0x8000000000000000ULL}, {0x0000, 0x0000000000000000ULL}},
  {Op::divide, {0x0000, 0x0000000000000001ULL}, {0x4000, 0xC000000000000000ULL}, {0x0000, 0x0000000000000000ULL}},
  {Op::divide, {0x0000, 0x0000000000000002ULL}, {0x4000, 0xC000000000000000ULL}, {0x0000, 0x0000000000000001ULL}},
  {Op::divide, {0x7FFE, 0xFFFFFFFFFFFFFFFFULL}, {0x3FFE, 0x8000000000000000ULL}, {0x7FFF, 0x8000000000000000ULL}},
  {Op::divide, {0xC00E, 0xAC44000000000000ULL}, {0x4008, 0xFA00000000000000ULL}, {0xC004, 0xB066666666666666ULL}},
  {Op::divide, {0x400E, 0xAC44000000000001ULL}, {0x4008, 0xFA00000000000000ULL}, {0x4004, 0xB066666666666667ULL}},
  {Op::divide, {0x3FFF, 0xFFFFFFFFFFFFFFFFULL}, {0x3FFF, 0x8000000000000001ULL}, {0x3FFF, 0xFFFFFFFFFFFFFFFDULL}},
  {Op::multiply, {0x403E, 0xFFFFFFFFFFFFFFFFULL}, {0x4000, 0xC000000000000000ULL}, {0x4040, 0xBFFFFFFFFFFFFFFFULL}},
  {Op::multiply, {0x403E, 0xFFFFFFFFFFFFFFFFULL}, {0x403E, 0xFFFFFFFFFFFFFFFFULL}, {0x407E, 0xFFFFFFFFFFFFFFFEULL}},
  {Op::multiply, {0x3FFF, 0x8000000000000001ULL}, {0x3FFF, 0x8000000000000001ULL}, {0x3FFF, 0x8000000000000002ULL}},
  {Op::multiply, {0x3FFF, 0xC000000000000001ULL}, {0x3FFF, 0xC000000000000001ULL}, {0x4000, 0x9000000000000002ULL}},
  {Op::multiply, {0x0001, 0x8000000000000000ULL}, {0x3FFE, 0x8000000000000000ULL}, {0x0000, 0x4000000000000000ULL}},
  {Op::multiply, {0x7FFE, 0x8000000000000000ULL}, {0x4000, 0x8000000000000000ULL}, {0x7FFF, 0x8000000000000000ULL}},
};
// clang-format on

TEST(Extended80, RoundsExactResultsOnceToSixtyFourBits) {
  for (const ArithmeticRow& row : kArithmeticRows) {
    Extended80 a = fromBits(row.a);
    Extended80 b = fromBits(row.b);
    Extended80 got = row.op == Op::multiply ? multiply(a, b) : divide(a, b);
    EXPECT_EQ(hexOf(got), hexOf(fromBits(row.expected)))
        << (row.op == Op::multiply ? "multiply " : "divide ") << hexOf(a) << " by " << hexOf(b);
  }
}

TEST(Extended80, SpecialOperandsFollowTheirClass) {
  using C = Extended80Class;
  const Extended80 one = extendedFromUnsigned(1);
  const Extended80 zero{};
  const Extended80 inf{false, 0x7FFF, 0x8000000000000000u};
  const Extended80 quiet{false, 0x7FFF, 0xC000000000001234u};
  const Extended80 signalling{false, 0x7FFF, 0x8000000000000001u};
  const Extended80 unnormal{false, 0x400E, 0x2C44000000000000u};
  const Extended80 pseudoInf{false, 0x7FFF, 0};
  struct Row {
    const char* what;
    Extended80 a, b;
    C quotient, product;
  };
  // clang-format off
  const Row rows[] = {
      {"inf, 1", inf, one, C::infinity, C::infinity},  {"1, inf", one, inf, C::zero, C::infinity},
      {"inf, inf", inf, inf, C::quietNaN, C::infinity}, {"0, 0", zero, zero, C::quietNaN, C::zero},
      {"1, 0", one, zero, C::infinity, C::zero},        {"inf, 0", inf, zero, C::infinity, C::quietNaN},
      {"qnan, 1", quiet, one, C::quietNaN, C::quietNaN}, {"snan, 1", signalling, one, C::quietNaN, C::quietNaN},
      {"unnormal, 1", unnormal, one, C::quietNaN, C::quietNaN},
      {"pseudo-inf, 1", pseudoInf, one, C::quietNaN, C::quietNaN},
  };
  // clang-format on
  for (const Row& row : rows) {
    EXPECT_EQ(classify(divide(row.a, row.b)), row.quotient) << "divide " << row.what;
    EXPECT_EQ(classify(multiply(row.a, row.b)), row.product) << "multiply " << row.what;
  }
  EXPECT_EQ(divide(quiet, one), quiet) << "a quiet NaN keeps its payload";
  Extended80 negativeZero = divide(Extended80{true, 0, 0}, one);
  EXPECT_TRUE(negativeZero.negative);
  EXPECT_EQ(classify(negativeZero), C::zero);
}

TEST(Extended80, RoundsToInt64TiesToEven) {
  struct Row {
    Bits value;
    bool fits;
    std::int64_t expected;
  };
  // clang-format off
  const Row rows[] = {
      {{0x400E, 0xAC44000000000000u}, true, 44100},            // 44100.0
      {{0x400D, 0xAC45000000000000u}, true, 22050},            // 22050.5
      {{0x400D, 0xAC47000000000000u}, true, 22052},            // 22051.5
      {{0x400D, 0xAC45000000000001u}, true, 22051},            // 22050.5 + 2^-49
      {{0xC00E, 0xAC44000000000000u}, true, -44100},           // -44100.0
      {{0x401F, 0x8000562200000000u}, true, 4294967296 + 44100},  // 2^32 + 44100
      {{0x3FFE, 0x8000000000000000u}, true, 0},                // 0.5
      {{0xBFFE, 0x8000000000000000u}, true, 0},                // -0.5
      {{0x3FFE, 0x8000000000000001u}, true, 1},                // just above 0.5
      {{0x3FFF, 0xC000000000000000u}, true, 2},                // 1.5
      {{0x0000, 0x0000000000000001u}, true, 0},                // smallest denormal
      {{0x403D, 0xFFFFFFFFFFFFFFFFu}, false, 0},               // 2^63 - 0.5: a tie, to 2^63
      {{0x403D, 0xFFFFFFFFFFFFFFFEu}, true, 0x7FFFFFFFFFFFFFFF},  // 2^63 - 1
      {{0x403E, 0x8000000000000000u}, false, 0},               // 2^63
      {{0xC03E, 0x8000000000000000u}, false, 0},               // -2^63
      {{0x7FFF, 0x8000000000000000u}, false, 0},               // infinity
      {{0x7FFF, 0xC000000000000000u}, false, 0},               // quiet NaN
      {{0x400E, 0x2C44000000000000u}, false, 0},               // refused pattern
  };
  // clang-format on
  for (const Row& row : rows) {
    std::optional<std::int64_t> got = roundToInt64(fromBits(row.value));
    SCOPED_TRACE(hexOf(fromBits(row.value)));
    ASSERT_EQ(got.has_value(), row.fits);
    if (row.fits) {
      EXPECT_EQ(*got, row.expected);
    }
  }
}

#if defined(__x86_64__) && LDBL_MANT_DIG == 64
// On x86-64 the compiler's long double is the x87 format: an independent
// reference for the quotients (never used by the program itself).
long double nativeOf(const Extended80& v) {
  long double native = 0;
  std::uint8_t raw[10];
  std::memcpy(raw, &v.significand, 8);
  std::uint16_t word = static_cast<std::uint16_t>((v.negative ? 0x8000 : 0) | v.exponent);
  std::memcpy(raw + 8, &word, 2);
  std::memcpy(&native, raw, 10);
  return native;
}

Extended80 fromNative(long double native) {
  std::uint8_t raw[16] = {};
  std::memcpy(raw, &native, 10);
  Extended80 v;
  std::memcpy(&v.significand, raw, 8);
  std::uint16_t word;
  std::memcpy(&word, raw + 8, 2);
  v.negative = (word & 0x8000) != 0;
  v.exponent = word & 0x7FFF;
  return v;
}

TEST(Extended80, AgreesWithTheX87OnRandomQuotientsAndProducts) {
  std::mt19937_64 random(20261210);
  for (int i = 0; i < 200000; ++i) {
    Extended80 a{random() % 2 == 0, static_cast<std::uint16_t>(1 + random() % 32766), random() | 0x8000000000000000u};
    Extended80 b{false, static_cast<std::uint16_t>(16383 + random() % 64), random() | 0x8000000000000000u};
    if (i % 4 == 0) b = extendedFromUnsigned(1000);
    if (i % 8 == 1) a.exponent = static_cast<std::uint16_t>(1 + random() % 80);  // results near the denormals
    volatile long double x = nativeOf(a);
    volatile long double y = nativeOf(b);
    ASSERT_EQ(hexOf(divide(a, b)), hexOf(fromNative(x / y))) << hexOf(a) << " / " << hexOf(b);
    ASSERT_EQ(hexOf(multiply(a, b)), hexOf(fromNative(x * y))) << hexOf(a) << " * " << hexOf(b);
  }
}
#endif

}  // namespace
}  // namespace quennix
