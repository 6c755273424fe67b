// The real program, run in a temporary directory: console bytes, output
// files and exit status.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <functional>
#include <regex>

#include "fixtures.h"
#include "posix_program.h"

namespace quennix {
namespace {

using test::AifcFields;
using test::Bytes;
using test::kBannerLine;
using test::lines;
using test::RunOptions;
using test::RunResult;
using test::TempDir;

using test::kUsageLine;

using test::BurnFields;
using test::burnFieldsOf;
using test::kSampleSummary;
using test::sampleInput;

std::string loginName() {
  struct passwd* entry = ::getpwuid(::geteuid());
  return entry != nullptr ? entry->pw_name : "";
}

RunResult runIn(const TempDir& dir, const std::vector<std::string>& arguments, RunOptions options = {}) {
  options.directory = dir.path;
  return test::runQuennix(arguments, options);
}

TEST(Program, ArgumentsFromTheCommandLine) {
  TempDir dir;
  const struct {
    std::vector<std::string> arguments;
    std::string output;
  } rows[] = {
      {{}, kBannerLine + kUsageLine},
      {{"", ""}, kBannerLine + kUsageLine},
      {{"--version"}, kBannerLine},
      {{"nothing.aifc", "--help"}, kBannerLine + lines({"Find 0 files"})},
  };
  for (const auto& row : rows) {
    RunResult run = runIn(dir, row.arguments);
    EXPECT_EQ(run.output, row.output) << row.arguments.size();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
  }
  RunResult help = runIn(dir, {"-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(runIn(dir, {"--help"}).output, help.output);
  EXPECT_TRUE(help.output.starts_with(kBannerLine + kUsageLine + "\r\n")) << help.output;
  EXPECT_NE(help.output.find("man quennix"), std::string::npos);
  EXPECT_TRUE(test::filesIn(dir.path).empty()) << "help converts nothing";
}

TEST(Program, MasksThatFindNoFileGiveACountOfZero) {
  TempDir dir;
  ::mkdir(dir.file("folder.aifc").c_str(), 0755);
  ::symlink("folder.aifc", dir.file("link.aifc").c_str());
  for (const char* mask :
       {"*.aifc", "folder.aifc", "link.aifc", "nothing.aifc", "missing/*.aifc", ".", "..", "*", "folder.aifc/"}) {
    RunResult run = runIn(dir, {mask});
    EXPECT_EQ(run.output, kBannerLine + lines({"Find 0 files"})) << mask;
    EXPECT_EQ(run.status, 0) << mask;
  }
}

TEST(Program, ConvertsOneFileIntoItsFdaFile) {
  TempDir dir;
  const Bytes sound = {1, 2, 3, 4, 5, 6, 7};
  test::writeFile(dir.file("song.aifc"), sampleInput(sound));
  std::time_t before = std::time(nullptr);
  RunResult run = runIn(dir, {"song.aifc"});
  std::time_t after = std::time(nullptr);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 1 files", "[1/1] song.aifc " + kSampleSummary + "done"}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "");

  Bytes fda = test::readFile(dir.file("song.fda"));
  BurnFields burn = burnFieldsOf(fda);
  EXPECT_EQ(burn.user, loginName());
  EXPECT_TRUE(std::regex_match(burn.stamp, std::regex("(January|February|March|April|May|June|July|August|September|"
                                                      "October|November|December) [0-3][0-9], [0-9]{4}, "
                                                      "(1[0-2]|[1-9]):[0-5][0-9]:[0-5][0-9] (AM|PM)")))
      << burn.stamp;
  EXPECT_LE(after - before, 5);
  Bytes info28 = test::hexBytes("02 00 00 00 10 00 00 00 74 01 00 00 44 AC 00 00 00 00 00 00 FF FF FF FF 00 00 00 00");
  Bytes expected = test::expectedHead(burn.user, burn.stamp, 7, info28);
  test::append(expected, sound);
  EXPECT_EQ(fda, expected);
}

using test::infoBytes;

// Each row makes one input (and what stands around it) in the folder of one
// run of the real program over "*.aifc"; its line and what it leaves follow.
TEST(Program, EveryOutcomeOfOneFile) {
  using Make = std::function<void(const TempDir&, const std::string& name)>;
  struct Row {
    const char* name;
    Make make;
    std::string ending;             // after the prefix
    std::vector<std::string> left;  // the output names that exist afterwards
  };
  const Bytes valid = sampleInput({5, 6, 7, 8});
  auto file = [](Bytes bytes) {
    return [bytes](const TempDir& dir, const std::string& name) { test::writeFile(dir.file(name), bytes); };
  };
  auto withFields = [](const std::function<void(AifcFields&)>& change) {
    AifcFields fields;
    fields.leadWord = 372;
    change(fields);
    return aifcFile(fields);
  };
  Bytes unknownLength = valid;  // a streaming writer's placeholder size
  std::fill(unknownLength.begin() + 60, unknownLength.begin() + 64, 0xFF);
  Bytes noSound =
      withFields([](AifcFields& f) { f.afterCommon = test::chunk("ANNO", test::bytesOf("text that is no sound")); });
  noSound.resize(noSound.size() - 18);  // the Sound Data chunk removed, the annotation last
  Bytes unpadded = valid;               // the Common chunk of size 23 without its pad byte
  unpadded.erase(unpadded.begin() + 55);
  Bytes cut = valid;  // the last two sound bytes are missing: zero-filled
  cut.resize(cut.size() - 2);
  const std::string summary = kSampleSummary;
  // clang-format off
  const Row rows[] = {
      {"dangling.aifc", [](const TempDir& d, const std::string& n) { ::symlink("nowhere", d.file(n).c_str()); },
       "Error open file.", {}},
      {"fifo.aifc",     [](const TempDir& d, const std::string& n) { ::mkfifo(d.file(n).c_str(), 0644); },
       "Error open file.", {}},
      {"zero.aifc",     [](const TempDir& d, const std::string& n) { ::symlink("/dev/zero", d.file(n).c_str()); },
       "Error open file.", {}},
      {"riff.aifc",     file(test::bytesOf("RIFF....WAVEfmt ")), "Unknown file format.", {}},
      {"nosound.aifc",  file(noSound),       "Unknown file format.", {}},
      {"unpadded.aifc", file(unpadded),      "Unknown file format.", {}},
      {"streamed.aifc", file(unknownLength), "Unknown file format.", {}},
      {"folder.aifc",   [&](const TempDir& d, const std::string& n) { test::writeFile(d.file(n), valid); ::mkdir(d.file("folder.fda").c_str(), 0755); },
       summary + "Error create file.", {"folder.fda"}},
      {"hard.aifc",     [&](const TempDir& d, const std::string& n) { test::writeFile(d.file(n), valid); ::link(d.file(n).c_str(), d.file("hard.fda").c_str()); },
       summary + "Error create file.", {"hard.fda"}},
      {"soft.aifc",     [&](const TempDir& d, const std::string& n) { test::writeFile(d.file(n), valid); ::symlink(n.c_str(), d.file("soft.fda").c_str()); },
       summary + "Error create file.", {"soft.fda"}},
      {"take.fda",      file(valid), summary + "Error create file.", {"take.fda"}},
      {"short.aifc",    file(cut),   summary + "done", {"short.fda"}},
      {"dir.old\\song",  file(valid), summary + "done", {"dir.fda"}},
      {"song",          file(valid), summary + "done", {"song.fda"}},
  };
  // clang-format on
  for (const Row& row : rows) {
    TempDir dir;
    row.make(dir, row.name);
    RunResult run = runIn(dir, {row.name});
    EXPECT_EQ(run.output, kBannerLine + lines({"Find 1 files", std::string("[1/1] ") + row.name + " " + row.ending}))
        << row.name;
    EXPECT_EQ(run.status, 0);
    std::vector<std::string> outputs;
    for (const std::string& name : test::filesIn(dir.path)) {
      if (name.ends_with(".fda")) outputs.push_back(name);
    }
    EXPECT_EQ(outputs, row.left) << row.name;
    if (row.ending.ends_with("Error create file.")) {
      EXPECT_EQ(test::readFile(dir.file(row.name)), valid) << row.name << ": the input is left as it was";
    }
  }
  TempDir dir;
  test::writeFile(dir.file("short.aifc"), cut);
  runIn(dir, {"short.aifc"});
  Bytes fda = test::readFile(dir.file("short.fda"));
  EXPECT_EQ(Bytes(fda.end() - 4, fda.end()), (Bytes{5, 6, 0, 0}));
}

TEST(Program, WholeOutputFilesFollowTheFormat) {
  struct Row {
    const char* name;
    std::uint16_t leadWord, channels, sampleSize;
    Bytes sound;          // in the input
    std::size_t missing;  // declared sound bytes the input lacks, zero-filled
    const char* summary;
  };
  // clang-format off
  const Row rows[] = {
      {"r1.aifc", 372,   2,     16, {1, 2, 3, 4, 5, 6, 7}, 0, "(64.1kbps, 44.1kHz, 2ch)..."},
      {"r2.aifc", 743,   2,     16, {},                    0, "(128.0kbps, 44.1kHz, 2ch)..."},
      {"r3.aifc", 0,     1,     8,  {5, 6},                2, "(0.0kbps, 44.1kHz, 1ch)..."},
      {"r4.aifc", 500,   0,     16, {9},                   0, "(0.0kbps, 44.1kHz, 0ch)..."},
      {"r5.aifc", 65535, 65535, 24, {1, 2},                0, "(369926323.3kbps, 44.1kHz, 65535ch)..."},
      {"r6.aifc", 256,   1,     16, {},                    3, "(22.1kbps, 44.1kHz, 1ch)..."},
  };
  // clang-format on
  TempDir dir;
  std::vector<std::string> expectedLines = {"Find 6 files"};
  int position = 0;
  for (const Row& row : rows) {
    AifcFields fields;
    fields.leadWord = row.leadWord;
    fields.channels = row.channels;
    fields.sampleSize = row.sampleSize;
    fields.sound = row.sound;
    fields.sound.resize(row.sound.size() + row.missing);
    Bytes input = aifcFile(fields);
    input.resize(input.size() - row.missing);
    test::writeFile(dir.file(row.name), input);
    expectedLines.push_back("[" + std::to_string(++position) + "/6] " + row.name + " " + row.summary + "done");
  }
  RunResult run = runIn(dir, {"*.aifc"});
  EXPECT_EQ(run.output, kBannerLine + lines(expectedLines));
  for (const Row& row : rows) {
    Bytes fda = test::readFile(dir.file(std::string(row.name).substr(0, 2) + ".fda"));
    BurnFields burn = burnFieldsOf(fda);
    EXPECT_EQ(burn.user, loginName());
    auto n = static_cast<std::uint32_t>(row.sound.size() + row.missing);
    Bytes expected =
        test::expectedHead(burn.user, burn.stamp, n, infoBytes(row.channels, row.sampleSize, row.leadWord, 44100));
    test::append(expected, row.sound);
    expected.resize(expected.size() + row.missing);
    EXPECT_EQ(fda, expected) << row.name;
  }
}

TEST(Program, EverySampleRateIsStoredOrRefused) {
  TempDir dir;
  std::vector<std::string> expectedLines = {"Find " + std::to_string(test::kSampleRateRows.size()) + " files"};
  auto nameOf = [](std::size_t i, const char* extension) {
    return std::string(i < 10 ? "rate-0" : "rate-") + std::to_string(i) + extension;
  };
  for (std::size_t i = 0; i < test::kSampleRateRows.size(); ++i) {
    const test::SampleRateRow& row = test::kSampleRateRows[i];
    std::string name = nameOf(i, ".aifc");
    AifcFields fields;
    fields.leadWord = 372;
    fields.sampleRate = row.bytes();
    fields.sound = {7};
    test::writeFile(dir.file(name), aifcFile(fields));
    expectedLines.push_back("[" + std::to_string(i + 1) + "/" + std::to_string(test::kSampleRateRows.size()) + "] " +
                            name + " (64.1kbps, " + row.kilohertz + "kHz, 2ch)..." +
                            (row.stored ? "done" : "Unsupported sample rate."));
  }
  RunResult run = runIn(dir, {"rate-*.aifc"});
  EXPECT_EQ(run.output, kBannerLine + lines(expectedLines));
  for (std::size_t i = 0; i < test::kSampleRateRows.size(); ++i) {
    const test::SampleRateRow& row = test::kSampleRateRows[i];
    std::string name = nameOf(i, ".fda");
    if (!row.stored) {
      EXPECT_FALSE(test::fileExists(dir.file(name))) << row.what;
      continue;
    }
    Bytes fda = test::readFile(dir.file(name));
    BurnFields burn = burnFieldsOf(fda);
    Bytes expected = test::expectedHead(burn.user, burn.stamp, 1, infoBytes(2, 16, 372, *row.stored));
    expected.push_back(7);
    EXPECT_EQ(fda, expected) << row.what;
  }
}

// libfaketime moves the clock on by two seconds at every reading, so that
// each file's stamp is known in advance.
std::string fakeTimeLibrary() {
#if defined(__x86_64__)
  const std::string path = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
#elif defined(__aarch64__)
  const std::string path = "/usr/lib/aarch64-linux-gnu/faketime/libfaketime.so.1";
#else
  const std::string path;
#endif
  return !path.empty() && test::fileExists(path) ? path : "";
}

TEST(Program, EveryFileCarriesTheStampOfItsOwnConversion) {
  if (fakeTimeLibrary().empty()) GTEST_SKIP() << "libfaketime is not installed (.ci/run installs it)";
  if (test::underAddressSanitizer()) GTEST_SKIP() << "AddressSanitizer must be the first library loaded";
  if (!test::emulatorCommand().empty()) GTEST_SKIP() << "the emulator would take the preloaded library";
  TempDir dir;
  test::writeFile(dir.file("one.aifc"), sampleInput({1}));
  test::writeFile(dir.file("two.aifc"), sampleInput({2, 2}));
  RunOptions options;
  options.environment = {{"LD_PRELOAD", fakeTimeLibrary()},
                         {"FAKETIME", "@2024-03-05 00:07:09 i2.0"},
                         {"FAKETIME_DONT_RESET", "1"},
                         {"TZ", "UTC0"},
                         {"LC_ALL", "C"}};
  RunResult run = runIn(dir, {"*.aifc"}, options);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 2 files", "[1/2] one.aifc " + kSampleSummary + "done",
                                             "[2/2] two.aifc " + kSampleSummary + "done"}));
  const struct {
    const char* name;
    const char* stamp;
    Bytes sound;
  } files[] = {{"one.fda", "March 05, 2024, 12:07:09 AM", {1}}, {"two.fda", "March 05, 2024, 12:07:11 AM", {2, 2}}};
  for (const auto& file : files) {
    Bytes expected = test::expectedHead(loginName(), file.stamp, static_cast<std::uint32_t>(file.sound.size()),
                                        infoBytes(2, 16, 372, 44100));
    test::append(expected, file.sound);
    EXPECT_EQ(test::readFile(dir.file(file.name)), expected) << file.name << " should carry " << file.stamp;
  }
}

TEST(Program, WithoutALoginNameTheNameIsEmpty) {
  constexpr int kUnknownUser = 54321;
  if (::geteuid() != 0) GTEST_SKIP() << "running as another user needs root";
  if (::getpwuid(kUnknownUser) != nullptr) GTEST_SKIP() << "user id " << kUnknownUser << " exists here";
  TempDir dir;
  ::chmod(dir.path.c_str(), 0777);
  test::writeFile(dir.file("song.aifc"), sampleInput({4, 3}));
  ::chmod(dir.file("song.aifc").c_str(), 0644);
  RunOptions options;
  options.userId = kUnknownUser;
  RunResult run = runIn(dir, {"song.aifc"}, options);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 1 files", "[1/1] song.aifc " + kSampleSummary + "done"}));
  Bytes fda = test::readFile(dir.file("song.fda"));
  BurnFields burn = burnFieldsOf(fda);
  EXPECT_EQ(burn.user, "");
  Bytes expected = test::expectedHead("", burn.stamp, 2, infoBytes(2, 16, 372, 44100));
  test::append(expected, Bytes{4, 3});
  EXPECT_EQ(fda, expected);
}

TEST(Program, AConsoleThatCannotBeWrittenDoesNotStopTheRun) {
  TempDir dir;
  test::writeFile(dir.file("a.aifc"), sampleInput());
  test::writeFile(dir.file("b.aifc"), sampleInput());
  RunOptions options;
  options.closedConsole = true;
  RunResult run = runIn(dir, {"*.aifc"}, options);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(test::fileExists(dir.file("a.fda")));
  EXPECT_TRUE(test::fileExists(dir.file("b.fda")));
}

TEST(Program, ListsHiddenFilesAndSortsByByteValue) {
  TempDir dir;
  for (const char* name : {"b.aifc", "B.aifc", ".h.aifc", "a.aifc", "a.aifcx", "100%d %s.aifc"})
    test::writeFile(dir.file(name), sampleInput());
  RunResult run = runIn(dir, {"*.aifc"});
  EXPECT_EQ(
      run.output,
      kBannerLine + lines({"Find 5 files", "[1/5] .h.aifc " + kSampleSummary + "done",
                           "[2/5] 100%d %s.aifc " + kSampleSummary + "done", "[3/5] B.aifc " + kSampleSummary + "done",
                           "[4/5] a.aifc " + kSampleSummary + "done", "[5/5] b.aifc " + kSampleSummary + "done"}));
  EXPECT_TRUE(test::fileExists(dir.file(".h.fda")));
  EXPECT_TRUE(test::fileExists(dir.file("100%d %s.fda")));
}

TEST(Program, WildcardsAndLiteralBytesOfAMask) {
  TempDir dir;
  for (const char* name : {"a1.aifc", "a22.aifc", "[ab].aifc", "a\\b.aifc", "x.AIFC"})
    test::writeFile(dir.file(name), test::bytesOf("not a sound file"));
  const struct {
    const char* mask;
    int count;
  } rows[] = {{"a?.aifc", 1}, {"a*.aifc", 3}, {"[ab].aifc", 1}, {"a\\b.aifc", 1}, {"*.aifc", 4},
              {"*", 5},       {"*.AIFC", 1},  {"?", 0},         {"**a*?*", 4}};
  for (const auto& row : rows) {
    RunResult run = runIn(dir, {row.mask});
    EXPECT_EQ(run.output.substr(kBannerLine.size(), 16).find("Find " + std::to_string(row.count) + " files"), 0u)
        << row.mask << ": " << run.output;
  }
}

TEST(Program, AnOutputThisRunCompletedIsNeverReplacedByALaterEntry) {
  TempDir dir;
  test::writeFile(dir.file("song.fda"), test::bytesOf("from an earlier run"));  // replaced without a question
  test::writeFile(dir.file("song.aifc"), sampleInput({1}));
  test::writeFile(dir.file("song.aifr"), sampleInput({2, 2}));
  ::mkdir(dir.file("d1").c_str(), 0755);
  ::mkdir(dir.file("d2").c_str(), 0755);
  test::writeFile(dir.file("d1/a.aifc"), sampleInput({3}));
  test::writeFile(dir.file("d2/a.aifc"), sampleInput({4, 4}));
  RunResult run = runIn(dir, {"song.aif*", "d1/a.aifc", "d2/a.aifc"});
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 4 files", "[1/4] song.aifc " + kSampleSummary + "done",
                                             "[2/4] song.aifr " + kSampleSummary + "Error create file.",
                                             "[3/4] a.aifc " + kSampleSummary + "done",
                                             "[4/4] a.aifc " + kSampleSummary + "Error create file."}));
  Bytes song = test::readFile(dir.file("song.fda"));
  EXPECT_EQ(song.back(), 1) << "the first entry's output stays";
  Bytes a = test::readFile(dir.file("a.fda"));
  EXPECT_EQ(a.back(), 3);
  EXPECT_EQ(test::filesIn(dir.path),
            (std::vector<std::string>{"a.fda", "d1", "d2", "song.aifc", "song.aifr", "song.fda"}));
}

