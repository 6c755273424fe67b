// Writes one complete FDA file from an AIFF-C input whose header the reader
// has accepted.
#pragma once

#include <cstdint>
#include <optional>

#include "aifc/source_header.h"
#include "chunky/container.h"
#include "platform/byte_sink.h"
#include "platform/byte_source.h"
#include "platform/sound_memory.h"

namespace quennix {

// The rate stored in the information chunk: the sample rate rounded to the
// nearest integer (a tie to the even one) at full precision. 44100 -> 44100,
// 22050.5 -> 22050, -0.5 -> 0, 4294967295.4 -> 4294967295. Empty for a rate
// that is no finite number or whose rounded value lies outside 0 to
// 4,294,967,295 (-44100, 2^32 + 44100): the field would not hold it.
std::optional<std::uint32_t> storedSampleRate(const Extended80& sampleRate);

// The information chunk of a source; empty when its rate has no stored
// value, and such a source gets no FDA file.
std::optional<FdaInfo> fdaInfoFor(const SourceInfo& source);

enum class WriteOutcome {
  done,         // 175 + U + D + N bytes written
  writeFailed,  // a write failed or came up short
  readFailed,   // reading the sound bytes failed (not merely ended early)
  outOfMemory,  // no block for the sound bytes
};

// Writes the whole file to `output`: every byte before the sound data in one
// write, then the N sound bytes read from `input` at source.soundOffset
// through one zero-filled block of N bytes from `memory` (bytes missing at
// the end of the input stay zero). After anything but done the output's
// bytes are not to be used.
WriteOutcome writeFdaFile(ByteSource& input, const SourceInfo& source, const FdaInfo& info,
                          const FileBurnInfo& burnInfo, ByteSink& output, SoundMemory& memory);

}  // namespace quennix
