// The one-decimal text and the header reader, so that a slow path shows up.
#include <benchmark/benchmark.h>

#include "aifc/source_header.h"
#include "aifc/summary.h"
#include "memory_platform.h"
#include "text/number_text.h"

namespace {

using quennix::Extended80;

void oneDecimal(benchmark::State& state, Extended80 value) {
  for (auto _ : state) benchmark::DoNotOptimize(quennix::oneDecimalText(value, '.'));
}

const Extended80 kKilohertz = quennix::sampleRateFigure(quennix::extendedFromUnsigned(44100));
const Extended80 kLargeBitrate = quennix::bitrateFigure(65535, 65535);
const Extended80 kLargest{false, 0x7FFE, ~0ull};
const Extended80 kSmallestNormal{false, 1, 1ull << 63};
BENCHMARK_CAPTURE(oneDecimal, kHz_44_1, kKilohertz);
BENCHMARK_CAPTURE(oneDecimal, kbps_369926323_3, kLargeBitrate);
BENCHMARK_CAPTURE(oneDecimal, largest, kLargest);
BENCHMARK_CAPTURE(oneDecimal, smallest_normal, kSmallestNormal);

void summary(benchmark::State& state) {
  quennix::SourceInfo info;
  info.common.channels = 2;
  info.common.sampleRate = quennix::extendedFromUnsigned(44100);
  info.soundHead.leadWord = 372;
  quennix::LocaleSettings locale;
  for (auto _ : state) benchmark::DoNotOptimize(quennix::summaryText(info, locale));
}
BENCHMARK(summary);

void readHeader(benchmark::State& state) {
  // FORM AIFC, FVER, a 24-byte COMM, SSND with a few sound bytes.
  // clang-format off
  const unsigned char file[] = {
      'F', 'O', 'R', 'M', 0, 0, 0, 78, 'A', 'I', 'F', 'C', 'F', 'V', 'E', 'R', 0, 0, 0, 4, 0xA2, 0x80, 0x51, 0x40,
      'C', 'O', 'M', 'M', 0, 0, 0, 24, 0, 2, 0, 0, 0, 1, 0, 16, 0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0, 'N', 'O',
      'N', 'E', 0, 0, 'S', 'S', 'N', 'D', 0, 0, 0, 14, 0, 0, 0, 0, 0, 0, 0, 0, 1, 116, 1, 2, 3, 4};
  // clang-format on
  quennix::test::MemoryByteSource input(quennix::test::Bytes(file, file + sizeof file));
  for (auto _ : state) {
    quennix::SourceHeader header = quennix::readSourceHeader(input);
    if (header.outcome != quennix::HeaderOutcome::accepted) state.SkipWithError("header refused");
    benchmark::DoNotOptimize(header);
  }
}
BENCHMARK(readHeader);

}  // namespace
