// The Windows implementations of the platform's interfaces. Only the files
// of this folder include <windows.h>. Names are UTF-8 inside the program and
// go to the system through the wide ("W") calls, so that every name a
// folder holds can be found, opened and created; the console shows a name
// in the ANSI code page, as the "A" calls would give it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quennix::win32 {

std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);
std::string ansiFromWide(std::wstring_view text);  // unmapped characters as the code page's default, "?"

// Outputs go under ".quennix-XXXXXXXX.tmp" in the current directory and are
// moved over their name (MoveFileExW with MOVEFILE_REPLACE_EXISTING); Ctrl+C
// and the console's close remove the one being written.
class Win32FileSystem : public FileSystem {
 public:
  std::vector<FoundFile> findFiles(std::string_view mask) override;
  std::optional<FileIdentity> identityOf(const std::string& path) override;
  std::unique_ptr<InputFile> openInput(const std::string& path) override;
  OutputNameCheck checkOutputName(const std::string& name, const InputFile& input) override;
  std::unique_ptr<OutputFile> startOutput(const std::string& name) override;
  FinishOutcome finishOutput(std::unique_ptr<OutputFile> output) override;
  void discardOutput(std::unique_ptr<OutputFile> output) override;
  std::string consoleName(std::string_view name) override;
  std::string_view outputNameSeparators() const override;
};

void removeTemporaryOutputOnConsoleEvents();

}  // namespace quennix::win32
