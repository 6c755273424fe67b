#include "aifc/source_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "fixtures.h"
#include "memory_platform.h"

namespace quennix {
namespace {

using test::AifcFields;
using test::Bytes;

struct ReadBack {
  SourceInfo info;
  std::uint64_t position;  // where the sound bytes to copy begin
};

std::optional<ReadBack> readBack(const Bytes& bytes) {
  test::MemoryByteSource input(bytes);
  SourceHeader header = readSourceHeader(input);
  if (header.outcome != HeaderOutcome::accepted) return std::nullopt;
  return ReadBack{header.info, header.info.soundOffset};
}

AifcFields typicalFields() {
  AifcFields fields;
  fields.channels = 2;
  fields.sampleFrames = 3;
  fields.sampleSize = 16;
  fields.leadWord = 0x1234;
  fields.sound = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  return fields;
}

Bytes comm(std::uint32_t size, const Bytes& body) {
  Bytes bytes = test::bytesOf("COMM");
  test::appendBigEndian32(bytes, size);
  test::append(bytes, body);
  return bytes;
}

TEST(ReadSourceHeader, ClassicLayoutWithOddCommonChunk) {
  AifcFields fields = typicalFields();  // a one-byte compression name: S = 23 and a pad byte
  std::optional<ReadBack> got = readBack(aifcFile(fields));
  ASSERT_TRUE(got);
  EXPECT_EQ(got->info.common.channels, 2);
  EXPECT_EQ(got->info.common.sampleFrames, 3u);
  EXPECT_EQ(got->info.common.sampleSize, 16);
  EXPECT_EQ(roundToInt64(got->info.common.sampleRate), 44100);
  EXPECT_EQ(got->info.soundHead.leadWord, 0x1234);
  EXPECT_EQ(got->info.soundByteCount, 10u);
  EXPECT_EQ(got->position, 74) << "the Sound Data header at 56, its head of 10 bytes after it";
}

// Where the sound bytes start and how many there are, for the layouts that
// real writers produce; every one must find the same fields.
TEST(ReadSourceHeader, FindsTheChunksOfEveryCommonLayout) {
  const Bytes name = test::chunk("NAME", test::bytesOf("Tone"));
  const Bytes annotation = test::chunk("ANNO", test::bytesOf("odd"));  // odd size and its pad byte
  const Bytes evenName = {14, 'n', 'o', 't', ' ', 'c', 'o', 'm', 'p', 'r', 'e', 's', 's', 'e', 'd', 0};
  struct Row {
    const char* what;
    Bytes compressionName;
    Bytes beforeCommon, afterCommon, trailing;
    bool soundFirst;
    std::uint32_t formSize;  // 0: the true size
  };
  // clang-format off
  const Row rows[] = {
      {"even S = 24 (padded pstring)", {0, 0}, {}, {}, {}, false, 0},
      {"even S = 38", evenName, {}, {}, {}, false, 0},
      {"metadata before COMM", evenName, name, {}, {}, false, 0},
      {"metadata between COMM and SSND", {0, 0}, {}, annotation, {}, false, 0},
      {"SSND first, COMM last", evenName, name, annotation, {}, true, 0},
      {"trailing chunks", {0}, {}, {}, annotation, false, 0},
      {"FORM size 0", {0}, {}, {}, {}, false, 1},
  };
  // clang-format on
  for (const Row& row : rows) {
    AifcFields fields = typicalFields();
    fields.compressionName = row.compressionName;
    fields.beforeCommon = row.beforeCommon;
    fields.afterCommon = row.afterCommon;
    fields.trailing = row.trailing;
    fields.soundFirst = row.soundFirst;
    Bytes file = aifcFile(fields);
    if (row.formSize != 0) std::fill(file.begin() + 4, file.begin() + 8, 0);
    std::optional<ReadBack> got = readBack(file);
    ASSERT_TRUE(got) << row.what;
    EXPECT_EQ(got->info.common.channels, 2) << row.what;
    EXPECT_EQ(got->info.soundHead.leadWord, 0x1234) << row.what;
    EXPECT_EQ(got->info.soundByteCount, 10u) << row.what;
    Bytes soundChunk = test::chunk("SSND", soundDataBody(fields));
    auto at = std::search(file.begin(), file.end(), soundChunk.begin(), soundChunk.end());
    EXPECT_EQ(got->position, (at - file.begin()) + 18) << row.what;
  }
}

TEST(ReadSourceHeader, FallsBackToTheFixedLayoutOnlyWithBothIdentifiers) {
  // A format version chunk whose size field is wrong derails the walk; the
  // classic places still hold "COMM" and "SSND".
  Bytes file = aifcFile(typicalFields());
  std::fill(file.begin() + 16, file.begin() + 20, 0xEE);
  std::optional<ReadBack> got = readBack(file);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->info.soundHead.leadWord, 0x1234);
  EXPECT_EQ(got->info.soundByteCount, 10u);
  EXPECT_EQ(got->position, 74);
  for (std::size_t at : {std::size_t{24}, std::size_t{56}}) {
    Bytes renamed = file;
    std::copy_n("ZZZZ", 4, renamed.begin() + static_cast<std::ptrdiff_t>(at));
    EXPECT_FALSE(readBack(renamed)) << "no chunk identifier at " << at;
  }
}

TEST(ReadSourceHeader, CommonChunkOfSize21EndsInItsPadByte) {
  // The pad byte of a 21-byte Common chunk is the last byte of compressionType.
  Bytes body = commonBody(typicalFields());
  body.resize(21);
  Bytes file = test::bytesOf("FORMxxxxAIFC");
  test::append(file, test::chunk("FVER", {0, 0, 0, 0}));
  test::append(file, comm(21, body));
  file.push_back('E');  // the pad byte
  test::append(file, test::chunk("SSND", soundDataBody(typicalFields())));
  std::optional<ReadBack> got = readBack(file);
  ASSERT_TRUE(got);
  EXPECT_EQ(std::string(got->info.common.compressionType.begin(), got->info.common.compressionType.end()), "NONE");
  EXPECT_EQ(got->position, 54 + 8 + 10);
}

TEST(ReadSourceHeader, NonzeroOffsetIsNotHonoured) {
  AifcFields fields = typicalFields();
  fields.offset = 4;
  fields.blockSize = 4096;
  std::optional<ReadBack> got = readBack(aifcFile(fields));
  ASSERT_TRUE(got);
  EXPECT_EQ(got->info.soundHead.leadWord, 0x1234);
  EXPECT_EQ(got->position, 74);
}

TEST(ReadSourceHeader, SoundByteCountsFromZeroToWhatTheFolderSizeHolds) {
  const struct {
    std::uint32_t soundDataSize;
    std::uint32_t soundByteCount;
  } rows[] = {{10, 0}, {11, 1}, {0xFFFFFFC1, 0xFFFFFFB7}};  // 72 + 0xFFFFFFB7 = 0xFFFFFFFF
  for (const auto& row : rows) {
    AifcFields fields = typicalFields();
    fields.sound.clear();
    Bytes file = aifcFile(fields);
    Bytes size;
    test::appendBigEndian32(size, row.soundDataSize);
    std::copy(size.begin(), size.end(), file.begin() + 60);
    std::optional<ReadBack> got = readBack(file);
    ASSERT_TRUE(got) << row.soundDataSize;
    EXPECT_EQ(got->info.soundByteCount, row.soundByteCount);
  }
}

TEST(ReadSourceHeader, RefusesWhatIsNoAcceptedAifcFile) {
  struct Row {
    const char* what;
    Bytes file;
  };
  auto withFormType = [](const std::string& type) {
    AifcFields fields = typicalFields();
    fields.formType = type;
    return aifcFile(fields);
  };
  auto withChunkId = [](const std::string& id) {
    Bytes file = aifcFile(typicalFields());
    std::copy(id.begin(), id.end(), file.begin());
    return file;
  };
  auto withSizeAt = [](std::size_t offset, std::uint32_t size) {
    Bytes file = aifcFile(typicalFields());
    Bytes raw;
    test::appendBigEndian32(raw, size);
    std::copy(raw.begin(), raw.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
    return file;
  };
  // clang-format off
  const Row rows[] = {
      {"form type AIFF", withFormType("AIFF")},
      {"form type aifc", withFormType("aifc")},
      {"form type AIF and NUL", withFormType(std::string("AIF\0", 4))},
      {"chunk id form", withChunkId("form")},
      {"chunk id RIFF", withChunkId("RIFF")},
      {"Common chunk size 20", withSizeAt(28, 20)},
      {"Common chunk size 0", withSizeAt(28, 0)},
      {"Sound Data chunk size 9", withSizeAt(60, 9)},
      {"Sound Data chunk size 8 (would wrap)", withSizeAt(60, 8)},
      {"Common chunk size 2^32 - 1", withSizeAt(28, 0xFFFFFFFF)},
      {"Sound Data chunk size 2^32 - 1 (unknown length)", withSizeAt(60, 0xFFFFFFFF)},
      {"Sound Data chunk size 2^32 - 62: 72 + N passes 2^32 - 1", withSizeAt(60, 0xFFFFFFC2)},
      {"empty file", {}},
  };
  // clang-format on
  for (const Row& row : rows) EXPECT_FALSE(readBack(row.file)) << row.what;
}

TEST(ReadSourceHeader, TellsAReadErrorFromAnUnknownFormat) {
  test::MemoryByteSource failing(aifcFile(typicalFields()), 0);
  EXPECT_EQ(readSourceHeader(failing).outcome, HeaderOutcome::readFailed);
  test::MemoryByteSource riff(test::bytesOf("RIFF....WAVEfmt "));
  EXPECT_EQ(readSourceHeader(riff).outcome, HeaderOutcome::unknownFormat);
}

TEST(ReadSourceHeader, HeaderCutShortAtEveryLengthIsRefused) {
  for (bool metadata : {false, true}) {
    AifcFields fields = typicalFields();
    if (metadata) fields.beforeCommon = test::chunk("NAME", test::bytesOf("Cut"));
    Bytes file = aifcFile(fields);
    std::optional<ReadBack> whole = readBack(file);
    ASSERT_TRUE(whole);
    auto soundStart = static_cast<std::size_t>(whole->position);
    for (std::size_t length = 0; length <= file.size(); ++length) {
      Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_EQ(readBack(cut).has_value(), length >= soundStart) << "cut at " << length;
    }
  }
}

}  // namespace
}  // namespace quennix
