// Feeds arbitrary bytes as an input file through the header reader and, for
// an accepted header, through the summary text and the whole FDA file.
#include <cstdint>
#include <cstdlib>

#include "aifc/source_header.h"
#include "aifc/summary.h"
#include "chunky/container.h"
#include "chunky/fda_writer.h"
#include "memory_platform.h"

namespace {

// Writing the sound block is tried only where it stays small: a tiny input
// may declare four gigabytes of sound data.
constexpr std::uint32_t kMaxWrittenSound = 1 << 20;

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quennix::test::MemoryByteSource input(quennix::test::Bytes(data, data + size));
  quennix::SourceHeader header = quennix::readSourceHeader(input);
  check(header.outcome != quennix::HeaderOutcome::readFailed);
  if (header.outcome != quennix::HeaderOutcome::accepted) return 0;
  const quennix::SourceInfo& info = header.info;
  check(info.soundOffset >= 30 && info.soundOffset <= size);
  check(info.soundByteCount <= 0xFFFFFFFFu - 72);
  std::string summary = quennix::summaryText(info, quennix::LocaleSettings{});
  check(summary.front() == '(' && summary.ends_with("ch)..."));
  std::optional<quennix::FdaInfo> fda = quennix::fdaInfoFor(info);
  if (!fda) return 0;
  quennix::FileBurnInfo burn = quennix::fdaBurnInfo("fuzz", "January 01, 2026, 12:00:00 AM");
  quennix::ByteBuffer head = quennix::fdaHeadBytes(burn, *fda, info.soundByteCount);
  check(head.size() == 175 + 4 + 29 && head.size() == quennix::fdaHeadSize(burn));
  if (info.soundByteCount <= kMaxWrittenSound) {
    quennix::test::MemoryByteSink output;
    quennix::test::MemorySoundMemory memory;
    check(quennix::writeFdaFile(input, info, *fda, burn, output, memory) == quennix::WriteOutcome::done);
    check(output.bytes.size() == head.size() + info.soundByteCount);
    check(memory.outstanding == 0);
  }
  return 0;
}
