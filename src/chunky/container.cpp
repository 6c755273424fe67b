#include "chunky/container.h"

#include <algorithm>

namespace quennix {
namespace {

// The four 32-bit fields of a FileBurnInfo besides its three texts.
constexpr std::uint32_t kBurnInfoFieldsSize = 4 * 4;

void appendText(ByteBuffer& bytes, std::string_view text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

void appendCode(ByteBuffer& bytes, const FourCharCode& code) { bytes.insert(bytes.end(), code.begin(), code.end()); }

FourCharCode code(const char (&text)[5]) { return {text[0], text[1], text[2], text[3]}; }

ChunkHeader unnamedChunk(const char (&type)[5], const char (&id)[5], std::uint32_t size) {
  ChunkHeader header;
  header.type = code(type);
  header.id = code(id);
  header.chunkValue = kChunkValue;
  header.size = size;
  header.nameLength = 0;
  return header;
}

std::uint32_t byteLength(std::string_view text) { return static_cast<std::uint32_t>(text.size()); }

}  // namespace

void appendUint32LittleEndian(ByteBuffer& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendFileHeader(ByteBuffer& bytes, const ChunkyFileHeader& header) {
  bytes.insert(bytes.end(), header.magic.begin(), header.magic.end());
  appendUint32LittleEndian(bytes, header.magicTail);
  appendUint32LittleEndian(bytes, header.headerValue1);
  appendUint32LittleEndian(bytes, header.headerValue2);
}

void appendChunkHeader(ByteBuffer& bytes, const ChunkHeader& header) {
  appendCode(bytes, header.type);
  appendCode(bytes, header.id);
  appendUint32LittleEndian(bytes, header.chunkValue);
  appendUint32LittleEndian(bytes, header.size);
  appendUint32LittleEndian(bytes, header.nameLength);
  appendText(bytes, header.name);
}

void appendBurnInfo(ByteBuffer& bytes, const FileBurnInfo& info) {
  appendUint32LittleEndian(bytes, info.toolLabelLength);
  appendText(bytes, info.toolLabel);
  appendUint32LittleEndian(bytes, info.burnValue);
  appendUint32LittleEndian(bytes, info.userNameLength);
  appendText(bytes, info.userName);
  appendUint32LittleEndian(bytes, info.dateStampLength);
  appendText(bytes, info.dateStamp);
}

void appendFdaInfo(ByteBuffer& bytes, const FdaInfo& info) {
  for (std::uint32_t field : {info.channels, info.sampleSize, info.leadWord, info.sampleRate, info.infoValue1,
                              info.infoValue2, info.infoValue3}) {
    appendUint32LittleEndian(bytes, field);
  }
}

ChunkyFileHeader fdaFileHeader() {
  static_assert(kChunkyMagic.size() == ChunkyFileHeader{}.magic.size());
  ChunkyFileHeader header;
  std::copy(kChunkyMagic.begin(), kChunkyMagic.end(), header.magic.begin());
  header.magicTail = kChunkyMagicTail;
  header.headerValue1 = kChunkyHeaderValue;
  header.headerValue2 = kChunkyHeaderValue;
  return header;
}

FileBurnInfo fdaBurnInfo(const std::string& userName, const std::string& dateStamp) {
  FileBurnInfo info;
  info.toolLabel = kToolLabel;
  info.toolLabelLength = byteLength(info.toolLabel);
  info.burnValue = kBurnValue;
  info.userName = userName;
  info.userNameLength = byteLength(userName);
  info.dateStamp = dateStamp;
  info.dateStampLength = byteLength(dateStamp);
  return info;
}

ChunkHeader burnInfoChunkHeader(const FileBurnInfo& info) {
  ChunkHeader header = unnamedChunk(
      "DATA", "FBIF", kBurnInfoFieldsSize + info.toolLabelLength + info.userNameLength + info.dateStampLength);
  header.name = kBurnInfoChunkName;
  header.nameLength = byteLength(header.name);
  return header;
}

ChunkHeader fdaFolderHeader(std::uint32_t soundByteCount) {
  return unnamedChunk("FOLD", "FDA ", 2 * kChunkyChunkHeaderSize + kFdaInfoSize + kSoundByteCountSize + soundByteCount);
}

ChunkHeader infoChunkHeader() { return unnamedChunk("DATA", "INFO", kFdaInfoSize); }

ChunkHeader soundDataChunkHeader(std::uint32_t soundByteCount) {
  return unnamedChunk("DATA", "DATA", kSoundByteCountSize + soundByteCount);
}

std::size_t fdaHeadSize(const FileBurnInfo& burnInfo) {
  std::size_t burnChunk = kChunkyChunkHeaderSize + kBurnInfoChunkName.size() + kBurnInfoFieldsSize +
                          burnInfo.toolLabel.size() + burnInfo.userName.size() + burnInfo.dateStamp.size();
  std::size_t folderBeforeSound = 3 * kChunkyChunkHeaderSize + kFdaInfoSize + kSoundByteCountSize;
  return kChunkyFileHeaderSize + burnChunk + folderBeforeSound;
}

ByteBuffer fdaHeadBytes(const FileBurnInfo& burnInfo, const FdaInfo& info, std::uint32_t soundByteCount) {
  ByteBuffer bytes;
  bytes.reserve(fdaHeadSize(burnInfo));
  appendFileHeader(bytes, fdaFileHeader());
  appendChunkHeader(bytes, burnInfoChunkHeader(burnInfo));
  appendBurnInfo(bytes, burnInfo);
  appendChunkHeader(bytes, fdaFolderHeader(soundByteCount));
  appendChunkHeader(bytes, infoChunkHeader());
  appendFdaInfo(bytes, info);
  appendChunkHeader(bytes, soundDataChunkHeader(soundByteCount));
  appendUint32LittleEndian(bytes, soundByteCount);
  return bytes;
}

}  // namespace quennix
