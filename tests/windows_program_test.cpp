// quennix.exe end to end on Windows (under Wine in CI), for what is Windows'
// own: the raw command line, the search's matching and directory parts,
// wide names, devices, share modes, the console bytes and the locale.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>

#include "fixtures.h"
#include "platform/win32/win32_platform.h"

namespace quennix {
namespace {

using test::AifcFields;
using test::Bytes;
using test::kBannerLine;
using test::lines;
using win32::utf8FromWide;
using win32::wideFromUtf8;

using test::burnFieldsOf;
using test::sampleInput;
const std::string& kSummary = test::kSampleSummary;

void removeTree(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        removeTree(child);
      } else {
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(path.c_str());
}

// A folder of its own under the temporary folder, removed at the end.
struct Folder {
  Folder() {
    static int counter = 0;
    wchar_t temporary[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temporary);
    path = std::wstring(temporary) + L"quennix-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
    ::CreateDirectoryW(path.c_str(), nullptr);
  }
  ~Folder() { removeTree(path); }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  std::wstring file(const std::string& name) const { return path + L"\\" + wideFromUtf8(name); }
  std::wstring path;
};

void writeFile(const std::wstring& path, const Bytes& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << utf8FromWide(path);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

Bytes readFile(const std::wstring& path) {
  HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  Bytes bytes;
  std::uint8_t buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  ::CloseHandle(file);
  return bytes;
}

// The names in a folder, sorted, "." and ".." left out.
std::vector<std::string> namesIn(const std::wstring& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(utf8FromWide(name));
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

struct ProgramRun {
  std::string output;
  DWORD status = 0;
};

// The test's own environment block with `entries` ("NAME=value") set on
// top; empty when there are none (the child then inherits the test's).
std::wstring environmentWith(const std::vector<std::wstring>& entries) {
  std::wstring block;
  if (entries.empty()) return block;
  auto nameOf = [](std::wstring_view entry) { return entry.substr(0, entry.find(L'=', 1)); };
  wchar_t* own = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = own; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    bool replaced = std::any_of(entries.begin(), entries.end(),
                                [&](const std::wstring& set) { return nameOf(set) == nameOf(entry); });
    if (!replaced) block.append(entry).push_back(L'\0');
  }
  ::FreeEnvironmentStringsW(own);
  for (const std::wstring& entry : entries) block.append(entry).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

// Runs quennix.exe in `folder` with the raw command line "quennix.exe " +
// `tail` and standard output (and error) to `output`, until it ends.
DWORD runWithOutput(const Folder& folder, const std::wstring& tail, HANDLE output,
                    const std::vector<std::wstring>& environment = {}) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::wstring block = environmentWith(environment);
  std::wstring commandLine = L"quennix.exe " + tail;
  PROCESS_INFORMATION process{};
  BOOL started = ::CreateProcessW(wideFromUtf8(QUENNIX_BINARY).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                  CREATE_UNICODE_ENVIRONMENT, block.empty() ? nullptr : block.data(),
                                  folder.path.c_str(), &startup, &process);
  EXPECT_TRUE(started) << "cannot start " << QUENNIX_BINARY;
  if (!started) return ~DWORD{0};
  EXPECT_EQ(::WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
  DWORD status = ~DWORD{0};
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
  return status;
}

// The same with standard output to a file, whose bytes come back.
ProgramRun runQuennix(const Folder& folder, const std::wstring& tail,
                      const std::vector<std::wstring>& environment = {}) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  std::wstring outputPath = folder.path + L".out";
  HANDLE output = ::CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  ProgramRun run;
  run.status = runWithOutput(folder, tail, output, environment);
  ::CloseHandle(output);
  Bytes bytes = readFile(outputPath);
  run.output.assign(bytes.begin(), bytes.end());
  ::DeleteFileW(outputPath.c_str());
  return run;
}

std::string entryLines(const std::vector<std::string>& entries) {
  std::vector<std::string> all = {"Find " + std::to_string(entries.size()) + " files"};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    all.push_back("[" + std::to_string(i + 1) + "/" + std::to_string(entries.size()) + "] " + entries[i]);
  }
  return kBannerLine + lines(all);
}

TEST(WindowsProgram, TheRawCommandLineIsSplitByTheProgramsOwnRules) {
  Folder folder;
  writeFile(folder.file("a b.aifc"), sampleInput());
  writeFile(folder.file("x.aifc"), sampleInput());
  ::CreateDirectoryW(folder.file("My Sounds").c_str(), nullptr);
  writeFile(folder.file("My Sounds\\in.aifc"), sampleInput());
  const std::string help = kBannerLine + test::kUsageLine + "\r\n";
  struct Row {
    std::wstring tail;
    std::string output;  // the whole console, or its beginning for help
  };
  // clang-format off
  const Row rows[] = {
      {L"",                        kBannerLine + test::kUsageLine},
      {L"\"\"",                    kBannerLine + test::kUsageLine},   // an empty quoted pair is no argument
      {L"  \t \"\"  \"\"",         kBannerLine + test::kUsageLine},
      {L"\"a b.aifc\"",            entryLines({"a b.aifc " + kSummary + "done"})},
      {L"a\" \"b.aifc",            entryLines({"a b.aifc " + kSummary + "done"})},  // a quoted part inside a token
      {L"x.aifc\t\"a b.aifc\"",    entryLines({"x.aifc " + kSummary + "done", "a b.aifc " + kSummary + "done"})},
      {L"\"My Sounds\\\"*.aifc",   entryLines({"in.aifc " + kSummary + "done"})},   // no escape: \" ends the quote
      {L"\"\" -h",                 help},
      {L"x.aifc -h",               entryLines({"x.aifc " + kSummary + "done"})},  // -h as a later argument is a mask
  };
  // clang-format on
  for (const Row& row : rows) {
    ProgramRun run = runQuennix(folder, row.tail);
    EXPECT_EQ(run.status, 0u);
    if (row.output == help) {
      EXPECT_TRUE(run.output.starts_with(help)) << utf8FromWide(row.tail) << ": " << run.output;
    } else {
      EXPECT_EQ(run.output, row.output) << utf8FromWide(row.tail);
    }
  }
}

TEST(WindowsProgram, MasksMatchAsTheSearchDoesWithAnyDirectoryPart) {
  Folder folder;
  ::CreateDirectoryW(folder.file("sub").c_str(), nullptr);
  ::CreateDirectoryW(folder.file("sub\\deeper.aifc").c_str(), nullptr);
  writeFile(folder.file("sub\\Song.AIFC"), sampleInput());
  std::string drive = utf8FromWide(folder.path.substr(0, 2));  // "C:"
  const std::wstring masks[] = {L"sub\\*.aifc", L"sub/*.aifc", L"SUB\\song.aifc", L"sub\\s?ng.*",
                                wideFromUtf8(utf8FromWide(folder.path)) + L"\\sub\\*.AIFC"};
  for (const std::wstring& mask : masks) {
    ProgramRun run = runQuennix(folder, L"\"" + mask + L"\"");
    EXPECT_EQ(run.output, entryLines({"Song.AIFC " + kSummary + "done"})) << utf8FromWide(mask);
    EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"Song.fda", "sub"})) << "the output goes here";
    ::DeleteFileW(folder.file("Song.fda").c_str());
  }
  // A drive with no folder: that drive's current directory, which is the run's own.
  Folder current;
  writeFile(current.file("here.aifc"), sampleInput());
  ProgramRun run = runQuennix(current, wideFromUtf8(drive) + L"*.aifc");
  EXPECT_EQ(run.output, entryLines({"here.aifc " + kSummary + "done"}));
}

