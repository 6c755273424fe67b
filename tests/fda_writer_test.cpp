#include "chunky/fda_writer.h"

#include <gtest/gtest.h>

#include "aifc/big_endian.h"
#include "chunky/container.h"
#include "fixtures.h"
#include "memory_platform.h"
#include "platform/login_name.h"

namespace quennix {
namespace {

using test::Bytes;
using test::expectedHead;
using test::hexBytes;

SourceInfo sourceWith(std::uint16_t channels, std::uint16_t sampleSize, std::uint16_t leadWord, std::uint32_t n) {
  SourceInfo info;
  info.common.channels = channels;
  info.common.sampleSize = sampleSize;
  info.common.sampleRate = extendedFromUnsigned(44100);
  info.soundHead.leadWord = leadWord;
  info.soundByteCount = n;
  return info;
}

TEST(FdaContainer, HeadBytesFollowTheWholeFileTable) {
  const struct {
    const char* user;
    const char* stamp;
    std::uint32_t n;
    // clang-format off
  } rows[] = {
      {"root", "March 05, 2024, 12:07:09 AM", 10},
      {"", "July 01, 2025, 12:00:00 PM", 0},  // no user name: FBIF size 26 + D
      {"a.very-long.login", "x", 0xFFFFFFFF},
  };
  // clang-format on
  for (const auto& row : rows) {
    FdaInfo info = *fdaInfoFor(sourceWith(0xFFFF, 16, 0x1234, row.n));
    Bytes info28 = hexBytes("FF FF 00 00 10 00 00 00 34 12 00 00 44 AC 00 00 00 00 00 00 FF FF FF FF 00 00 00 00");
    Bytes head = fdaHeadBytes(fdaBurnInfo(row.user, row.stamp), info, row.n);
    EXPECT_EQ(head, expectedHead(row.user, row.stamp, row.n, info28)) << row.user;
    EXPECT_EQ(head.size(), 175 + std::string(row.user).size() + std::string(row.stamp).size());
    EXPECT_EQ(fdaHeadSize(fdaBurnInfo(row.user, row.stamp)), head.size());
  }
}

TEST(FdaContainer, SizesWrapModulo2To32) {
  const std::uint32_t n = 0xFFFFFFFFu - 72 + 1;  // 2^32 - 72
  EXPECT_EQ(fdaFolderHeader(n).size, 0u);
  EXPECT_EQ(soundDataChunkHeader(n).size, 0xFFFFFFFFu - 68 + 1);
  EXPECT_EQ(fdaFolderHeader(0).size, 72u);
  EXPECT_EQ(soundDataChunkHeader(0).size, 4u);
  EXPECT_EQ(infoChunkHeader().size, 28u);
  FileBurnInfo burn = fdaBurnInfo("", "");
  burn.dateStampLength = 0xFFFFFFFF;  // only the size rule is under test here
  EXPECT_EQ(burnInfoChunkHeader(burn).size, 25u);
}

TEST(StoredSampleRate, RoundsAtFullPrecisionAndRefusesWhatTheFieldCannotHold) {
  for (const test::SampleRateRow& row : test::kSampleRateRows) {
    Bytes raw = row.bytes();
    EXPECT_EQ(storedSampleRate(extendedFromBigEndian(raw.data())), row.stored) << row.what;
  }
}

struct Written {
  WriteOutcome outcome;
  Bytes bytes;
};

Written writeWith(const Bytes& input, std::uint32_t n, bool failsReads = false,
                  std::size_t capacity = std::numeric_limits<std::size_t>::max(),
                  std::size_t memoryLimit = std::numeric_limits<std::size_t>::max()) {
  Bytes file = test::bytesOf("0123456789");  // ten bytes of header before the sound bytes
  test::append(file, input);
  test::MemoryByteSource source(file, failsReads ? 10 : test::kNeverFails);
  test::MemoryByteSink sink(capacity);
  test::MemorySoundMemory memory;
  memory.limit = memoryLimit;
  SourceInfo info = sourceWith(2, 16, 7, n);
  info.soundOffset = 10;
  WriteOutcome outcome = writeFdaFile(source, info, *fdaInfoFor(info), fdaBurnInfo("user", "stamp"), sink, memory);
  EXPECT_EQ(memory.outstanding, 0) << "every block obtained is given back";
  return Written{outcome, sink.bytes};
}

TEST(WriteFdaFile, CopiesTheSoundBytesAndZeroFillsWhatIsMissing) {
  const struct {
    const char* what;
    Bytes input;
    std::uint32_t n;
    Bytes sound;
    // clang-format off
  } rows[] = {
      {"whole",          {1, 2, 3, 4}, 4, {1, 2, 3, 4}},
      {"short input",    {1, 2, 3},    6, {1, 2, 3, 0, 0, 0}},
      {"empty input",    {},           3, {0, 0, 0}},
      {"no sound bytes", {9, 9},       0, {}},
  };
  // clang-format on
  for (const auto& row : rows) {
    Written written = writeWith(row.input, row.n);
    ASSERT_EQ(written.outcome, WriteOutcome::done) << row.what;
    Bytes expected = expectedHead("user", "stamp", row.n, test::infoBytes(2, 16, 7, 44100));
    test::append(expected, row.sound);
    EXPECT_EQ(written.bytes, expected) << row.what;
  }
}

TEST(WriteFdaFile, ReportsFailedReadsWritesAndMemory) {
  const std::size_t head = fdaHeadSize(fdaBurnInfo("user", "stamp"));
  EXPECT_EQ(writeWith({1, 2}, 2, true).outcome, WriteOutcome::readFailed);
  EXPECT_EQ(writeWith({1, 2}, 2, false, head - 1).outcome, WriteOutcome::writeFailed) << "the head does not fit";
  EXPECT_EQ(writeWith({1, 2}, 2, false, head + 1).outcome, WriteOutcome::writeFailed) << "the sound bytes do not";
  EXPECT_EQ(writeWith({1, 2}, 2, false, head + 2).outcome, WriteOutcome::done);
  Written noMemory = writeWith({1, 2}, 2, false, std::numeric_limits<std::size_t>::max(), 1);
  EXPECT_EQ(noMemory.outcome, WriteOutcome::outOfMemory);
  EXPECT_EQ(noMemory.bytes.size(), head);
}

TEST(FdaInfo, FieldsWidenToThirtyTwoBitsUnsigned) {
  FdaInfo info = *fdaInfoFor(sourceWith(0xFFFF, 0xFFFF, 0xFFFF, 0));
  EXPECT_EQ(info.channels, 65535u);
  EXPECT_EQ(info.sampleSize, 65535u);
  EXPECT_EQ(info.leadWord, 65535u);
  EXPECT_EQ(info.infoValue2, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace quennix

namespace quennix {
namespace {

TEST(LoginName, KeepsNamesThatFitTheBufferWithTheirNul) {
  const std::string longest(199, 'u');
  const std::string tooLong(200, 'u');
  EXPECT_EQ(storableLoginName(longest), longest);
  EXPECT_EQ(storableLoginName(tooLong), "");
  EXPECT_EQ(storableLoginName(std::nullopt), "");
  EXPECT_EQ(storableLoginName("r\xC3\xB6ot"), "r\xC3\xB6ot") << "bytes as stored";
}

}  // namespace
}  // namespace quennix
