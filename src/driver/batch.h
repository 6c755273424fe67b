// The batch: the command line, the list of files its masks match, and the
// conversion of each entry with its console line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/console.h"
#include "text/locale_settings.h"

namespace quennix {

inline constexpr std::string_view kBanner = "Quennix v1.0 by Velmor [velmor@example.org]";
inline constexpr std::string_view kUsage = "Usage: quennix.exe [filename.aifc or filemask]";

// One file found by the directory search: the mask's directory part ("" or
// ending in "/") and the bare name in it.
struct FileEntry {
  std::string directory;
  std::string name;
};
using FileList = std::vector<FileEntry>;

// The non-directory entries matching one mask, sorted by byte value.
FileList collectFiles(std::string_view mask);

// The name with its last extension replaced by ".fda" (".fda" appended
// when it has no dot): song.aifc -> song.fda, take.1.aifc -> take.1.fda,
// song -> song.fda, .aifc -> .fda.
std::string outputNameFor(std::string_view name);

struct RunContext {
  Console& console;
  const LocaleSettings& locale;
  std::string programName;  // for the failure report
};

enum class EntryOutcome { finished, outOfMemory };

// Converts entry `index` of `list` and prints its whole console line:
// "[i/n] name " and then "Error open file.", "Unknown file format.", or the
// summary followed by "Unsupported sample rate.", "Error create file.",
// "Error read file.", "Error write file." or "done". On outOfMemory the line
// ends after the summary and the failure report is the caller's.
EntryOutcome convertFile(const FileList& list, std::size_t index, RunContext& context);

// The whole run over the arguments after the program name; gives the exit
// status (1 only after memory exhaustion).
int runQuennix(const std::vector<std::string>& arguments, RunContext& context);

}  // namespace quennix