TEST(Program, NamesAreShownWithoutTheirControlBytes) {
  TempDir dir;
  test::writeFile(dir.file("a\rb\nc\x1B[2Jd\x7F\xC3\xA9.aifc"), sampleInput());
  RunResult run = runIn(dir, {"*.aifc"});
  EXPECT_EQ(run.output,
            kBannerLine + lines({"Find 1 files", "[1/1] a?b?c?[2Jd?\xC3\xA9.aifc " + kSampleSummary + "done"}));
  EXPECT_TRUE(test::fileExists(dir.file("a\rb\nc\x1B[2Jd\x7F\xC3\xA9.fda")));
}

TEST(Program, EachFileIsListedOnceWhateverThePathThatFindsIt) {
  TempDir dir;
  test::writeFile(dir.file("a.aifc"), sampleInput());
  test::writeFile(dir.file("b.aifc"), sampleInput());
  ::link(dir.file("b.aifc").c_str(), dir.file("c.aifc").c_str());
  ::symlink("a.aifc", dir.file("link.aifc").c_str());
  RunResult run = runIn(dir, {"a.aifc", "./a.aifc", "*.aifc", dir.file("b.aifc")});
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 2 files", "[1/2] a.aifc " + kSampleSummary + "done",
                                             "[2/2] b.aifc " + kSampleSummary + "done"}));
}

