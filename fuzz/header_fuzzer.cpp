// Feeds arbitrary bytes as an input file through the header reader and, for
// an accepted header, through the summary text and the whole FDA file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "aifc/source_header.h"
#include "chunky/container.h"
#include "chunky/fda_writer.h"

namespace {

// Writing the sound block is tried only where it stays small: a tiny input
// may declare four gigabytes of sound data.
constexpr std::uint32_t kMaxWrittenSound = 1 << 20;

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int input = ::memfd_create("input", MFD_CLOEXEC);
  check(input >= 0);
  check(::write(input, data, size) == static_cast<ssize_t>(size));
  ::lseek(input, 0, SEEK_SET);

  quennix::SourceInfo info;
  if (quennix::readSourceHeader(input, info)) {
    off_t soundStart = ::lseek(input, 0, SEEK_CUR);
    check(soundStart >= 30 && static_cast<std::size_t>(soundStart) <= size);
    std::string summary = quennix::summaryText(info, quennix::LocaleSettings{});
    check(summary.front() == '(' && summary.ends_with("ch)..."));
    if (quennix::storedSampleRate(info.common.sampleRate)) {
      quennix::FileBurnInfo burn = quennix::fdaBurnInfo("fuzz", "January 01, 2026, 12:00:00 AM");
      quennix::ByteBuffer head = quennix::fdaHeadBytes(burn, *quennix::fdaInfoFor(info), info.soundByteCount);
      check(head.size() == 175 + 4 + 29);
      if (info.soundByteCount <= kMaxWrittenSound) {
        int output = ::memfd_create("output", MFD_CLOEXEC);
        quennix::InputFile file{input, size, {}};
        check(quennix::writeFdaFileWith(file, output, info, burn) == quennix::WriteOutcome::done);
        check(::lseek(output, 0, SEEK_END) == static_cast<off_t>(head.size() + info.soundByteCount));
        ::close(output);
      }
    }
  }
  ::close(input);
  return 0;
}
