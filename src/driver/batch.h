// The batch: the command line, the list of files its masks find, and the
// conversion of each entry with its console line.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "driver/console.h"
#include "driver/entry_outcome.h"
#include "platform/platform.h"
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
    "path; on Linux quote it ('*.aifc') to let quennix search. Each file is",
    "converted once.",
    "An existing output is replaced only when the new one is whole.",
    "",
    "Each file's line ends with:",
    "  done                      the FDA file is complete",
    "  Error open file.          the input cannot be opened, or is no regular file",
    "  Unknown file format.      no AIFF-C file, or a damaged one; no output",
    "  Unsupported sample rate.  a rate the FDA file cannot hold; no output",
    "  Error create file.        the output cannot take its name (a folder, the",
    "                            input itself, a read-only file, or a file this",
    "                            run reads or wrote); the name keeps what it held",
    "  Error read file.          reading the input failed; no output",
    "  Error write file.         writing the output failed; the name keeps what",
    "                            it held",
    "",
    "Exit status: 0 when the run reaches its end, 1 when memory runs out.",
    "More: man quennix (on Windows: quennix.txt beside quennix.exe)",
};

// The files to convert, in order, each file once.
using FileList = std::vector<FoundFile>;

// The files of every mask in order: each mask's as the file system finds
// them, and a file that an earlier mask or path already found (the same
// file identity) left out. At most 2^31 - 1 entries. `listed` receives the
// identities of the files listed.
FileList collectFiles(FileSystem& fileSystem, const std::vector<std::string_view>& masks,
                      std::set<FileIdentity>& listed);

// The name with its last extension replaced by ".fda", or ".fda" appended:
// the last byte that is "." or one of `separators` decides, and only a dot
// starts an extension.
//   song.aifc -> song.fda    take.1.aifc -> take.1.fda    song -> song.fda
//   .aifc -> .fda            dir.old\song -> dir.fda ("") or dir.old\song.fda ("\\:")
std::string outputNameFor(std::string_view name, std::string_view separators);

// A name as the progress prefix shows it: control bytes (0x00 to 0x1F and
// 0x7F) become "?", so that no name can end a console line or drive the
// terminal; every other byte is kept. "a\r\nb" -> "a??b".
std::string displayName(std::string_view consoleName);

// One run of the batch.
struct Run {
  Platform& platform;
  Console console;
  LocaleSettings locale;
  std::set<FileIdentity> inputs = {};           // the files of the list
  std::set<FileIdentity> finishedOutputs = {};  // the outputs this run has completed
};

// Converts entry `index` of `list`: prints "[i/n] name " and, once the
// header is read, the summary; the caller ends the line with the outcome's
// ending. The output is written under a temporary name and takes its own
// name only when whole (done); on every other outcome nothing of it stays.
// createFailed also refuses an output name that is the input itself, a
// directory, a read-only file, an output this run has already completed, or
// a file of the list.
EntryOutcome convertFile(const FileList& list, std::size_t index, Run& run);

// The whole run over the arguments after the program's name, on `platform`;
// gives the exit status (1 only after memory exhaustion). Every non-empty
// argument is a mask; "-h", "--help" and "--version" count as options only
// as the first of them.
int runQuennix(const std::vector<std::string>& arguments, Platform& platform);

}  // namespace quennix
