// The batch's rules in-process, on the platform in memory: outcomes, order,
// counts, collisions, output names, console bytes and flushing.
#include "driver/batch.h"

#include <gtest/gtest.h>

#include <functional>

#include "chunky/fda_writer.h"
#include "fixtures.h"
#include "memory_platform.h"

namespace quennix {
namespace {

using test::AifcFields;
using test::Bytes;
using test::kBannerLine;
using test::lines;
using test::MemoryFileSystem;
using test::MemoryPlatform;

using test::sampleInput;
const std::string& kSummary = test::kSampleSummary;

int runOn(MemoryPlatform& memory, const std::vector<std::string>& arguments) {
  return runQuennix(arguments, memory.platform);
}

std::string consoleOf(const std::vector<std::string>& texts) { return kBannerLine + lines(texts); }

// The FDA file that `name` holds, written at the clock's `reading` (0 first).
Bytes expectedFda(const Bytes& sound, int reading, const std::string& user = "tester") {
  std::string stamp = "March 05, 2024, 12:07:" + std::string(reading < 1 ? "09" : "11") + " AM";
  Bytes expected =
      test::expectedHead(user, stamp, static_cast<std::uint32_t>(sound.size()), test::infoBytes(2, 16, 372, 44100));
  test::append(expected, sound);
  return expected;
}

TEST(Batch, EveryOutcomeEndsItsLine) {
  using Setup = std::function<void(MemoryPlatform&)>;
  struct Row {
    const char* what;
    Setup setup;  // makes "in.aifc" and what stands around it
    std::string line;
    std::vector<std::string> paths;  // the file system afterwards
  };
  AifcFields nan;
  nan.leadWord = 372;
  nan.sampleRate = test::extendedBytes(0x7FFF, 0xC000000000000000u);
  Bytes cut = sampleInput();
  cut.resize(60);
  const std::vector<std::string> justInput = {"in.aifc"};
  const std::vector<std::string> withOutput = {"in.aifc", "in.fda"};
  // clang-format off
  const Row rows[] = {
      {"done",              [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()); },
       "[1/1] in.aifc " + kSummary + "done", withOutput},
      {"no regular file",   [](MemoryPlatform& m) { m.files.addDevice("in.aifc"); },
       "[1/1] in.aifc Error open file.", justInput},
      {"no AIFF-C file",    [](MemoryPlatform& m) { m.files.addFile("in.aifc", test::bytesOf("RIFF....WAVE")); },
       "[1/1] in.aifc Unknown file format.", justInput},
      {"header cut short",  [&](MemoryPlatform& m) { m.files.addFile("in.aifc", cut); },
       "[1/1] in.aifc Unknown file format.", justInput},
      {"header unreadable", [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()).failsReadsFrom = 0; },
       "[1/1] in.aifc Error read file.", justInput},
      {"sound unreadable",  [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()).failsReadsFrom = 74; },
       "[1/1] in.aifc " + kSummary + "Error read file.", justInput},
      {"a NaN rate",        [&](MemoryPlatform& m) { m.files.addFile("in.aifc", aifcFile(nan)); },
       "[1/1] in.aifc (64.1kbps, NANkHz, 2ch)...Unsupported sample rate.", justInput},
      {"a folder there",    [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()); m.files.addDirectory("in.fda"); },
       "[1/1] in.aifc " + kSummary + "Error create file.", withOutput},
      {"a read-only file",  [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()); m.files.addFile("in.fda").readOnly = true; },
       "[1/1] in.aifc " + kSummary + "Error create file.", withOutput},
      {"the input itself",  [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()); m.files.addLink("in.fda", "in.aifc"); },
       "[1/1] in.aifc " + kSummary + "Error create file.", withOutput},
      {"no temporary file", [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()); m.files.refusesOutputs = true; },
       "[1/1] in.aifc " + kSummary + "Error create file.", justInput},
      {"a full disk",       [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()); m.files.diskSpace = 100; },
       "[1/1] in.aifc " + kSummary + "Error write file.", justInput},
      {"the name held",     [](MemoryPlatform& m) { m.files.addFile("in.aifc", sampleInput()); m.files.refusesNames = true; },
       "[1/1] in.aifc " + kSummary + "Error create file.", justInput},
  };
  // clang-format on
  for (const Row& row : rows) {
    MemoryPlatform memory;
    row.setup(memory);
    EXPECT_EQ(runOn(memory, {"in.aifc"}), 0) << row.what;
    EXPECT_EQ(memory.console.text(), consoleOf({"Find 1 files", row.line})) << row.what;
    EXPECT_EQ(memory.files.paths(), row.paths) << row.what;
    EXPECT_EQ(memory.soundMemory.outstanding, 0) << row.what;
  }
}

TEST(Batch, TheOutputHoldsTheWholeFdaFileWithTheStampOfItsOwnConversion) {
  MemoryPlatform memory;
  memory.files.addFile("one.aifc", sampleInput({1}));
  memory.files.addFile("two.aifc", sampleInput({2, 2}));
  runOn(memory, {"*.aifc"});
  EXPECT_EQ(memory.files.find("one.fda")->bytes, expectedFda({1}, 0));
  EXPECT_EQ(memory.files.find("two.fda")->bytes, expectedFda({2, 2}, 1));
  EXPECT_EQ(memory.clock.readings, 2);
}

