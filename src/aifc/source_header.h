// The AIFF-C header reader: checks an input's FORM header, finds its Common
// and Sound Data chunks, decodes what the FDA writer needs and leaves the
// input at the first sound byte to copy.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "aifc/extended80.h"
#include "text/locale_settings.h"

namespace quennix {

// The 22-byte fixed part of the Common chunk, fields in file order.
struct CommonChunk {
  std::uint16_t channels = 0;
  std::uint32_t sampleFrames = 0;
  std::uint16_t sampleSize = 0;
  Extended80 sampleRate;
  std::array<std::uint8_t, 4> compressionType{};
};

// The first 10 bytes of the Sound Data chunk body. offset and blockSize are
// kept but not honoured: the sound bytes follow leadWord directly.
struct SoundDataHead {
  std::uint32_t offset = 0;
  std::uint32_t blockSize = 0;
  std::uint16_t leadWord = 0;
};

struct SourceInfo {
  CommonChunk common;
  SoundDataHead soundHead;
  std::uint32_t soundByteCount = 0;  // Sound Data chunk size - 10: the bytes after leadWord
};

// Reads the header of the regular file open on `fd` (any position) and fills
// `info`. Accepted is an IFF FORM of type "AIFC" or "AIFR" whose Common chunk
// (size 21 or more) and Sound Data chunk are found, and whose bytes up to the
// first sound byte are all there. The Sound Data chunk's size lies from 10 to
// 2^32 - 63, so that its sound bytes (the size less 10) fit an FDA folder,
// whose size counts 72 bytes more; the "unknown length" 0xFFFFFFFF of a
// streaming writer is refused.
//
// The chunks after the form type are walked by IFF framing (8-byte header,
// body, a pad byte after an odd size); the first "COMM" and the first "SSND"
// are taken in whichever order they stand. A file in which the walk does not
// find both is read in the classic fixed layout by position: a format version
// chunk taken to have a 4-byte body at 12, "COMM" at 24 and "SSND" right
// after the Common chunk and its pad byte. Without those two identifiers
// there (no Sound Data chunk, a pad byte missing) the file is refused.
//
// On true the file offset of `fd` stands at the first sound byte to copy;
// on false `info` may be partly filled and must not be used.
bool readSourceHeader(int fd, SourceInfo& info);

// The two figures of the summary, in Extended80 arithmetic:
// leadWord * 86.1328125 * channels / 1000 (exact products, one rounding),
// and sampleRate / 1000.
Extended80 bitrateFigure(std::uint16_t leadWord, std::uint16_t channels);
Extended80 sampleRateFigure(const Extended80& sampleRate);

// "(%.1fkbps, %.1fkHz, %dch)..." of a filled SourceInfo, for instance
// "(64.1kbps, 44.1kHz, 2ch)..." for leadWord 372, 2 channels, 44100 Hz.
std::string summaryText(const SourceInfo& info, const LocaleSettings& locale);

}  // namespace quennix