TEST(Program, AMaskWithADirectoryReadsThereAndWritesHere) {
  TempDir dir;
  ::mkdir(dir.file("in").c_str(), 0755);
  ::mkdir(dir.file("in/deeper.aifc").c_str(), 0755);
  test::writeFile(dir.file("in/song.aifc"), sampleInput());
  RunResult run = runIn(dir, {"in/*.aifc"});
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 1 files", "[1/1] song.aifc " + kSampleSummary + "done"}));
  EXPECT_TRUE(test::fileExists(dir.file("song.fda")));
  EXPECT_FALSE(test::fileExists(dir.file("in/song.fda")));
  RunResult absolute = runIn(dir, {dir.file("in/song.aifc")});
  EXPECT_EQ(absolute.output, run.output);
}

bool isRegularFile(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

TEST(Program, WhatStandsAtTheOutputNameIsReplacedNeverWrittenThrough) {
  TempDir dir;
  TempDir elsewhere;
  const Bytes target = test::bytesOf("a file the link points to");
  test::writeFile(elsewhere.file("target"), target);
  test::writeFile(dir.file("d.aifc"), sampleInput());
  ::mkdir(dir.file("d.fda").c_str(), 0755);
  test::writeFile(dir.file("full.aifc"), sampleInput());
  ::symlink("/dev/full", dir.file("full.fda").c_str());
  test::writeFile(dir.file("link.aifc"), sampleInput());
  ::symlink(elsewhere.file("target").c_str(), dir.file("link.fda").c_str());
  test::writeFile(dir.file("pipe.aifc"), sampleInput());
  ::mkfifo(dir.file("pipe.fda").c_str(), 0644);  // no reader: must not hang
  RunResult run = runIn(dir, {"*.aifc"});
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 4 files", "[1/4] d.aifc " + kSampleSummary + "Error create file.",
                                             "[2/4] full.aifc " + kSampleSummary + "done",
                                             "[3/4] link.aifc " + kSampleSummary + "done",
                                             "[4/4] pipe.aifc " + kSampleSummary + "done"}));
  EXPECT_EQ(run.status, 0);
  for (const char* name : {"full.fda", "link.fda", "pipe.fda"}) EXPECT_TRUE(isRegularFile(dir.file(name))) << name;
  EXPECT_EQ(test::readFile(elsewhere.file("target")), target);
  EXPECT_EQ(test::filesIn(dir.path), (std::vector<std::string>{"d.aifc", "d.fda", "full.aifc", "full.fda", "link.aifc",
                                                               "link.fda", "pipe.aifc", "pipe.fda"}));
}