TEST(Batch, ALoginNameTooLongForItsBufferIsLeftOut) {
  for (const auto& [name, stored] :
       {std::pair<std::optional<std::string>, std::string>{std::string(199, 'u'), std::string(199, 'u')},
        {std::string(200, 'u'), ""},
        {std::nullopt, ""}}) {
    MemoryPlatform memory;
    memory.loginName.name = name;
    memory.files.addFile("a.aifc", sampleInput({7}));
    runOn(memory, {"a.aifc"});
    EXPECT_EQ(memory.files.find("a.fda")->bytes, expectedFda({7}, 0, stored)) << stored.size();
  }
}

TEST(Batch, TakesEachMasksFilesInTheOrderFoundAndEachFileOnce) {
  MemoryPlatform memory;
  for (const char* name : {"c.aifc", "a.aifc", "b.aifc", "sub/d.aifc", "x.wav"})
    memory.files.addFile(name, sampleInput());
  memory.files.addLink("again.aifc", "a.aifc");
  memory.files.addDirectory("folder.aifc");
  runOn(memory, {"b.aifc", "", "*.aifc", "sub/*", "sub/d.aifc", "nothing*"});
  EXPECT_EQ(memory.console.text(),
            consoleOf({"Find 4 files", "[1/4] b.aifc " + kSummary + "done", "[2/4] c.aifc " + kSummary + "done",
                       "[3/4] a.aifc " + kSummary + "done", "[4/4] d.aifc " + kSummary + "done"}));
  EXPECT_NE(memory.files.find("d.fda"), nullptr) << "outputs go into the current directory";
}

TEST(Batch, AMaskThatFindsNothingGivesACountOfZero) {
  MemoryPlatform memory;
  memory.files.addDirectory("folder.aifc");
  EXPECT_EQ(runOn(memory, {"*.aifc"}), 0);
  EXPECT_EQ(memory.console.text(), consoleOf({"Find 0 files"}));
}

TEST(Batch, AnOutputThisRunCompletedIsNeverReplaced) {
  MemoryPlatform memory;
  memory.files.addFile("take.fda", test::bytesOf("from an earlier run"));
  memory.files.addFile("take.aif", sampleInput({1}));
  memory.files.addFile("take.aifc", sampleInput({2}));
  memory.files.addFile("d1/a.aifc", sampleInput({3}));
  memory.files.addFile("d2/a.aifc", sampleInput({4}));
  runOn(memory, {"take.aif*", "d1/a.aifc", "d2/a.aifc"});
  EXPECT_EQ(memory.console.text(),
            consoleOf({"Find 4 files", "[1/4] take.aif " + kSummary + "done",
                       "[2/4] take.aifc " + kSummary + "Error create file.", "[3/4] a.aifc " + kSummary + "done",
                       "[4/4] a.aifc " + kSummary + "Error create file."}));
  EXPECT_EQ(memory.files.find("take.fda")->bytes, expectedFda({1}, 0));
  EXPECT_EQ(memory.files.find("a.fda")->bytes, expectedFda({3}, 1));
}

TEST(Batch, NoOutputReplacesAFileOfTheList) {
  // take.fda is an AIFF-C file of its own, listed after take.aifc, whose
  // output name it holds.
  MemoryPlatform memory;
  memory.files.addFile("take.aifc", sampleInput({1}));
  memory.files.addFile("take.fda", sampleInput({2}));
  memory.files.addFile("song.aifc", sampleInput({3}));
  memory.files.addFile("song.fda", test::bytesOf("an earlier output, not listed"));
  runOn(memory, {"take.*", "song.aifc"});
  EXPECT_EQ(memory.console.text(),
            consoleOf({"Find 3 files", "[1/3] take.aifc " + kSummary + "Error create file.",
                       "[2/3] take.fda " + kSummary + "Error create file.", "[3/3] song.aifc " + kSummary + "done"}));
  EXPECT_EQ(memory.files.find("take.fda")->bytes, sampleInput({2}));
  EXPECT_EQ(memory.files.find("song.fda")->bytes, expectedFda({3}, 0));
}

TEST(Batch, MemoryExhaustionEndsTheRunWithTheFailureReport) {
  MemoryPlatform memory;
  memory.files.addFile("a.aifc", sampleInput({1}));
  memory.files.addFile("b.aifc", sampleInput(Bytes(100, 2)));
  memory.files.addFile("b.fda", test::bytesOf("earlier"));
  memory.files.addFile("c.aifc", sampleInput({3}));
  memory.soundMemory.limit = 50;
  EXPECT_EQ(runOn(memory, {"*.aifc"}), 1);
  EXPECT_EQ(memory.console.text(),
            kBannerLine + "Find 3 files\r\n[1/3] a.aifc " + kSummary + "done\r\n[2/3] b.aifc " + kSummary +
                "Exception EOutOfMemory in module quennix at 0001A2B4.\r\nOut of memory.\r\n\r\n");
  EXPECT_EQ(memory.failureSite.asked, reinterpret_cast<std::uintptr_t>(&writeFdaFile));
  EXPECT_EQ(memory.files.find("b.fda")->bytes, test::bytesOf("earlier"));
  EXPECT_EQ(memory.files.paths(), (std::vector<std::string>{"a.aifc", "a.fda", "b.aifc", "b.fda", "c.aifc"}));
}

