// Writes one complete FDA file from an AIFF-C input that the header reader
// has positioned at its first sound byte.
#pragma once

#include <cstdint>
#include <optional>

#include "aifc/source_header.h"
#include "chunky/container.h"
#include "platform/files.h"
#include "text/locale_settings.h"

namespace quennix {

enum class WriteOutcome {
  done,             // 175 + U + D + N bytes written
  writeFailed,      // a write failed or came up short
  readFailed,       // reading the sound bytes failed (not merely ended early)
  outOfMemory,      // no block for the sound bytes; the file holds everything before them
  unsupportedRate,  // the sample rate has no stored value; nothing written
};

// The rate stored in the information chunk: the sample rate rounded to the
// nearest integer (a tie to the even one) at full precision. 44100 -> 44100,
// 22050.5 -> 22050, -0.5 -> 0, 4294967295.4 -> 4294967295. Empty for a rate
// that is no finite number or whose rounded value lies outside 0 to
// 4,294,967,295 (-44100, 2^32 + 44100): the field would not hold it.
std::optional<std::uint32_t> storedSampleRate(const Extended80& sampleRate);

// The information chunk of a source; empty when its rate has no stored value.
std::optional<FdaInfo> fdaInfoFor(const SourceInfo& source);

// The whole file with the given burn information: every byte before the
// sound data in one write, then the N sound bytes read from `input` through
// one zero-filled block (bytes missing at the end of the input stay zero).
WriteOutcome writeFdaFileWith(const InputFile& input, int output, const SourceInfo& source,
                              const FileBurnInfo& burnInfo);

// The same with the burn information of now: the current login name and the
// local date and time as "mmmm dd, yyyy, h:nn:ss AM/PM".
WriteOutcome writeFdaFile(const InputFile& input, int output, const SourceInfo& source, const LocaleSettings& locale);

}  // namespace quennix
