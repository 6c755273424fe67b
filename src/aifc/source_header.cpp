#include "aifc/source_header.h"

#include <cstring>
#include <optional>

#include "aifc/big_endian.h"

namespace quennix {
namespace {

constexpr std::uint32_t kMinCommonSize = 21;
constexpr std::uint32_t kMinSoundDataSize = 10;
// The FDA folder holds 72 bytes besides the sound bytes and its size is 32 bits.
constexpr std::uint32_t kMaxSoundDataSize = 0xFFFFFFFFu - 72 + kMinSoundDataSize;
constexpr std::size_t kCommonFixedSize = 22;
constexpr std::size_t kSoundHeadSize = 10;
constexpr std::size_t kIffChunkHeaderSize = 8;   // identifier and big-endian size
constexpr std::uint64_t kFirstChunkOffset = 12;  // after "FORM", its size and the form type

// A window over the input so that walking small chunks costs few reads.
// A read error is remembered: the header is then not judged at all.
struct HeaderWindow {
  explicit HeaderWindow(ByteSource& source) : input(source) {}
  ByteSource& input;
  std::uint64_t start = 0;
  std::size_t length = 0;
  bool failed = false;
  std::array<std::uint8_t, 4096> bytes;
};

// Copies `size` bytes at `offset` into `dest`; false unless all of them exist.
bool readExact(HeaderWindow& window, std::uint64_t offset, std::size_t size, std::uint8_t* dest) {
  if (size > window.bytes.size() || window.failed) return false;
  bool inside = offset >= window.start && offset - window.start + size <= window.length;
  if (!inside) {
    ReadResult got = window.input.readAt(offset, window.bytes.data(), window.bytes.size());
    window.failed = got.failed;
    window.start = offset;
    window.length = got.failed ? 0 : got.count;
    if (window.length < size) return false;
  }
  std::memcpy(dest, window.bytes.data() + (offset - window.start), size);
  return true;
}

struct IffChunkHeader {
  std::array<std::uint8_t, 4> id;
  std::uint32_t size;
};

std::optional<IffChunkHeader> readChunkHeader(HeaderWindow& window, std::uint64_t offset) {
  std::uint8_t raw[kIffChunkHeaderSize];
  if (!readExact(window, offset, sizeof raw, raw)) return std::nullopt;
  IffChunkHeader header;
  std::copy(raw, raw + 4, header.id.begin());
  header.size = loadUint32BigEndian(raw + 4);
  return header;
}

bool hasId(const IffChunkHeader& header, const char* id) { return std::memcmp(header.id.data(), id, 4) == 0; }

// Offset of the chunk that follows a chunk at `offset` with body `size`.
std::uint64_t nextChunkOffset(std::uint64_t offset, std::uint32_t size) {
  return offset + kIffChunkHeaderSize + size + (size & 1u);
}

struct ChunkLayout {
  std::uint64_t commonBody;
  std::uint32_t commonSize;
  std::uint64_t soundBody;
  std::uint32_t soundSize;
};

std::optional<ChunkLayout> walkChunks(HeaderWindow& window) {
  bool haveCommon = false;
  bool haveSound = false;
  ChunkLayout layout{};
  std::uint64_t offset = kFirstChunkOffset;
  while (!(haveCommon && haveSound)) {
    std::optional<IffChunkHeader> header = readChunkHeader(window, offset);
    if (!header) return std::nullopt;
    if (!haveCommon && hasId(*header, "COMM")) {
      haveCommon = true;
      layout.commonBody = offset + kIffChunkHeaderSize;
      layout.commonSize = header->size;
    } else if (!haveSound && hasId(*header, "SSND")) {
      haveSound = true;
      layout.soundBody = offset + kIffChunkHeaderSize;
      layout.soundSize = header->size;
    }
    offset = nextChunkOffset(offset, header->size);
  }
  return layout;
}

// The classic layout: format version chunk with a 4-byte body at 12 (its
// size field not trusted), "COMM" at 24 and "SSND" right after it.
std::optional<ChunkLayout> fixedLayout(HeaderWindow& window) {
  constexpr std::uint64_t kCommonOffset = 24;
  std::uint8_t versionChunk[12];
  if (!readExact(window, kFirstChunkOffset, sizeof versionChunk, versionChunk)) return std::nullopt;
  std::optional<IffChunkHeader> common = readChunkHeader(window, kCommonOffset);
  if (!common || !hasId(*common, "COMM")) return std::nullopt;
  std::uint64_t soundOffset = nextChunkOffset(kCommonOffset, common->size);
  std::optional<IffChunkHeader> sound = readChunkHeader(window, soundOffset);
  if (!sound || !hasId(*sound, "SSND")) return std::nullopt;
  return ChunkLayout{kCommonOffset + kIffChunkHeaderSize, common->size, soundOffset + kIffChunkHeaderSize, sound->size};
}

bool decodeCommon(HeaderWindow& window, std::uint64_t offset, CommonChunk& common) {
  std::uint8_t raw[kCommonFixedSize];
  if (!readExact(window, offset, sizeof raw, raw)) return false;
  common.channels = loadUint16BigEndian(raw);
  common.sampleFrames = loadUint32BigEndian(raw + 2);
  common.sampleSize = loadUint16BigEndian(raw + 6);
  common.sampleRate = extendedFromBigEndian(raw + 8);
  std::copy(raw + 18, raw + 22, common.compressionType.begin());
  return true;
}

bool decodeSoundHead(HeaderWindow& window, std::uint64_t offset, SoundDataHead& head) {
  std::uint8_t raw[kSoundHeadSize];
  if (!readExact(window, offset, sizeof raw, raw)) return false;
  head.offset = loadUint32BigEndian(raw);
  head.blockSize = loadUint32BigEndian(raw + 4);
  head.leadWord = loadUint16BigEndian(raw + 8);
  return true;
}

// The header's verdict once the window has been read from.
HeaderOutcome judged(const HeaderWindow& window, bool accepted) {
  if (window.failed) return HeaderOutcome::readFailed;
  return accepted ? HeaderOutcome::accepted : HeaderOutcome::unknownFormat;
}

bool isAcceptedForm(const std::uint8_t form[12]) {
  if (std::memcmp(form, "FORM", 4) != 0) return false;
  return std::memcmp(form + 8, "AIFC", 4) == 0 || std::memcmp(form + 8, "AIFR", 4) == 0;
}

bool decodeLayout(HeaderWindow& window, const ChunkLayout& layout, SourceInfo& info) {
  if (layout.commonSize < kMinCommonSize) return false;
  if (layout.soundSize < kMinSoundDataSize || layout.soundSize > kMaxSoundDataSize) return false;
  if (!decodeCommon(window, layout.commonBody, info.common)) return false;
  if (!decodeSoundHead(window, layout.soundBody, info.soundHead)) return false;
  info.soundByteCount = layout.soundSize - kMinSoundDataSize;
  info.soundOffset = layout.soundBody + kSoundHeadSize;
  return true;
}

}  // namespace

SourceHeader readSourceHeader(ByteSource& input) {
  HeaderWindow window{input};
  SourceHeader header;
  std::uint8_t form[kFirstChunkOffset];
  if (!readExact(window, 0, sizeof form, form) || !isAcceptedForm(form)) {
    header.outcome = judged(window, false);
    return header;
  }
  std::optional<ChunkLayout> layout = walkChunks(window);
  if (!layout && !window.failed) layout = fixedLayout(window);
  header.outcome = judged(window, layout && decodeLayout(window, *layout, header.info));
  return header;
}

}  // namespace quennix
