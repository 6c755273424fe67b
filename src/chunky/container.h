// The records of an FDA file in its "Reraz Chunky" container, and their
// bytes. Every integer is 32 bits, little-endian; texts carry no terminator
// (the chunk name "FileBurnInfo" carries its NUL as part of the name); sizes
// are unsigned 32-bit sums that wrap modulo 2^32.
//
// A whole FDA file, U, D and N the lengths of the user name, the date stamp
// and the sound data (175 + U + D + N bytes):
//   0            ChunkyFileHeader, 24 bytes
//   24           DATA "FBIF" chunk, size 26 + U + D, name "FileBurnInfo\0"
//   57           FileBurnInfo body
//   83 + U + D   FOLD "FDA " chunk, size 72 + N, no name
//   103 + U + D  DATA "INFO" chunk, size 28, body FdaInfo
//   151 + U + D  DATA "DATA" chunk, size 4 + N, body N then the sound bytes
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quennix {

// The fixed texts and values of an FDA file.
inline constexpr std::string_view kChunkyMagic = "Reraz Chunky";
inline constexpr std::uint32_t kChunkyMagicTail = 0x001A0A0D;              // the bytes CR, LF, 1A, NUL
inline constexpr std::uint32_t kChunkyHeaderValue = 1;                     // headerValue1 and headerValue2
inline constexpr std::uint32_t kChunkValue = 1;                            // chunkValue of every chunk
inline constexpr std::string_view kBurnInfoChunkName{"FileBurnInfo", 13};  // its NUL belongs to the name
inline constexpr std::string_view kToolLabel = "RAW to FDA";
inline constexpr std::uint32_t kBurnValue = 1;
inline constexpr std::uint32_t kInfoValue1 = 0;
inline constexpr std::uint32_t kInfoValue2 = 0xFFFFFFFF;  // stored as FF FF FF FF in every file
inline constexpr std::uint32_t kInfoValue3 = 0;

// The byte lengths of the fixed records.
inline constexpr std::uint32_t kChunkyFileHeaderSize = 24;
inline constexpr std::uint32_t kChunkyChunkHeaderSize = 20;  // without the name
inline constexpr std::uint32_t kFdaInfoSize = 28;
inline constexpr std::uint32_t kSoundByteCountSize = 4;

using FourCharCode = std::array<char, 4>;

struct ChunkyFileHeader {
  std::array<char, 12> magic{};  // "Reraz Chunky"
  std::uint32_t magicTail = 0;   // 0x001A0A0D: CR, LF, 1A, NUL
  std::uint32_t headerValue1 = 0;
  std::uint32_t headerValue2 = 0;
};

struct ChunkHeader {
  FourCharCode type{};  // "DATA" or "FOLD"
  FourCharCode id{};
  std::uint32_t chunkValue = 0;
  std::uint32_t size = 0;  // the body: what follows the name, to the chunk's end
  std::uint32_t nameLength = 0;
  std::string name;
};

struct FileBurnInfo {
  std::uint32_t toolLabelLength = 0;
  std::string toolLabel;
  std::uint32_t burnValue = 0;
  std::uint32_t userNameLength = 0;
  std::string userName;
  std::uint32_t dateStampLength = 0;
  std::string dateStamp;
};

struct FdaInfo {
  std::uint32_t channels = 0;
  std::uint32_t sampleSize = 0;
  std::uint32_t leadWord = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t infoValue1 = 0;
  std::uint32_t infoValue2 = 0;
  std::uint32_t infoValue3 = 0;
};

using ByteBuffer = std::vector<std::uint8_t>;

void appendUint32LittleEndian(ByteBuffer& bytes, std::uint32_t value);
void appendFileHeader(ByteBuffer& bytes, const ChunkyFileHeader& header);
void appendChunkHeader(ByteBuffer& bytes, const ChunkHeader& header);  // with its name
void appendBurnInfo(ByteBuffer& bytes, const FileBurnInfo& info);
void appendFdaInfo(ByteBuffer& bytes, const FdaInfo& info);

// The records of an FDA file, every field filled.
ChunkyFileHeader fdaFileHeader();
FileBurnInfo fdaBurnInfo(const std::string& userName, const std::string& dateStamp);
ChunkHeader burnInfoChunkHeader(const FileBurnInfo& info);       // size 16 + T + U + D
ChunkHeader fdaFolderHeader(std::uint32_t soundByteCount);       // size 72 + N
ChunkHeader infoChunkHeader();                                   // size 28
ChunkHeader soundDataChunkHeader(std::uint32_t soundByteCount);  // size 4 + N

// The length of every byte of an FDA file before its sound bytes:
// 175 + U + D with the names and sizes above.
std::size_t fdaHeadSize(const FileBurnInfo& burnInfo);

// Every byte of an FDA file before its sound bytes.
ByteBuffer fdaHeadBytes(const FileBurnInfo& burnInfo, const FdaInfo& info, std::uint32_t soundByteCount);

}  // namespace quennix
