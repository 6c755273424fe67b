#include "aifc/summary.h"

#include <gtest/gtest.h>

#include "aifc/big_endian.h"
#include "fixtures.h"

namespace quennix {
namespace {

SourceInfo sourceWith(std::uint16_t leadWord, std::uint16_t channels, const test::Bytes& rate) {
  SourceInfo info;
  info.soundHead.leadWord = leadWord;
  info.common.channels = channels;
  info.common.sampleRate = extendedFromBigEndian(rate.data());
  return info;
}

TEST(SummaryText, FiguresOfTheSummaryTable) {
  const struct {
    std::uint16_t leadWord, channels;
    std::uint64_t rate;
    const char* text;
    // clang-format off
  } rows[] = {
      {372,   2,     44100, "(64.1kbps, 44.1kHz, 2ch)..."},
      {743,   2,     44100, "(128.0kbps, 44.1kHz, 2ch)..."},  // exactly 127.993359375
      {0,     1,     48000, "(0.0kbps, 48.0kHz, 1ch)..."},
      {500,   0,     44100, "(0.0kbps, 44.1kHz, 0ch)..."},
      {65535, 65535, 8000,  "(369926323.3kbps, 8.0kHz, 65535ch)..."},
      {256,   1,     22050, "(22.1kbps, 22.1kHz, 1ch)..."},
  };
  // clang-format on
  LocaleSettings locale;
  for (const auto& row : rows) {
    EXPECT_EQ(summaryText(sourceWith(row.leadWord, row.channels, test::extendedBytes(row.rate)), locale), row.text);
  }
  EXPECT_EQ(bitrateFigure(256, 1), sampleRateFigure(extendedFromUnsigned(22050)));
}

TEST(SummaryText, TheRateFigureOfEverySampleRate) {
  LocaleSettings locale;
  for (const test::SampleRateRow& row : test::kSampleRateRows) {
    EXPECT_EQ(summaryText(sourceWith(372, 2, row.bytes()), locale),
              std::string("(64.1kbps, ") + row.kilohertz + "kHz, 2ch)...")
        << row.what;
  }
}

}  // namespace
}  // namespace quennix