mode_t modeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(Program, ANewOutputTakesTheUmaskAReplacedOneKeepsItsMode) {
  TempDir dir;
  test::writeFile(dir.file("new.aifc"), sampleInput());
  test::writeFile(dir.file("private.aifc"), sampleInput());
  test::writeFile(dir.file("private.fda"), test::bytesOf("an earlier output"));
  ::chmod(dir.file("private.fda").c_str(), 0600);
  mode_t previous = ::umask(027);  // inherited by the run
  RunResult run = runIn(dir, {"*.aifc"});
  ::umask(previous);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 2 files", "[1/2] new.aifc " + kSampleSummary + "done",
                                             "[2/2] private.aifc " + kSampleSummary + "done"}));
  EXPECT_EQ(modeOf(dir.file("new.fda")), 0640u);
  EXPECT_EQ(modeOf(dir.file("private.fda")), 0600u);
}

TEST(Program, AReadOnlyOutputIsKeptAndAnotherUsersKeepsItsOwner) {
  constexpr int kOtherUser = 54321;
  TempDir dir;
  ::chmod(dir.path.c_str(), 0777);
  test::writeFile(dir.file("kept.aifc"), sampleInput());
  test::writeFile(dir.file("kept.fda"), test::bytesOf("read-only"));
  ::chmod(dir.file("kept.fda").c_str(), 0444);
  RunOptions options;
  if (::geteuid() == 0) options.userId = kOtherUser;  // root may write a read-only file
  RunResult run = runIn(dir, {"kept.aifc"}, options);
  EXPECT_EQ(run.output,
            kBannerLine + lines({"Find 1 files", "[1/1] kept.aifc " + kSampleSummary + "Error create file."}));
  EXPECT_EQ(test::readFile(dir.file("kept.fda")), test::bytesOf("read-only"));

  if (::geteuid() != 0) GTEST_SKIP() << "replacing another user's file needs root";
  test::writeFile(dir.file("owned.aifc"), sampleInput());
  test::writeFile(dir.file("owned.fda"), test::bytesOf("another user's output"));
  ASSERT_EQ(::chown(dir.file("owned.fda").c_str(), kOtherUser, kOtherUser), 0);
  ::chmod(dir.file("owned.fda").c_str(), 0640);
  run = runIn(dir, {"owned.aifc"});
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 1 files", "[1/1] owned.aifc " + kSampleSummary + "done"}));
  struct stat st;
  ASSERT_EQ(::stat(dir.file("owned.fda").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, static_cast<uid_t>(kOtherUser));
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Program, AFailedRewriteKeepsTheEarlierOutputAndLeavesNoTemporaryFile) {
  TempDir dir;
  const Bytes earlier = test::bytesOf("the output of an earlier run");
  test::writeFile(dir.file("big.aifc"), sampleInput(Bytes(5000, 7)));
  test::writeFile(dir.file("big.fda"), earlier);
  test::writeFile(dir.file("new.aifc"), sampleInput(Bytes(5000, 8)));
  test::writeFile(dir.file("small.aifc"), sampleInput({1}));
  RunOptions options;
  options.fileSizeLimit = 4096;  // the head fits, the sound bytes do not
  RunResult run = runIn(dir, {"*.aifc"}, options);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 3 files", "[1/3] big.aifc " + kSampleSummary + "Error write file.",
                                             "[2/3] new.aifc " + kSampleSummary + "Error write file.",
                                             "[3/3] small.aifc " + kSampleSummary + "done"}));
  EXPECT_EQ(test::readFile(dir.file("big.fda")), earlier);
  EXPECT_EQ(test::filesIn(dir.path),
            (std::vector<std::string>{"big.aifc", "big.fda", "new.aifc", "small.aifc", "small.fda"}));
}

