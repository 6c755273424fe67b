#include "fixtures.h"

namespace quennix::test {

const std::string kBannerLine = "Quennix v1.0 by Velmor [velmor@example.org]\r\n";
const std::string kUsageLine = "Usage: quennix.exe [filename.aifc or filemask]\r\n";

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

void appendBigEndian16(Bytes& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes.push_back(static_cast<std::uint8_t>(value));
}

void appendBigEndian32(Bytes& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendLittleEndian32(Bytes& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void append(Bytes& bytes, const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
void append(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

Bytes extendedBytes(std::uint16_t signAndExponent, std::uint64_t significand) {
  Bytes bytes;
  appendBigEndian16(bytes, signAndExponent);
  appendBigEndian32(bytes, static_cast<std::uint32_t>(significand >> 32));
  appendBigEndian32(bytes, static_cast<std::uint32_t>(significand));
  return bytes;
}

Bytes extendedBytes(std::uint64_t rate) {
  if (rate == 0) return Bytes(10, 0);
  int top = 63;
  while ((rate >> top) == 0) --top;
  return extendedBytes(static_cast<std::uint16_t>(16383 + top), rate << (63 - top));
}

Bytes chunk(const std::string& id, const Bytes& body) {
  Bytes bytes = bytesOf(id);
  appendBigEndian32(bytes, static_cast<std::uint32_t>(body.size()));
  append(bytes, body);
  if (body.size() % 2 != 0) bytes.push_back(0);
  return bytes;
}

Bytes commonBody(const AifcFields& fields) {
  Bytes body;
  appendBigEndian16(body, fields.channels);
  appendBigEndian32(body, fields.sampleFrames);
  appendBigEndian16(body, fields.sampleSize);
  append(body, fields.sampleRate);
  append(body, fields.compressionType);
  append(body, fields.compressionName);
  return body;
}

Bytes soundDataBody(const AifcFields& fields) {
  Bytes body;
  appendBigEndian32(body, fields.offset);
  appendBigEndian32(body, fields.blockSize);
  appendBigEndian16(body, fields.leadWord);
  append(body, fields.sound);
  return body;
}

Bytes aifcFile(const AifcFields& fields) {
  Bytes body = bytesOf(fields.formType);
  append(body, chunk("FVER", {0xA2, 0x80, 0x51, 0x40}));
  append(body, fields.beforeCommon);
  Bytes common = chunk("COMM", commonBody(fields));
  Bytes sound = chunk("SSND", soundDataBody(fields));
  append(body, fields.soundFirst ? sound : common);
  append(body, fields.afterCommon);
  append(body, fields.soundFirst ? common : sound);
  append(body, fields.trailing);
  Bytes file = bytesOf("FORM");
  appendBigEndian32(file, static_cast<std::uint32_t>(body.size()));
  append(file, body);
  return file;
}

Bytes hexBytes(const char* hex) {
  Bytes bytes;
  for (const char* p = hex; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return bytes;
}

// The bytes of an FDA file before its sound bytes, laid out from the
// format's whole-file table.
Bytes expectedHead(const std::string& user, const std::string& stamp, std::uint32_t n, const Bytes& info28) {
  auto u = static_cast<std::uint32_t>(user.size());
  auto d = static_cast<std::uint32_t>(stamp.size());
  Bytes bytes = hexBytes("52 65 72 61 7A 20 43 68 75 6E 6B 79 0D 0A 1A 00 01 00 00 00 01 00 00 00");
  append(bytes, hexBytes("44 41 54 41 46 42 49 46 01 00 00 00"));
  appendLittleEndian32(bytes, 26 + u + d);
  append(bytes, hexBytes("0D 00 00 00 46 69 6C 65 42 75 72 6E 49 6E 66 6F 00"));
  append(bytes, hexBytes("0A 00 00 00 52 41 57 20 74 6F 20 46 44 41 01 00 00 00"));
  appendLittleEndian32(bytes, u);
  append(bytes, user);
  appendLittleEndian32(bytes, d);
  append(bytes, stamp);
  append(bytes, hexBytes("46 4F 4C 44 46 44 41 20 01 00 00 00"));
  appendLittleEndian32(bytes, 72 + n);
  append(bytes, hexBytes("00 00 00 00 44 41 54 41 49 4E 46 4F 01 00 00 00 1C 00 00 00 00 00 00 00"));
  append(bytes, info28);
  append(bytes, hexBytes("44 41 54 41 44 41 54 41 01 00 00 00"));
  appendLittleEndian32(bytes, 4 + n);
  append(bytes, hexBytes("00 00 00 00"));
  appendLittleEndian32(bytes, n);
  return bytes;
}

const std::string kSampleSummary = "(64.1kbps, 44.1kHz, 2ch)...";

Bytes sampleInput(const Bytes& sound) {
  AifcFields fields;
  fields.leadWord = 372;
  fields.sound = sound;
  return aifcFile(fields);
}

BurnFields burnFieldsOf(const Bytes& fda) {
  auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(fda.at(at) | fda.at(at + 1) << 8 | fda.at(at + 2) << 16 | fda.at(at + 3) << 24);
  };
  std::uint32_t u = u32(75);
  std::uint32_t d = u32(79 + u);
  return {std::string(fda.begin() + 79, fda.begin() + 79 + u),
          std::string(fda.begin() + 83 + u, fda.begin() + 83 + u + d)};
}

Bytes infoBytes(std::uint32_t channels, std::uint32_t sampleSize, std::uint32_t leadWord, std::uint32_t rate) {
  Bytes bytes;
  for (std::uint32_t field : {channels, sampleSize, leadWord, rate, 0u, 0xFFFFFFFFu, 0u})
    appendLittleEndian32(bytes, field);
  return bytes;
}

std::string lines(const std::vector<std::string>& texts) {
  std::string all;
  for (const std::string& text : texts) all += text + "\r\n";
  return all;
}

// clang-format off
const std::vector<SampleRateRow> kSampleRateRows = {
    {"44100",                  0x400E, 0xAC44000000000000u, "44.1",               44100},
    {"48000",                  0x400E, 0xBB80000000000000u, "48.0",               48000},
    {"22050",                  0x400D, 0xAC44000000000000u, "22.1",               22050},
    {"11025",                  0x400C, 0xAC44000000000000u, "11.0",               11025},
    {"250",                    0x4006, 0xFA00000000000000u, "0.3",                250},
    {"22050.5, a tie",         0x400D, 0xAC45000000000000u, "22.1",               22050},
    {"22051.5, a tie",         0x400D, 0xAC47000000000000u, "22.1",               22052},
    {"22050.5 + 2^-49",        0x400D, 0xAC45000000000001u, "22.1",               22051},
    {"zero",                   0x0000, 0x0000000000000000u, "0.0",                0},
    {"-0.5, a tie to 0",       0xBFFE, 0x8000000000000000u, "0.0",                0},
    {"just below -0.5",        0xBFFE, 0x8000000000000001u, "0.0",                std::nullopt},
    {"-44100",                 0xC00E, 0xAC44000000000000u, "-44.1",              std::nullopt},
    {"2^32 - 1",               0x401E, 0xFFFFFFFF00000000u, "4294967.3",          0xFFFFFFFFu},
    {"2^32 - 0.75",            0x401E, 0xFFFFFFFF40000000u, "4294967.3",          0xFFFFFFFFu},
    {"2^32 - 0.5, a tie",      0x401E, 0xFFFFFFFF80000000u, "4294967.3",          std::nullopt},
    {"2^32 + 44100",           0x401F, 0x8000562200000000u, "4295011.4",          std::nullopt},
    {"2^63",                   0x403E, 0x8000000000000000u, "9223372036854775.8", std::nullopt},
    {"2^81",                   0x4050, 0x8000000000000000u, "2.41785163922925835E21", std::nullopt},
    {"infinity",               0x7FFF, 0x8000000000000000u, "INF",                std::nullopt},
    {"negative infinity",      0xFFFF, 0x8000000000000000u, "-INF",               std::nullopt},
    {"quiet NaN",              0x7FFF, 0xC000000000000000u, "NAN",                std::nullopt},
    {"signalling NaN",         0x7FFF, 0x8000000000000001u, "NAN",                std::nullopt},
    {"refused pattern",        0x400E, 0x2C44000000000000u, "NAN",                std::nullopt},
};
// clang-format on

}  // namespace quennix::test
