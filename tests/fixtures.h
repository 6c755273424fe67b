// What the tests build their inputs and expected outputs from: AIFF-C bytes
// from their parts, the bytes of an FDA file from the format's table, the
// console lines, and the sample rates every layer is checked with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quennix::test {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text);
void appendBigEndian16(Bytes& bytes, std::uint16_t value);
void appendBigEndian32(Bytes& bytes, std::uint32_t value);
void appendLittleEndian32(Bytes& bytes, std::uint32_t value);
void append(Bytes& bytes, const Bytes& more);
void append(Bytes& bytes, const std::string& text);

// The 10 bytes of a whole-number rate as an 80-bit extended value, 0 as zero.
Bytes extendedBytes(std::uint64_t rate);
// An 80-bit extended value from its sign-and-exponent word and significand.
Bytes extendedBytes(std::uint16_t signAndExponent, std::uint64_t significand);

// An IFF chunk: id, big-endian size, body and a pad byte after an odd size.
Bytes chunk(const std::string& id, const Bytes& body);

// The fields of an AIFF-C file in the classic layout
// FORM, FVER (4-byte body), COMM, SSND.
struct AifcFields {
  std::string formType = "AIFC";
  std::uint16_t channels = 2;
  std::uint32_t sampleFrames = 0;
  std::uint16_t sampleSize = 16;
  Bytes sampleRate = extendedBytes(44100);
  std::string compressionType = "NONE";
  Bytes compressionName = {0};  // the pstring: count byte and text
  std::uint32_t offset = 0;
  std::uint32_t blockSize = 0;
  std::uint16_t leadWord = 0;
  Bytes sound;
  // Further chunks before the Common chunk, after it, and after the Sound Data chunk.
  Bytes beforeCommon;
  Bytes afterCommon;
  Bytes trailing;
  bool soundFirst = false;  // the Sound Data chunk before the Common chunk
};

Bytes commonBody(const AifcFields& fields);
Bytes soundDataBody(const AifcFields& fields);
Bytes aifcFile(const AifcFields& fields);

// Bytes from hexadecimal text such as "0D 0A 1A 00".
Bytes hexBytes(const char* hex);

// Every byte of an FDA file before its sound bytes, laid out independently
// from the format's whole-file table; info28 is the FdaInfo body.
Bytes expectedHead(const std::string& user, const std::string& stamp, std::uint32_t n, const Bytes& info28);

// A small valid input: 2 channels, 16 bits, 44100 Hz, leadWord 372, the
// given sound bytes; its summary is kSampleSummary.
Bytes sampleInput(const Bytes& sound = {10, 20, 30, 40});
extern const std::string kSampleSummary;

// The user name and date stamp an FDA file stores.
struct BurnFields {
  std::string user;
  std::string stamp;
};
BurnFields burnFieldsOf(const Bytes& fda);

// The FdaInfo body of the given fields.
Bytes infoBytes(std::uint32_t channels, std::uint32_t sampleSize, std::uint32_t leadWord, std::uint32_t rate);

// The console lines a run prints, each with its CR LF.
std::string lines(const std::vector<std::string>& texts);

extern const std::string kBannerLine;
extern const std::string kUsageLine;

// A sample rate as its ten bytes, the kHz figure of its summary, and what
// the information chunk stores (none: "Unsupported sample rate.").
struct SampleRateRow {
  const char* what;
  std::uint16_t signAndExponent;
  std::uint64_t significand;
  const char* kilohertz;
  std::optional<std::uint32_t> stored;
  Bytes bytes() const { return extendedBytes(signAndExponent, significand); }
};
extern const std::vector<SampleRateRow> kSampleRateRows;

}  // namespace quennix::test