// A folder on a file system of 256 KiB, mounted in this test's own mount
// namespace (so that nothing outside sees it, and it goes with the test).
struct SmallDisk {
  explicit SmallDisk(const std::string& folder) : path(folder) {
    ::mkdir(path.c_str(), 0755);
    mounted = ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
              ::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=256k") == 0;
  }
  ~SmallDisk() {
    if (mounted) ::umount2(path.c_str(), MNT_DETACH);
  }
  std::string path;
  bool mounted = false;
};

TEST(Program, AFullDiskKeepsTheEarlierOutputAndLeavesNoTemporaryFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  TempDir dir;
  SmallDisk disk(dir.file("disk"));
  if (!disk.mounted) GTEST_SKIP() << "cannot mount a tmpfs here";
  const Bytes earlier = test::bytesOf("the output of an earlier run");
  test::writeFile(dir.file("disk/big.fda"), earlier);
  test::writeFile(dir.file("big.aifc"), sampleInput(Bytes(400 << 10, 7)));  // more than the disk holds
  test::writeFile(dir.file("small.aifc"), sampleInput({1}));
  RunOptions options;
  options.directory = dir.file("disk");
  RunResult run = test::runQuennix({"../*.aifc"}, options);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 2 files", "[1/2] big.aifc " + kSampleSummary + "Error write file.",
                                             "[2/2] small.aifc " + kSampleSummary + "done"}));
  EXPECT_EQ(test::readFile(dir.file("disk/big.fda")), earlier);
  EXPECT_EQ(test::filesIn(dir.file("disk")), (std::vector<std::string>{"big.fda", "small.fda"}));
}