TEST(Batch, OptionsAndTheUsageLine) {
  const struct {
    std::vector<std::string> arguments;
    bool usage;
    bool help;
  } rows[] = {
      {{}, true, false},        {{""}, true, false},          {{"", ""}, true, false},       {{"-h"}, true, true},
      {{"--help"}, true, true}, {{"", "--help"}, true, true}, {{"--version"}, false, false},
  };
  for (const auto& row : rows) {
    MemoryPlatform memory;
    EXPECT_EQ(runOn(memory, row.arguments), 0);
    std::string expected = kBannerLine;
    if (row.usage) expected += test::kUsageLine;
    if (row.help) {
      for (std::string_view line : kHelp) expected += std::string(line) + "\r\n";
    }
    EXPECT_EQ(memory.console.text(), expected) << row.arguments.size();
  }
  MemoryPlatform asMask;
  asMask.files.addFile("-h", sampleInput());
  runOn(asMask, {"x", "-h"});
  EXPECT_EQ(asMask.console.text(), consoleOf({"Find 1 files", "[1/1] -h " + kSummary + "done"}))
      << "an option only as the first argument";
}

TEST(Batch, TheConsoleFlushesEveryOperationOnlyWhenInteractive) {
  for (bool interactive : {true, false}) {
    MemoryPlatform memory;
    memory.console.isInteractive = interactive;
    memory.files.addFile("a.aifc", sampleInput());
    runOn(memory, {"a.aifc"});
    std::vector<std::string> expected = {kBannerLine, "Find 1 files\r\n", "[1/1] a.aifc ", kSummary, "done\r\n"};
    if (!interactive) expected = {kBannerLine + "Find 1 files\r\n[1/1] a.aifc " + kSummary + "done\r\n"};
    EXPECT_EQ(memory.console.writes, expected) << interactive;
  }
}

TEST(Batch, FiguresFollowTheLocaleReadOnceBeforeTheBanner) {
  MemoryPlatform memory;
  memory.locale.items.decimalSeparator = ",";
  memory.locale.items.timeSeparator = ".";
  memory.files.addFile("a.aifc", sampleInput({5}));
  runOn(memory, {"a.aifc"});
  EXPECT_EQ(memory.console.text(), consoleOf({"Find 1 files", "[1/1] a.aifc (64,1kbps, 44,1kHz, 2ch)...done"}));
  EXPECT_EQ(memory.locale.asked, 1);
  Bytes expected = test::expectedHead("tester", "March 05, 2024, 12.07.09 AM", 1, test::infoBytes(2, 16, 372, 44100));
  expected.push_back(5);
  EXPECT_EQ(memory.files.find("a.fda")->bytes, expected);
}

TEST(Batch, NamesAreShownWithoutControlBytesAndUsedAsTheyAre) {
  MemoryPlatform memory;
  memory.files.addFile("a\rb\nc\x1B[2Jd\x7F\xC3\xA9 100%d.aifc", sampleInput());
  runOn(memory, {"*.aifc"});
  EXPECT_EQ(memory.console.text(),
            consoleOf({"Find 1 files", "[1/1] a?b?c?[2Jd?\xC3\xA9 100%d.aifc " + kSummary + "done"}));
  EXPECT_NE(memory.files.find("a\rb\nc\x1B[2Jd\x7F\xC3\xA9 100%d.fda"), nullptr);
}

TEST(OutputNameFor, ReplacesTheLastExtension) {
  const struct {
    const char* input;
    const char* posix;    // no separators besides the dot
    const char* windows;  // backslash and colon too
    // clang-format off
  } rows[] = {
      {"song.aifc",    "song.fda",    "song.fda"},
      {"Song.AIFC",    "Song.fda",    "Song.fda"},
      {"take.1.aifc",  "take.1.fda",  "take.1.fda"},
      {"song",         "song.fda",    "song.fda"},
      {".aifc",        ".fda",        ".fda"},
      {"take.fda",     "take.fda",    "take.fda"},
      {"dir.old\\song", "dir.fda",    "dir.old\\song.fda"},
      {"D:x.y:z",      "D:x.fda",     "D:x.y:z.fda"},
      {"\xD0\xB7.aifc", "\xD0\xB7.fda", "\xD0\xB7.fda"},
  };
  // clang-format on
  for (const auto& row : rows) {
    EXPECT_EQ(outputNameFor(row.input, ""), row.posix) << row.input;
    EXPECT_EQ(outputNameFor(row.input, "\\:"), row.windows) << row.input;
  }
}

}  // namespace
}  // namespace quennix
