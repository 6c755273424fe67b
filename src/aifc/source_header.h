// The AIFF-C header reader: checks an input's FORM header, finds its Common
// and Sound Data chunks, and decodes what the FDA writer needs, up to where
// the sound bytes to copy begin.
#pragma once

#include <array>
#include <cstdint>

#include "numeric/extended80.h"
#include "platform/byte_source.h"

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
  std::uint64_t soundOffset = 0;     // where the first of them stands in the input
};

enum class HeaderOutcome {
  accepted,       // every member of the SourceInfo is set
  unknownFormat,  // no accepted AIFF-C file, or its header is cut short
  readFailed,     // reading the input failed
};

struct SourceHeader {
  HeaderOutcome outcome = HeaderOutcome::unknownFormat;
  SourceInfo info;  // to be used only when accepted
};

// Reads the header of an input. Accepted is an IFF FORM of type "AIFC" or
// "AIFR" whose Common chunk (size 21 or more) and Sound Data chunk are
// found, and whose bytes up to the first sound byte are all there. The Sound
// Data chunk's size lies from 10 to 2^32 - 63, so that its sound bytes (the
// size less 10) fit an FDA folder, whose size counts 72 bytes more; the
// "unknown length" 0xFFFFFFFF of a streaming writer is refused.
//
// The chunks after the form type are walked by IFF framing (8-byte header,
// body, a pad byte after an odd size); the first "COMM" and the first "SSND"
// are taken in whichever order they stand. A file in which the walk does not
// find both is read in the classic fixed layout by position: a format version
// chunk taken to have a 4-byte body at 12, "COMM" at 24 and "SSND" right
// after the Common chunk and its pad byte. Without those two identifiers
// there (no Sound Data chunk, a pad byte missing) the file is refused.
//
// The classic layout with a one-byte compression name (S = 23) gives
// soundOffset 74: the Sound Data header at 56, its 10-byte head after it.
SourceHeader readSourceHeader(ByteSource& input);

}  // namespace quennix
