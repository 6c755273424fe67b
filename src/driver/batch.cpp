#include "driver/batch.h"

#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <set>

#include "aifc/source_header.h"
#include "chunky/fda_writer.h"
#include "driver/failure_report.h"
#include "platform/dir_search.h"
#include "platform/files.h"
#include "platform/sound_block.h"
#include "text/format_text.h"
#include "text/number_text.h"

namespace quennix {
namespace {

constexpr std::size_t kMaxEntries = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
constexpr const char* kCreateFailed = "Error create file.";

// What became of an entry once its input is open and its header read.
const char* outcomeMessage(WriteOutcome outcome) {
  switch (outcome) {
    case WriteOutcome::done:
      return "done";
    case WriteOutcome::writeFailed:
      return "Error write file.";
    case WriteOutcome::readFailed:
      return "Error read file.";
    case WriteOutcome::unsupportedRate:
      return "Unsupported sample rate.";
    case WriteOutcome::outOfMemory:
      break;
  }
  return nullptr;
}

// The input is open and its header read: writes the output under a
// temporary name. Gives what the entry's line ends with, or nullptr after
// memory exhaustion; `output` is left for the caller to finish when the
// writer is done, and is discarded on every other path.
const char* writeOutput(const FileEntry& entry, const InputFile& input, const SourceInfo& source, RunContext& context,
                        PendingOutput& output) {
  // Checked before the output exists, so that such a file leaves none.
  if (!storedSampleRate(source.common.sampleRate)) return outcomeMessage(WriteOutcome::unsupportedRate);
  std::string outputName = outputNameFor(entry.name);
  if (outputNameState(outputName, input) != OutputNameState::free) return kCreateFailed;
  std::optional<FileIdentity> existing = entryIdentityOf(outputName);
  if (existing && context.finishedOutputs.contains(*existing)) return kCreateFailed;  // this run's own result
  if (!startOutput(outputName, output)) return kCreateFailed;
  WriteOutcome outcome = writeFdaFile(input, output.fd, source, context.locale);
  if (outcome != WriteOutcome::done) discardOutput(output);
  return outcomeMessage(outcome);
}

}  // namespace

FileList collectFiles(std::string_view mask) {
  std::size_t slash = mask.rfind('/');
  std::string directory(slash == std::string_view::npos ? std::string_view() : mask.substr(0, slash + 1));
  std::string_view pattern = slash == std::string_view::npos ? mask : mask.substr(slash + 1);
  FileList list;
  for (std::string& name : findMatchingNames(directory, pattern)) list.push_back(FileEntry{directory, std::move(name)});
  return list;
}

std::string outputNameFor(std::string_view name) {
  std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot)) + ".fda";
}

std::string displayName(std::string_view name) {
  std::string shown(name);
  for (char& c : shown) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return shown;
}

EntryOutcome convertFile(const FileList& list, std::size_t index, RunContext& context) {
  const FileEntry& entry = list[index];
  print(context.console, formatText("[%d/%d] %s ",
                                    {static_cast<std::int32_t>(index + 1), static_cast<std::int32_t>(list.size()),
                                     std::string_view(displayName(entry.name))},
                                    context.locale));
  InputFile input = openInput(entry.directory + entry.name);
  if (input.fd < 0) {
    printLine(context.console, "Error open file.");
    return EntryOutcome::finished;
  }
  SourceInfo source;
  const char* ending = "Unknown file format.";
  PendingOutput output;
  if (readSourceHeader(input.fd, source)) {
    print(context.console, summaryText(source, context.locale));
    ending = writeOutput(entry, input, source, context, output);
  }
  closeFile(input.fd);
  if (ending == nullptr) {
    discardOutput(output);
    return EntryOutcome::outOfMemory;
  }
  if (output.fd >= 0) {
    if (finishOutput(output)) {
      context.finishedOutputs.insert(output.identity);
    } else {
      ending = kCreateFailed;
    }
  }
  printLine(context.console, ending);
  return EntryOutcome::finished;
}

namespace {

int reportOutOfMemory(RunContext& context, const void* codeAddress) {
  print(context.console,
        failureReport("EOutOfMemory", context.programName, imageOffsetOf(codeAddress), "Out of memory"));
  return 1;
}

// The files of every mask in order, each file once: a name that reaches a
// file already listed (the same file through another path) is left out.
FileList collectAllFiles(const std::vector<std::string_view>& masks) {
  FileList list;
  std::set<FileIdentity> listed;
  for (std::string_view mask : masks) {
    for (FileEntry& entry : collectFiles(mask)) {
      if (list.size() == kMaxEntries) return list;
      std::optional<FileIdentity> identity = identityOf(entry.directory + entry.name);
      if (identity && !listed.insert(*identity).second) continue;
      list.push_back(std::move(entry));
    }
  }
  return list;
}

int runBatch(const std::vector<std::string>& arguments, RunContext& context) {
  printLine(context.console, kBanner);
  std::vector<std::string_view> masks;
  for (const std::string& argument : arguments) {
    if (!argument.empty()) masks.push_back(argument);
  }
  if (masks.empty()) {
    printLine(context.console, kUsage);
    return 0;
  }
  if (masks[0] == "-h" || masks[0] == "--help") {
    printLine(context.console, kUsage);
    for (std::string_view line : kHelp) printLine(context.console, line);
    return 0;
  }
  if (masks[0] == "--version") return 0;

  FileList list = collectAllFiles(masks);
  printLine(context.console, "Find " + integerText(static_cast<std::int32_t>(list.size())) + " files");
  for (std::size_t index = 0; index < list.size(); ++index) {
    if (convertFile(list, index, context) == EntryOutcome::outOfMemory) {
      return reportOutOfMemory(context, reinterpret_cast<const void*>(&obtainSoundBlock));
    }
  }
  return 0;
}

}  // namespace

int runQuennix(const std::vector<std::string>& arguments, RunContext& context) {
  try {
    return runBatch(arguments, context);
  } catch (const std::bad_alloc&) {
    // Any other allocation that fails ends the run the same way.
    return reportOutOfMemory(context, reinterpret_cast<const void*>(&runBatch));
  }
}

}  // namespace quennix
