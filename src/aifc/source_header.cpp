#include "aifc/source_header.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "aifc/big_endian.h"
#include "platform/files.h"
#include "text/format_text.h"

namespace quennix {
namespace {

constexpr std::uint32_t kMinCommonSize = 21;
constexpr std::uint32_t kMinSoundDataSize = 10;
// The FDA folder holds 72 bytes besides the sound bytes and its size is 32 bits.
constexpr std::uint32_t kMaxSoundDataSize = 0xFFFFFFFFu - 72 + kMinSoundDataSize;
constexpr std::size_t kCommonFixedSize = 22;
constexpr std::size_t kSoundHeadSize = 10;
constexpr std::size_t kChunkHeaderSize = 8;

// A window over the input so that walking small chunks costs few reads.
struct HeaderWindow {
  int fd;
  std::uint64_t start = 0;
  std::size_t length = 0;
  std::array<std::uint8_t, 4096> bytes{};
};

// Copies `size` bytes at `offset` into `dest`; false unless all of them exist.
bool readExact(HeaderWindow& window, std::uint64_t offset, std::size_t size, std::uint8_t* dest) {
  if (size > window.bytes.size()) return false;
  bool inside = offset >= window.start && offset - window.start + size <= window.length;
  if (!inside) {
    ReadResult got = readFullyAt(window.fd, offset, window.bytes.data(), window.bytes.size());
    if (got.failed) return false;
    window.start = offset;
    window.length = got.count;
    if (got.count < size) return false;
  }
  std::memcpy(dest, window.bytes.data() + (offset - window.start), size);
  return true;
}

struct ChunkHeader8 {
  std::array<std::uint8_t, 4> id;
  std::uint32_t size;
};

std::optional<ChunkHeader8> readChunkHeader(HeaderWindow& window, std::uint64_t offset) {
  std::uint8_t raw[kChunkHeaderSize];
  if (!readExact(window, offset, sizeof raw, raw)) return std::nullopt;
  ChunkHeader8 header;
  std::copy(raw, raw + 4, header.id.begin());
  header.size = loadUint32BigEndian(raw + 4);
  return header;
}

bool hasId(const ChunkHeader8& header, const char* id) { return std::memcmp(header.id.data(), id, 4) == 0; }

// Offset of the chunk that follows a chunk at `offset` with body `size`.
std::uint64_t nextChunkOffset(std::uint64_t offset, std::uint32_t size) {
  return offset + kChunkHeaderSize + size + (size & 1u);
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
  std::uint64_t offset = 12;
  while (!(haveCommon && haveSound)) {
    std::optional<ChunkHeader8> header = readChunkHeader(window, offset);
    if (!header) return std::nullopt;
    if (!haveCommon && hasId(*header, "COMM")) {
      haveCommon = true;
      layout.commonBody = offset + kChunkHeaderSize;
      layout.commonSize = header->size;
    } else if (!haveSound && hasId(*header, "SSND")) {
      haveSound = true;
      layout.soundBody = offset + kChunkHeaderSize;
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
  if (!readExact(window, 12, sizeof versionChunk, versionChunk)) return std::nullopt;
  std::optional<ChunkHeader8> common = readChunkHeader(window, kCommonOffset);
  if (!common || !hasId(*common, "COMM")) return std::nullopt;
  std::uint64_t soundOffset = nextChunkOffset(kCommonOffset, common->size);
  std::optional<ChunkHeader8> sound = readChunkHeader(window, soundOffset);
  if (!sound || !hasId(*sound, "SSND")) return std::nullopt;
  return ChunkLayout{kCommonOffset + kChunkHeaderSize, common->size, soundOffset + kChunkHeaderSize, sound->size};
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

}  // namespace

bool readSourceHeader(int fd, SourceInfo& info) {
  auto window = std::make_unique<HeaderWindow>(HeaderWindow{fd});
  std::uint8_t form[12];
  if (!readExact(*window, 0, sizeof form, form)) return false;
  if (std::memcmp(form, "FORM", 4) != 0) return false;
  if (std::memcmp(form + 8, "AIFC", 4) != 0 && std::memcmp(form + 8, "AIFR", 4) != 0) return false;

  std::optional<ChunkLayout> layout = walkChunks(*window);
  if (!layout) layout = fixedLayout(*window);
  if (!layout) return false;
  if (layout->commonSize < kMinCommonSize) return false;
  if (layout->soundSize < kMinSoundDataSize || layout->soundSize > kMaxSoundDataSize) return false;
  if (!decodeCommon(*window, layout->commonBody, info.common)) return false;
  if (!decodeSoundHead(*window, layout->soundBody, info.soundHead)) return false;
  info.soundByteCount = layout->soundSize - kMinSoundDataSize;
  return seekTo(fd, layout->soundBody + kSoundHeadSize);
}

Extended80 bitrateFigure(std::uint16_t leadWord, std::uint16_t channels) {
  // 86.1328125 = 44100 / 512 exactly: 0xAC44 * 2^48 * 2^(16389 - 16446).
  const Extended80 factor{false, 16389, 0xAC44000000000000u};
  Extended80 product = multiply(multiply(extendedFromUnsigned(leadWord), factor), extendedFromUnsigned(channels));
  return divide(product, extendedFromUnsigned(1000));
}

Extended80 sampleRateFigure(const Extended80& sampleRate) { return divide(sampleRate, extendedFromUnsigned(1000)); }

std::string summaryText(const SourceInfo& info, const LocaleSettings& locale) {
  return formatText("(%.1fkbps, %.1fkHz, %dch)...",
                    {bitrateFigure(info.soundHead.leadWord, info.common.channels),
                     sampleRateFigure(info.common.sampleRate), std::int32_t{info.common.channels}},
                    locale);
}

}  // namespace quennix
