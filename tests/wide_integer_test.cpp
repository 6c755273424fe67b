#include "numeric/wide_integer.h"

#include <gtest/gtest.h>

#include <random>

namespace quennix {
namespace {

#if defined(__SIZEOF_INT128__)
// The compiler's own 128-bit type, where it has one, as the reference.
__extension__ typedef unsigned __int128 Native128;

Native128 native(const Uint128& value) { return (Native128{value.high} << 64) | value.low; }

std::vector<std::uint64_t> operands() {
  std::vector<std::uint64_t> values = {0,
                                       1,
                                       2,
                                       3,
                                       0xFFFFFFFFu,
                                       0x100000000u,
                                       0x8000000000000000u,
                                       0xFFFFFFFFFFFFFFFFu,
                                       0xFFFFFFFF00000000u,
                                       0x00000000FFFFFFFFu};
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 2000; ++i) values.push_back(random() >> (random() % 64));
  return values;
}

TEST(WideInteger, ProductsAgreeWithTheCompilersType) {
  std::vector<std::uint64_t> values = operands();
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::uint64_t a = values[i];
    std::uint64_t b = values[(i * 7 + 3) % values.size()];
    ASSERT_TRUE(native(multiply64x64(a, b)) == Native128{a} * b) << std::hex << a << " * " << b;
  }
}

TEST(WideInteger, ShiftedQuotientsAgreeWithTheCompilersType) {
  std::vector<std::uint64_t> values = operands();
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::uint64_t dividend = values[i];
    std::uint64_t divisor = values[(i * 13 + 5) % values.size()] | 0x8000000000000000u;
    for (int shift : {0, 1, 2, 31, 63, 64}) {
      Native128 numerator = Native128{dividend} << shift;
      ShiftedQuotient got = shiftedQuotient(dividend, divisor, shift);
      ASSERT_TRUE(native(got.quotient) == numerator / divisor)
          << std::hex << dividend << " / " << divisor << " << " << shift;
      ASSERT_EQ(got.inexact, numerator % divisor != 0) << std::hex << dividend << " / " << divisor;
    }
  }
}

TEST(WideInteger, ShiftsAndBitsAgreeWithTheCompilersType) {
  const Uint128 value{0x8123456789ABCDEFu, 0xFEDCBA9876543210u};
  for (int count = 0; count < 128; ++count) {
    ASSERT_TRUE(native(shiftLeft(value, count)) == native(value) << count) << count;
    ASSERT_TRUE(native(shiftRight(value, count)) == native(value) >> count) << count;
    ASSERT_EQ(bitAt(value, count), ((native(value) >> count) & 1) != 0) << count;
    ASSERT_EQ(anyBitBelow(value, count), (native(value) & ((Native128{1} << count) - 1)) != 0) << count;
  }
}
#endif

TEST(WideInteger, EdgesOfTheHalves) {
  EXPECT_EQ(multiply64x64(0xFFFFFFFFFFFFFFFFu, 0xFFFFFFFFFFFFFFFFu), (Uint128{0xFFFFFFFFFFFFFFFEu, 1}));
  EXPECT_EQ(multiply64x64(0x8000000000000000u, 6), (Uint128{3, 0}));
  EXPECT_EQ(addOne(Uint128{0, 0xFFFFFFFFFFFFFFFFu}), (Uint128{1, 0}));
  EXPECT_EQ(addOne(Uint128{0xFFFFFFFFFFFFFFFFu, 0xFFFFFFFFFFFFFFFFu}), (Uint128{0, 0}));
  EXPECT_EQ(bitLength(Uint128{}), 0);
  EXPECT_EQ(bitLength(Uint128{0, 1}), 1);
  EXPECT_EQ(bitLength(Uint128{1, 0}), 65);
  EXPECT_EQ(bitLength(Uint128{0x8000000000000000u, 0}), 128);
  EXPECT_EQ(shiftRight(Uint128{0xFFFFFFFFFFFFFFFFu, 0}, 128), (Uint128{}));
  EXPECT_FALSE(bitAt(Uint128{0xFFFFFFFFFFFFFFFFu, 0}, 128));
  // floor(2^66 * 3 / (3 * 2^62)) = 16, exact; floor(2^66 / (2^64 - 1)) = 4, inexact.
  ShiftedQuotient sixteen = shiftedQuotient(3, 0xC000000000000000u, 66);
  EXPECT_EQ(sixteen.quotient, (Uint128{0, 16}));
  EXPECT_FALSE(sixteen.inexact);
  ShiftedQuotient four = shiftedQuotient(1, 0xFFFFFFFFFFFFFFFFu, 66);
  EXPECT_EQ(four.quotient, (Uint128{0, 4}));
  EXPECT_TRUE(four.inexact);
}

}  // namespace
}  // namespace quennix