// Waits until something appears in `directory`; false after about ten seconds.
bool waitForAnEntry(const std::string& directory) {
  for (int wait = 0; wait < 20000; ++wait) {
    if (!test::filesIn(directory).empty()) return true;
    ::usleep(500);
  }
  return false;
}

TEST(Program, TwoRunsWritingTheSameOutputLeaveOneWholeFile) {
  // A long conversion starts first; a short one of the same output name
  // starts while it is being written and ends before it.
  struct Source {
    const char* path;
    std::uint16_t channels;
    std::size_t soundSize;
    std::uint8_t fill;
  };
  const Source sources[] = {{"one/take.aifc", 2, 64 << 20, 1}, {"two/take.aifc", 1, 1 << 20, 2}};
  TempDir dir;
  for (const char* folder : {"one", "two", "out"}) ::mkdir(dir.file(folder).c_str(), 0755);
  for (const Source& source : sources) {
    AifcFields fields;
    fields.leadWord = 372;
    fields.channels = source.channels;
    fields.sound = Bytes(source.soundSize, source.fill);
    test::writeFile(dir.file(source.path), aifcFile(fields));
  }
  RunOptions options;
  options.directory = dir.file("out");
  test::RunningQuennix first = test::startQuennix({std::string("../") + sources[0].path}, options);
  ASSERT_TRUE(waitForAnEntry(dir.file("out")));
  test::RunningQuennix second = test::startQuennix({std::string("../") + sources[1].path}, options);
  EXPECT_EQ(test::finishQuennix(second).status, 0);
  EXPECT_EQ(test::finishQuennix(first).status, 0);

  Bytes fda = test::readFile(dir.file("out/take.fda"));
  ASSERT_FALSE(fda.empty());
  const Source* source = fda.back() == sources[0].fill ? &sources[0] : &sources[1];
  BurnFields burn = burnFieldsOf(fda);
  Bytes expected = test::expectedHead(burn.user, burn.stamp, static_cast<std::uint32_t>(source->soundSize),
                                      infoBytes(source->channels, 16, 372, 44100));
  expected.resize(expected.size() + source->soundSize, source->fill);
  EXPECT_TRUE(fda == expected) << "not the whole file of " << source->path << ": " << fda.size() << " bytes";
  EXPECT_EQ(test::filesIn(dir.file("out")), std::vector<std::string>{"take.fda"});
}

