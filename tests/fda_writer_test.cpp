#include "chunky/fda_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include "chunky/container.h"
#include "platform/user_name.h"
#include "test_support.h"

namespace quennix {
namespace {

using test::Bytes;
using test::expectedHead;
using test::hexBytes;

SourceInfo source(std::uint16_t channels, std::uint16_t sampleSize, std::uint16_t leadWord, std::uint32_t n) {
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
    FdaInfo info = *fdaInfoFor(source(0xFFFF, 16, 0x1234, row.n));
    Bytes info28 = hexBytes("FF FF 00 00 10 00 00 00 34 12 00 00 44 AC 00 00 00 00 00 00 FF FF FF FF 00 00 00 00");
    Bytes head = fdaHeadBytes(fdaBurnInfo(row.user, row.stamp), info, row.n);
    EXPECT_EQ(head, expectedHead(row.user, row.stamp, row.n, info28)) << row.user;
    EXPECT_EQ(head.size(), 175 + std::string(row.user).size() + std::string(row.stamp).size());
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
  const struct {
    std::uint16_t word;
    std::uint64_t significand;
    std::optional<std::uint32_t> stored;
    // clang-format off
  } rows[] = {
      {0x400E, 0xAC44000000000000u, 44100},        // 44100.0
      {0x400D, 0xAC45000000000000u, 22050},        // 22050.5
      {0x400D, 0xAC47000000000000u, 22052},        // 22051.5
      {0x400D, 0xAC45000000000001u, 22051},        // 22050.5 + 2^-49
      {0x0000, 0x0000000000000000u, 0},            // zero
      {0xBFFE, 0x8000000000000000u, 0},            // -0.5: a tie, to the even 0
      {0xBFFE, 0x8000000000000001u, std::nullopt},  // just below -0.5: -1
      {0xC00E, 0xAC44000000000000u, std::nullopt},  // -44100.0
      {0x401E, 0xFFFFFFFF00000000u, 0xFFFFFFFFu},  // 2^32 - 1
      {0x401E, 0xFFFFFFFF40000000u, 0xFFFFFFFFu},  // 2^32 - 0.75
      {0x401E, 0xFFFFFFFF80000000u, std::nullopt},  // 2^32 - 0.5: a tie, to the even 2^32
      {0x401F, 0x8000000000000000u, std::nullopt},  // 2^32
      {0x401F, 0x8000562200000000u, std::nullopt},  // 2^32 + 44100
      {0x403E, 0x8000000000000000u, std::nullopt},  // 2^63
      {0x7FFF, 0x8000000000000000u, std::nullopt},  // infinity
      {0x7FFF, 0xC000000000000000u, std::nullopt},  // quiet NaN
      {0x7FFF, 0x8000000000000001u, std::nullopt},  // signalling NaN
      {0x400E, 0x2C44000000000000u, std::nullopt},  // refused pattern
  };
  // clang-format on
  for (const auto& row : rows) {
    Bytes raw = test::extendedBytes(row.word, row.significand);
    EXPECT_EQ(storedSampleRate(extendedFromBigEndian(raw.data())), row.stored)
        << std::hex << row.word << ":" << row.significand;
  }
}

int memoryFile(const Bytes& bytes) {
  int fd = ::memfd_create("fda", MFD_CLOEXEC);
  EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::lseek(fd, 0, SEEK_SET);
  return fd;
}

InputFile memoryInput(const Bytes& bytes) {
  InputFile input;
  input.fd = memoryFile(bytes);
  input.size = bytes.size();
  return input;
}

Bytes contents(int fd) {
  Bytes bytes(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)));
  EXPECT_EQ(::pread(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
  return bytes;
}

TEST(WriteFdaFile, CopiesTheSoundBytesAndZeroFillsWhatIsMissing) {
  const struct {
    const char* what;
    Bytes input;
    std::uint32_t n;
    Bytes sound;
    // clang-format off
  } rows[] = {
      {"whole", {1, 2, 3, 4}, 4, {1, 2, 3, 4}},
      {"short input", {1, 2, 3}, 6, {1, 2, 3, 0, 0, 0}},
      {"empty input", {}, 3, {0, 0, 0}},
      {"no sound bytes", {9, 9}, 0, {}},
  };
  // clang-format on
  for (const auto& row : rows) {
    InputFile input = memoryInput(row.input);
    int output = memoryFile({});
    SourceInfo info = source(2, 16, 7, row.n);
    FileBurnInfo burn = fdaBurnInfo("user", "stamp");
    ASSERT_EQ(writeFdaFileWith(input, output, info, burn), WriteOutcome::done) << row.what;
    Bytes expected = fdaHeadBytes(burn, *fdaInfoFor(info), row.n);
    test::append(expected, row.sound);
    EXPECT_EQ(contents(output), expected) << row.what;
    ::close(input.fd);
    ::close(output);
  }
}

TEST(WriteFdaFile, RefusesARateWithoutStoredValueBeforeWritingAnything) {
  InputFile input = memoryInput({1, 2});
  int output = memoryFile({});
  SourceInfo info = source(1, 8, 0, 2);
  info.common.sampleRate = Extended80{false, 0x7FFF, 0xC000000000000000u};  // quiet NaN
  EXPECT_FALSE(fdaInfoFor(info).has_value());
  EXPECT_EQ(writeFdaFileWith(input, output, info, fdaBurnInfo("", "")), WriteOutcome::unsupportedRate);
  EXPECT_TRUE(contents(output).empty());
  ::close(input.fd);
  ::close(output);
}

TEST(WriteFdaFile, ReportsFailedReadsAndWrites) {
  int output = memoryFile({});
  InputFile unreadable;
  unreadable.fd = ::open("/", O_RDONLY | O_DIRECTORY);  // read() fails with EISDIR
  EXPECT_EQ(writeFdaFileWith(unreadable, output, source(1, 8, 0, 16), fdaBurnInfo("", "")), WriteOutcome::readFailed);
  InputFile input = memoryInput({1, 2});
  int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  EXPECT_EQ(writeFdaFileWith(input, full, source(1, 8, 0, 2), fdaBurnInfo("", "")), WriteOutcome::writeFailed);
  for (int fd : {output, unreadable.fd, input.fd, full}) ::close(fd);
}

}  // namespace
}  // namespace quennix

namespace quennix {
namespace {

TEST(LoginName, KeepsNamesThatFitTheBufferWithTheirNul) {
  const std::string longest(199, 'u');
  const std::string tooLong(200, 'u');
  EXPECT_EQ(storableLoginName(longest.c_str()), longest);
  EXPECT_EQ(storableLoginName(tooLong.c_str()), "");
  EXPECT_EQ(storableLoginName(nullptr), "");
  EXPECT_EQ(storableLoginName("r\xC3\xB6ot"), "r\xC3\xB6ot") << "bytes as stored";
}

}  // namespace
}  // namespace quennix
