// The batch: the command line, the list of files its masks match, and the
// conversion of each entry with its console line.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "driver/console.h"
#include "platform/files.h"
#include "text/locale_settings.h"

namespace quennix {

inline constexpr std::string_view kBanner = "Quennix v1.0 by Velmor [velmor@example.org]";
inline constexpr std::string_view kUsage = "Usage: quennix.exe [filename.aifc or filemask]";

// What -h and --help print after the usage line, one console line each.
inline constexpr std::string_view kHelp[] = {
    "",
    "Converts each AIFF-C sound file that the names or masks find into an FDA",
    "sound file in the current directory: song.aifc gives song.fda. In a mask,",
    "* stands for any run of characters and ? for one, in the last part of the",
    "path; quote it ('*.aifc') to let quennix search. Each file is converted once.",
    "An existing output is replaced only when the new one is whole.",
    "",
    "Each file's line ends with:",
    "  done                      the FDA file is complete",
    "  Error open file.          the input cannot be opened, or is no regular file",
    "  Unknown file format.      no AIFF-C file, or a damaged one; no output",
    "  Unsupported sample rate.  a rate the FDA file cannot hold; no output",
    "  Error create file.        the output cannot take its name (a folder, the",
    "                            input itself, a read-only file, or an output of",
    "                            this run); the name keeps what it held",
    "  Error read file.          reading the input failed; no output",
    "  Error write file.         writing the output failed; the name keeps what",
    "                            it held",
    "",
    "Exit status: 0 when the run reaches its end, 1 when memory runs out.",
    "More: man quennix",
};

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
  std::string programName;                      // for the failure report
  std::set<FileIdentity> finishedOutputs = {};  // the outputs this run has completed
};

// A name as the progress prefix shows it: control bytes (0x00 to 0x1F and
// 0x7F) become "?", so that no name can end a console line or drive the
// terminal; every other byte is kept. "a\r\nb" -> "a??b".
std::string displayName(std::string_view name);

enum class EntryOutcome { finished, outOfMemory };

// Converts entry `index` of `list` and prints its whole console line:
// "[i/n] name " and then "Error open file.", "Unknown file format.", or the
// summary followed by "Unsupported sample rate.", "Error create file.",
// "Error read file.", "Error write file." or "done". The output is written
// under a temporary name and takes its own name only when whole ("done");
// on every other ending nothing of it stays. "Error create file." also
// refuses an output name that is the input itself, a directory, a read-only
// file, or an output this run has already completed. On outOfMemory the line
// ends after the summary and the failure report is the caller's.
EntryOutcome convertFile(const FileList& list, std::size_t index, RunContext& context);

// The whole run over the arguments after the program name; gives the exit
// status (1 only after memory exhaustion).
int runQuennix(const std::vector<std::string>& arguments, RunContext& context);

}  // namespace quennix
