#include "chunky/fda_writer.h"

#include <algorithm>
#include <limits>

#include "platform/sound_block.h"
#include "platform/user_name.h"
#include "text/date_time.h"

namespace quennix {

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
  info.infoValue1 = 0;
  info.infoValue2 = 0xFFFFFFFF;
  info.infoValue3 = 0;
  return info;
}

WriteOutcome writeFdaFileWith(const InputFile& input, int output, const SourceInfo& source,
                              const FileBurnInfo& burnInfo) {
  std::optional<FdaInfo> info = fdaInfoFor(source);
  if (!info) return WriteOutcome::unsupportedRate;
  ByteBuffer head = fdaHeadBytes(burnInfo, *info, source.soundByteCount);
  if (!writeFully(output, head.data(), head.size())) return WriteOutcome::writeFailed;

  SoundBlock block;
  std::size_t filled = static_cast<std::size_t>(std::min<std::uint64_t>(bytesLeftToRead(input), source.soundByteCount));
  if (!obtainSoundBlock(source.soundByteCount, filled, block)) return WriteOutcome::outOfMemory;
  ReadResult read = readFully(input.fd, block.bytes, block.size);
  bool written = !read.failed && writeFully(output, block.bytes, block.size);
  releaseSoundBlock(block);
  if (read.failed) return WriteOutcome::readFailed;
  return written ? WriteOutcome::done : WriteOutcome::writeFailed;
}

WriteOutcome writeFdaFile(const InputFile& input, int output, const SourceInfo& source, const LocaleSettings& locale) {
  std::string dateStamp = formatDateTime("mmmm dd, yyyy, h:nn:ss AM/PM", currentLocalDateTime(), locale);
  return writeFdaFileWith(input, output, source, fdaBurnInfo(currentLoginName(), dateStamp));
}

}  // namespace quennix