TEST(WindowsProgram, EachFileOnceAndNoOutputOfTheRunReplacedInACaseBlindFolder) {
  Folder folder;
  writeFile(folder.file("take.aif"), sampleInput({1}));
  writeFile(folder.file("TAKE.aifc"), sampleInput({2}));
  ProgramRun run = runQuennix(folder, L"take.aif .\\take.aif TAKE.AIF TAKE.aifc");
  EXPECT_EQ(run.output, entryLines({"take.aif " + kSummary + "done", "TAKE.aifc " + kSummary + "Error create file."}));
  Bytes fda = readFile(folder.file("take.fda"));
  ASSERT_FALSE(fda.empty());
  EXPECT_EQ(fda.back(), 1) << "the first output stays";
}

TEST(WindowsProgram, ANameTheAnsiCodePageCannotHoldStillConverts) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the expected console text is that of code page 1252";
  Folder folder;
  const std::string name = "\xD0\xB7\xD0\xB2\xD1\x83\xD0\xBA.aifc";  // Cyrillic: zvuk
  writeFile(folder.file(name), sampleInput({9, 9}));
  ProgramRun run = runQuennix(folder, L"*.aifc");
  EXPECT_EQ(run.output, entryLines({"????.aifc " + kSummary + "done"}));
  Bytes fda = readFile(folder.file("\xD0\xB7\xD0\xB2\xD1\x83\xD0\xBA.fda"));
  ASSERT_GE(fda.size(), 2u);
  EXPECT_EQ(Bytes(fda.end() - 2, fda.end()), (Bytes{9, 9}));
}

