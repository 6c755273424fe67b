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
#include <vector>

namespace quennix {

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

// Every byte of an FDA file before its sound bytes: 175 + U + D bytes.
ByteBuffer fdaHeadBytes(const FileBurnInfo& burnInfo, const FdaInfo& info, std::uint32_t soundByteCount);

}  // namespace quennix
