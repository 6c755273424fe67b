#include "text/number_text.h"

#include <gtest/gtest.h>

#include "aifc/summary.h"
#include "text/decimal_digits.h"
#include "text/format_text.h"

namespace quennix {
namespace {

Extended80 bits(std::uint16_t signAndExponent, std::uint64_t significand) {
  return Extended80{(signAndExponent & 0x8000) != 0, static_cast<std::uint16_t>(signAndExponent & 0x7FFF), significand};
}
Extended80 whole(std::uint64_t n) { return extendedFromUnsigned(n); }
Extended80 negated(Extended80 v) {
  v.negative = !v.negative;
  return v;
}
Extended80 ratio(std::uint64_t n, std::uint64_t d) { return divide(whole(n), whole(d)); }

TEST(IntegerText, WritesPlainDecimalDigits) {
  const struct {
    std::int32_t value;
    const char* text;
  } rows[] = {
      {0, "0"}, {7, "7"}, {2000, "2000"}, {2147483647, "2147483647"}, {-1, "-1"}, {-2147483647 - 1, "-2147483648"}};
  for (const auto& row : rows) EXPECT_EQ(integerText(row.value), row.text) << row.value;
}

TEST(DecimalDigits, RoundsTheExactValueToEighteenDigits) {
  const struct {
    const char* what;
    Extended80 value;
    const char* digits;
    int exponent;
    // clang-format off
  } rows[] = {
      {"22050/1000", ratio(22050, 1000),          "220500000000000000", 2},
      {"0.25",       bits(0x3FFD, 1ull << 63),    "250000000000000000", 0},
      {"2^64",       bits(0x403F, 1ull << 63),    "184467440737095516", 20},
      {"10^18+5",    whole(1000000000000000005),  "100000000000000000", 19},  // tie, 0 is even
      {"10^18+15",   whole(1000000000000000015),  "100000000000000002", 19},  // tie, 1 is odd
      {"10^18+25",   whole(1000000000000000025),  "100000000000000002", 19},  // tie, 2 is even
      {"largest",    bits(0x7FFE, ~0ull),         "118973149535723177", 4933},
      {"smallest normal", bits(0x0001, 1ull << 63), "336210314311209351", -4931},
      {"2^64-1 all nines up", whole(999999999999999999ull * 10 + 9), "100000000000000000", 20},
  };
  // clang-format on
  for (const auto& row : rows) {
    DecimalDigits got = roundToSignificantDigits(row.value);
    EXPECT_EQ(std::string(got.digits.begin(), got.digits.end()), row.digits) << row.what;
    EXPECT_EQ(got.exponent, row.exponent) << row.what;
  }
}

TEST(OneDecimalText, WorkedValuesAndEdgeCases) {
  const Extended80 quietNaN = bits(0x7FFF, 0xC000000000000000u);
  const struct {
    const char* what;
    Extended80 value;
    const char* text;
    // clang-format off
  } rows[] = {
      {"44100/1000",            ratio(44100, 1000),           "44.1"},
      {"22050/1000",            ratio(22050, 1000),           "22.1"},  // just below 22.05 in binary
      {"11025/1000",            ratio(11025, 1000),           "11.0"},
      {"0.25",                  bits(0x3FFD, 1ull << 63),     "0.3"},   // half away from zero
      {"0.0861328125",          bitrateFigure(1, 1),          "0.1"},
      {"0.04",                  ratio(4, 100),                "0.0"},
      {"-0.04",                 negated(ratio(4, 100)),       "0.0"},
      {"-0.05",                 negated(ratio(5, 100)),       "-0.1"},
      {"99.96",                 ratio(9996, 100),             "100.0"},
      {"65535 x 65535 bitrate", bitrateFigure(65535, 65535),  "369926323.3"},
      {"10^17",                 whole(100000000000000000),    "100000000000000000.0"},
      {"10^18",                 whole(1000000000000000000),   "1E18"},
      {"1.5e21",                multiply(whole(1430511474609375), whole(1 << 20)), "1.5E21"},
      {"0.35 (below in binary)", bits(0x3FFD, 0xB333333333333333u), "0.4"},  // one rounding would give 0.3
      {"0.95",                  bits(0x3FFE, 0xF333333333333333u), "1.0"},
      {"9.95",                  bits(0x4002, 0x9F33333333333333u), "10.0"},
      {"2.5",                   bits(0x4000, 0xA000000000000000u), "2.5"},
      {"-2.5",                  bits(0xC000, 0xA000000000000000u), "-2.5"},
      {"0.004",                 ratio(4, 1000),               "0.0"},
      {"10^18+15",              whole(1000000000000000015),   "1.00000000000000002E18"},
      {"10^18+5",               whole(1000000000000000005),   "1E18"},
      {"1.234...679e17",        bits(0x4037, 0xDB4DA5D31879A773u), "123456789012345679.0"},
      {"largest",               bits(0x7FFE, ~0ull),          "1.18973149535723177E4932"},
      {"-largest",              bits(0xFFFE, ~0ull),          "-1.18973149535723177E4932"},
      {"smallest normal",       bits(0x0001, 1ull << 63),     "0.0"},
      {"smallest denormal",     bits(0x0000, 1),              "0.0"},
      {"largest denormal",      bits(0x8000, ~0ull >> 1),     "0.0"},
      {"zero",                  bits(0x0000, 0),              "0.0"},
      {"negative zero",         bits(0x8000, 0),              "0.0"},
      {"infinity",              bits(0x7FFF, 1ull << 63),     "INF"},
      {"-infinity",             bits(0xFFFF, 1ull << 63),     "-INF"},
      {"quiet NaN",             quietNaN,                     "NAN"},
      {"-quiet NaN",            negated(quietNaN),            "NAN"},
      {"signalling NaN",        bits(0x7FFF, 0x8000000000000001u), "NAN"},
      {"unnormal",              bits(0x400E, 0x2C44000000000000u), "NAN"},
      {"pseudo-infinity",       bits(0xFFFF, 0),              "NAN"},
  };
  // clang-format on
  for (const auto& row : rows) EXPECT_EQ(oneDecimalText(row.value, '.'), row.text) << row.what;
}

TEST(OneDecimalText, UsesTheDecimalSeparatorOrNone) {
  const struct {
    Extended80 value;
    char separator;
    const char* text;
    // clang-format off
  } rows[] = {
      {ratio(44100, 1000), ',', "44,1"},
      {ratio(44100, 1000), '\0', "441"},
      {multiply(whole(1430511474609375), whole(1 << 20)), ',', "1,5E21"},
      {multiply(whole(1430511474609375), whole(1 << 20)), '\0', "15E21"},
      {whole(0), ',', "0,0"},
      {whole(0), '\0', "00"},
  };
  // clang-format on
  for (const auto& row : rows) EXPECT_EQ(oneDecimalText(row.value, row.separator), row.text);
}

TEST(FormatText, FillsDirectivesLeftToRight) {
  LocaleSettings locale;
  EXPECT_EQ(formatText("[%d/%d] %s ", {1, 3, std::string_view("a.aifc")}, locale), "[1/3] a.aifc ");
  EXPECT_EQ(formatText("[%d/%d] %s ", {12, 2000, std::string_view("100%s %d.aifc")}, locale),
            "[12/2000] 100%s %d.aifc ");
  EXPECT_EQ(formatText("(%.1fkbps, %.1fkHz, %dch)...", {bitrateFigure(372, 2), ratio(44100, 1000), 2}, locale),
            "(64.1kbps, 44.1kHz, 2ch)...");
  locale.decimalSeparator = ',';
  EXPECT_EQ(formatText("(%.1fkbps, %.1fkHz, %dch)...", {bitrateFigure(743, 2), ratio(22050, 1000), 65535}, locale),
            "(128,0kbps, 22,1kHz, 65535ch)...");
}

}  // namespace
}  // namespace quennix