TEST(WindowsProgram, AStandardOutputNobodyReadsNeverStopsTheRun) {
  Folder folder;
  writeFile(folder.file("a.aifc"), sampleInput());
  writeFile(folder.file("b.aifc"), sampleInput());
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE reader = INVALID_HANDLE_VALUE;
  HANDLE writer = INVALID_HANDLE_VALUE;
  ASSERT_TRUE(::CreatePipe(&reader, &writer, &inherit, 0));
  ::CloseHandle(reader);  // every write to the console now fails
  DWORD status = runWithOutput(folder, L"*.aifc", writer);
  ::CloseHandle(writer);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"a.aifc", "a.fda", "b.aifc", "b.fda"}));
}

TEST(WindowsProgram, DevicesAreNoInputs) {
  Folder folder;
  ProgramRun run = runQuennix(folder, L"NUL CON COM1");
  EXPECT_EQ(run.output, entryLines({"NUL Error open file.", "CON Error open file.", "COM1 Error open file."}));
  EXPECT_EQ(run.status, 0u);
}

TEST(WindowsProgram, AnOutputNameHeldOpenOrReadOnlyOrTheInputIsRefused) {
  Folder folder;
  const Bytes input = sampleInput();
  const Bytes earlier = test::bytesOf("held by another program");
  writeFile(folder.file("held.aifc"), input);
  writeFile(folder.file("held.fda"), earlier);
  writeFile(folder.file("kept.aifc"), input);
  writeFile(folder.file("kept.fda"), earlier);
  ::SetFileAttributesW(folder.file("kept.fda").c_str(), FILE_ATTRIBUTE_READONLY);
  writeFile(folder.file("take.fda"), input);
  HANDLE holder =
      ::CreateFileW(folder.file("held.fda").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ProgramRun run = runQuennix(folder, L"held.aifc kept.aifc take.fda");
  ::CloseHandle(holder);
  EXPECT_EQ(run.output,
            entryLines({"held.aifc " + kSummary + "Error create file.", "kept.aifc " + kSummary + "Error create file.",
                        "take.fda " + kSummary + "Error create file."}));
  EXPECT_EQ(readFile(folder.file("held.fda")), earlier);
  EXPECT_EQ(readFile(folder.file("kept.fda")), earlier);
  EXPECT_EQ(readFile(folder.file("take.fda")), input);
  EXPECT_EQ(namesIn(folder.path),
            (std::vector<std::string>{"held.aifc", "held.fda", "kept.aifc", "kept.fda", "take.fda"}));
}

TEST(WindowsProgram, TheConsoleAndTheFileBytesWhenRedirected) {
  Folder folder;
  writeFile(folder.file("one.aifc"), sampleInput({1, 2, 3}));
  writeFile(folder.file("two.aifc"), test::bytesOf("not a sound file"));
  ProgramRun run = runQuennix(folder, L"one.aifc two.aifc");
  EXPECT_EQ(run.output, entryLines({"one.aifc " + kSummary + "done", "two.aifc Unknown file format."}));
  Bytes fda = readFile(folder.file("one.fda"));
  auto [user, stamp] = burnFieldsOf(fda);
  char name[200];
  DWORD size = sizeof name;
  ASSERT_TRUE(::GetUserNameA(name, &size));
  EXPECT_EQ(user, std::string(name, size - 1));
  EXPECT_TRUE(std::regex_match(
      stamp, std::regex("[A-Z][a-z]+ [0-3][0-9], [0-9]{4}, (1[0-2]|[1-9]):[0-5][0-9]:[0-5][0-9] (AM|PM)")))
      << stamp;
  Bytes expected = test::expectedHead(user, stamp, 3, test::infoBytes(2, 16, 372, 44100));
  test::append(expected, Bytes{1, 2, 3});
  EXPECT_EQ(fda, expected);
}

// Wine takes a process's locale from the Unix environment it starts with,
// which a child inherits; ctest runs this test once for each locale
// (LC_ALL of the Wine process, and QUENNIX_EXPECTED_LOCALE the locale id
// that must result), and the child follows the test's own.
TEST(WindowsLocale, FiguresAndTheStampFollowTheThreadLocale) {
  struct Row {
    LCID locale;
    const char* summary;
    const char* stamp;  // in code page 1252
  };
  // clang-format off
  const Row rows[] = {
      {0x0409, "(64.1kbps, 44.1kHz, 2ch)...", "(January|February|March|April|May|June|July|August|September|October|November|December) [0-9]{2}, [0-9]{4}, [0-9]{1,2}:[0-9]{2}:[0-9]{2} (AM|PM)"},
      {0x0407, "(64,1kbps, 44,1kHz, 2ch)...", "(Januar|Februar|M\xE4rz|April|Mai|Juni|Juli|August|September|Oktober|November|Dezember) [0-9]{2}, [0-9]{4}, [0-9]{1,2}:[0-9]{2}:[0-9]{2} (AM|PM)"},
      {0x040B, "(64,1kbps, 44,1kHz, 2ch)...", "[a-z\xE4]+ [0-9]{2}, [0-9]{4}, [0-9]{1,2}\\.[0-9]{2}\\.[0-9]{2} (AM|PM)"},
  };
  // clang-format on
  LCID locale = ::GetThreadLocale();
  char expected[16];
  if (::GetEnvironmentVariableA("QUENNIX_EXPECTED_LOCALE", expected, sizeof expected) > 0) {
    ASSERT_EQ(locale, std::stoul(expected, nullptr, 16)) << "Wine did not take the locale of LC_ALL";
  }
  const Row* row = nullptr;
  for (const Row& candidate : rows) {
    if (candidate.locale == locale) row = &candidate;
  }
  if (row == nullptr) GTEST_SKIP() << "no expectation for locale " << std::hex << locale;
  Folder folder;
  writeFile(folder.file("song.aifc"), sampleInput());
  ProgramRun run = runQuennix(folder, L"song.aifc");
  EXPECT_EQ(run.output, entryLines({std::string("song.aifc ") + row->summary + "done"}));
  std::string stamp = burnFieldsOf(readFile(folder.file("song.fda"))).stamp;
  EXPECT_TRUE(std::regex_match(stamp, std::regex(row->stamp))) << stamp;
}

// ctest runs this test with the Wine process's address space limited to
// 4 GiB (QUENNIX_ADDRESS_LIMIT set), where a 3 GiB sound block cannot be had.
TEST(WindowsMemory, ExhaustionEndsTheRunWithTheFailureReport) {
  char limit[16];
  if (::GetEnvironmentVariableA("QUENNIX_ADDRESS_LIMIT", limit, sizeof limit) == 0) {
    GTEST_SKIP() << "runs only under an address-space limit (its own ctest entry)";
  }
  Folder folder;
  writeFile(folder.file("a.aifc"), sampleInput());
  Bytes declared = sampleInput({1, 2, 3});
  const std::uint32_t soundDataSize = (3u << 30) + 10;  // three gigabytes of sound bytes, declared only
  for (int i = 0; i < 4; ++i) {
    declared[60 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(soundDataSize >> (24 - 8 * i));
  }
  writeFile(folder.file("b.aifc"), declared);
  writeFile(folder.file("b.fda"), test::bytesOf("earlier"));
  writeFile(folder.file("c.aifc"), sampleInput());
  ProgramRun run = runQuennix(folder, L"*.aifc");
  EXPECT_EQ(run.status, 1u);
  std::regex report(
      "Find 3 files\r\n\\[1/3\\] a\\.aifc \\(64\\.1kbps, 44\\.1kHz, 2ch\\)\\.\\.\\.done\r\n"
      "\\[2/3\\] b\\.aifc \\(64\\.1kbps, 44\\.1kHz, 2ch\\)\\.\\.\\."
      "Exception EOutOfMemory in module quennix\\.exe at [0-9A-F]{8}\\.\r\nOut of memory\\.\r\n\r\n");
  EXPECT_TRUE(std::regex_match(run.output.substr(kBannerLine.size()), report)) << run.output;
  EXPECT_EQ(readFile(folder.file("b.fda")), test::bytesOf("earlier"));
  EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"a.aifc", "a.fda", "b.aifc", "b.fda", "c.aifc"}));
}

}  // namespace
}  // namespace quennix
