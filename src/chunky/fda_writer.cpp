#include "chunky/fda_writer.h"

#include <algorithm>
#include <limits>

namespace quennix {
namespace {

// The sound bytes through one block of their full size.
WriteOutcome copySoundBytes(ByteSource& input, const SourceInfo& source, ByteSink& output, SoundMemory& memory) {
  std::size_t size = source.soundByteCount;
  if (size == 0) return WriteOutcome::done;
  std::uint64_t available = input.size() > source.soundOffset ? input.size() - source.soundOffset : 0;
  auto filled = static_cast<std::size_t>(std::min<std::uint64_t>(available, size));
  std::uint8_t* block = memory.obtain(size, filled);
  if (block == nullptr) return WriteOutcome::outOfMemory;
  ReadResult read = input.readAt(source.soundOffset, block, size);
  bool written = !read.failed && output.write(block, size);
  memory.release(block, size);
  if (read.failed) return WriteOutcome::readFailed;
  return written ? WriteOutcome::done : WriteOutcome::writeFailed;
}

}  // namespace

std::optional<std::uint32_t> storedSampleRate(const Extended80& sampleRate) {
  std::optional<std::int64_t> rounded = roundToInt64(sampleRate);
  if (!rounded || *rounded < 0 || *rounded > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(*rounded);
}

std::optional<FdaInfo> fdaInfoFor(const SourceInfo& source) {
  std::optional<std::uint32_t> rate = storedSampleRate(source.common.sampleRate);
  if (!rate) return std::nullopt;
  FdaInfo info;
  info.channels = source.common.channels;
  info.sampleSize = source.common.sampleSize;
  info.leadWord = source.soundHead.leadWord;
  info.sampleRate = *rate;
  info.infoValue1 = kInfoValue1;
  info.infoValue2 = kInfoValue2;
  info.infoValue3 = kInfoValue3;
  return info;
}

WriteOutcome writeFdaFile(ByteSource& input, const SourceInfo& source, const FdaInfo& info,
                          const FileBurnInfo& burnInfo, ByteSink& output, SoundMemory& memory) {
  ByteBuffer head = fdaHeadBytes(burnInfo, info, source.soundByteCount);
  if (!output.write(head.data(), head.size())) return WriteOutcome::writeFailed;
  return copySoundBytes(input, source, output, memory);
}

}  // namespace quennix
