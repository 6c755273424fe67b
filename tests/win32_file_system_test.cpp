// The Windows file system layer in-process: what stands at an output name,
// and inputs that are no disk files.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace quennix::win32 {
namespace {

std::wstring temporaryFolder() {
  wchar_t path[MAX_PATH];
  ::GetTempPathW(MAX_PATH, path);
  std::wstring folder = std::wstring(path) + L"quennix-fs-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

TEST(Win32FileSystem, DevicesAreNoInputsAndNoOutputNames) {
  Win32FileSystem files;
  std::wstring folder = temporaryFolder();
  std::string input = utf8FromWide(folder) + "\\in.aifc";
  HANDLE file = ::CreateFileW(wideFromUtf8(input).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ::CloseHandle(file);
  std::unique_ptr<InputFile> opened = files.openInput(input);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->size(), 0u);
  for (const char* device : {"NUL", "CON", "nul.fda"}) {
    EXPECT_EQ(files.openInput(device), nullptr) << device;
    EXPECT_EQ(files.checkOutputName(device, *opened).state, OutputNameState::blocked) << device;
  }
  EXPECT_EQ(files.checkOutputName(utf8FromWide(folder), *opened).state, OutputNameState::blocked) << "a folder";
  EXPECT_EQ(files.checkOutputName(input, *opened).state, OutputNameState::input);
  OutputNameCheck missing = files.checkOutputName(utf8FromWide(folder) + "\\missing.fda", *opened);
  EXPECT_EQ(missing.state, OutputNameState::free);
  EXPECT_FALSE(missing.existing.has_value());
  opened.reset();
  ::DeleteFileW(wideFromUtf8(input).c_str());
  ::RemoveDirectoryW(folder.c_str());
}

TEST(Win32Names, EveryWideNameComesBackFromItsBytes) {
  const struct {
    std::wstring wide;
    std::string bytes;
    // clang-format off
  } rows[] = {
      {L"a.aifc",                       "a.aifc"},
      {L"caf\x00E9",                    "caf\xC3\xA9"},
      {L"\x0437\x0432\x0443\x043A",       "\xD0\xB7\xD0\xB2\xD1\x83\xD0\xBA"},
      {L"\xD83C\xDFB5",                  "\xF0\x9F\x8E\xB5"},     // a surrogate pair: one character
      {L"x\xD800y",                      "x\xED\xA0\x80y"},        // a lone surrogate, as NTFS allows
      {L"\xDC00",                        "\xED\xB0\x80"},
  };
  // clang-format on
  for (const auto& row : rows) {
    EXPECT_EQ(utf8FromWide(row.wide), row.bytes);
    EXPECT_EQ(wideFromUtf8(row.bytes), row.wide);
  }
}

TEST(Win32FileSystem, TheConsoleShowsNamesInTheAnsiCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "expectations for code page 1252";
  Win32FileSystem files;
  EXPECT_EQ(files.consoleName("caf\xC3\xA9.aifc"), "caf\xE9.aifc");
  EXPECT_EQ(files.consoleName("\xD0\xB7\xD0\xB2\xD1\x83\xD0\xBA.aifc"), "????.aifc");
}

}  // namespace
}  // namespace quennix::win32