TEST(Program, AnInterruptedRunLeavesNoTemporaryFile) {
  TempDir dir;
  ::mkdir(dir.file("out").c_str(), 0755);
  // A sparse input whose sound bytes take a while to copy.
  const std::uint32_t soundSize = 1u << 29;
  AifcFields fields;
  fields.leadWord = 372;
  Bytes head = aifcFile(fields);
  for (int i = 0; i < 4; ++i)
    head[60 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((soundSize + 10) >> (24 - 8 * i));
  test::writeFile(dir.file("long.aifc"), head);
  ASSERT_EQ(::truncate(dir.file("long.aifc").c_str(), static_cast<off_t>(head.size() + soundSize)), 0);
  RunOptions options;
  options.directory = dir.file("out");
  test::RunningQuennix running = test::startQuennix({"../long.aifc"}, options);
  ASSERT_TRUE(waitForAnEntry(dir.file("out"))) << "the run never started its output";
  ::kill(running.pid, SIGTERM);
  RunResult run = test::finishQuennix(running);
  EXPECT_EQ(run.status, 128 + SIGTERM) << "the run should still have been copying";
  EXPECT_EQ(test::filesIn(dir.file("out")), std::vector<std::string>{});
}

TEST(Program, MemoryExhaustionEndsTheRunWithTheFailureReport) {
  if (test::underAddressSanitizer())
    GTEST_SKIP() << "AddressSanitizer's shadow memory needs an unlimited address space";
  if (!test::emulatorCommand().empty()) GTEST_SKIP() << "the emulator reserves more address space than the limit";
  TempDir dir;
  test::writeFile(dir.file("a.aifc"), sampleInput());
  AifcFields huge;
  huge.leadWord = 372;
  huge.sound = {1, 2, 3};
  Bytes declared = aifcFile(huge);
  const std::uint32_t soundDataSize = (1u << 30) + 10;  // a gigabyte of sound bytes, declared only
  for (int i = 0; i < 4; ++i)
    declared[60 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(soundDataSize >> (24 - 8 * i));
  test::writeFile(dir.file("b.aifc"), declared);
  test::writeFile(dir.file("b.fda"), test::bytesOf("earlier"));
  test::writeFile(dir.file("c.aifc"), sampleInput());
  RunOptions options;
  options.addressSpaceLimit = std::uint64_t{512} << 20;
  RunResult run = runIn(dir, {"*.aifc"}, options);
  EXPECT_EQ(run.status, 1);
  std::regex report(
      "Find 3 files\r\n\\[1/3\\] a\\.aifc \\(64\\.1kbps, 44\\.1kHz, 2ch\\)\\.\\.\\.done\r\n"
      "\\[2/3\\] b\\.aifc \\(64\\.1kbps, 44\\.1kHz, 2ch\\)\\.\\.\\."
      "Exception EOutOfMemory in module quennix at [0-9A-F]{8}\\.\r\nOut of memory\\.\r\n\r\n");
  EXPECT_TRUE(std::regex_match(run.output.substr(kBannerLine.size()), report)) << run.output;
  EXPECT_EQ(test::readFile(dir.file("b.fda")), test::bytesOf("earlier")) << "no partial output replaces it";
  EXPECT_EQ(test::filesIn(dir.path), (std::vector<std::string>{"a.aifc", "a.fda", "b.aifc", "b.fda", "c.aifc"}));
}

bool localeAvailable(const char* name) {
  locale_t locale = ::newlocale(LC_ALL_MASK, name, nullptr);
  if (locale == nullptr) return false;
  ::freelocale(locale);
  return true;
}

TEST(Program, FollowsTheLocaleOfTheEnvironment) {
  for (const char* name : {"de_DE.UTF-8", "fi_FI.UTF-8"}) {
    if (!localeAvailable(name)) GTEST_SKIP() << name << " is not installed (.ci/run installs it with localedef)";
  }
  TempDir dir;
  test::writeFile(dir.file("song.aifc"), sampleInput());
  RunOptions german;
  german.environment = {{"LC_ALL", "de_DE.UTF-8"}, {"TZ", "UTC0"}};
  RunResult run = runIn(dir, {"song.aifc"}, german);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 1 files", "[1/1] song.aifc (64,1kbps, 44,1kHz, 2ch)...done"}));
  std::string stamp = burnFieldsOf(test::readFile(dir.file("song.fda"))).stamp;
  EXPECT_TRUE(std::regex_match(stamp, std::regex("(Januar|Februar|M\xC3\xA4rz|April|Mai|Juni|Juli|August|September|"
                                                 "Oktober|November|Dezember) .*[0-9]:[0-9]{2}:[0-9]{2} (AM|PM)")))
      << stamp;

  RunOptions finnish;
  finnish.environment = {{"LC_ALL", "fi_FI.UTF-8"}};
  run = runIn(dir, {"song.aifc"}, finnish);
  EXPECT_EQ(run.output, kBannerLine + lines({"Find 1 files", "[1/1] song.aifc (64,1kbps, 44,1kHz, 2ch)...done"}));
  stamp = burnFieldsOf(test::readFile(dir.file("song.fda"))).stamp;
  EXPECT_TRUE(std::regex_match(stamp, std::regex(".* [0-9]{1,2}\\.[0-9]{2}\\.[0-9]{2} (AM|PM)"))) << stamp;
}

TEST(Program, TheStampFollowsTheTimeZone) {
  TempDir dir;
  test::writeFile(dir.file("song.aifc"), sampleInput());
  auto stampUnder = [&](const char* zone, std::time_t& before, std::time_t& after) {
    RunOptions options;
    options.environment = {{"TZ", zone}, {"LC_ALL", "C"}};
    before = std::time(nullptr);
    runIn(dir, {"song.aifc"}, options);
    after = std::time(nullptr);
    return burnFieldsOf(test::readFile(dir.file("song.fda"))).stamp;
  };
  for (const auto& [zone, offsetHours] : {std::pair{"UTC0", 0}, std::pair{"XYZ-9", 9}, std::pair{"ABC+5", -5}}) {
    std::time_t before = 0;
    std::time_t after = 0;
    std::string stamp = stampUnder(zone, before, after);
    bool matched = false;
    for (std::time_t t = before; t <= after && !matched; ++t) {
      std::time_t shifted = t + offsetHours * 3600;
      std::tm utc{};
      ::gmtime_r(&shifted, &utc);
      char expected[64];
      std::strftime(expected, sizeof expected, "%B %d, %Y, %I:%M:%S %p", &utc);
      std::string text = expected;
      std::size_t hour = text.find(", ", text.find(", ") + 1) + 2;
      if (text[hour] == '0') text.erase(hour, 1);  // the hour has no leading zero
      matched = text == stamp;
    }
    EXPECT_TRUE(matched) << zone << ": " << stamp;
  }
}

}  // namespace
}  // namespace quennix
