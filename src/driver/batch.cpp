#include "driver/batch.h"

#include <cstdint>
#include <limits>
#include <new>

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

// The input is open and its header read: creates the output and writes it.
// Gives what the entry's line ends with, or nullptr after memory exhaustion;
// the output, if created, is left open in `output` for the caller to close.
const char* convertOpenInput(const FileEntry& entry, const InputFile& input, const SourceInfo& source,
                             RunContext& context, int& output) {
  // Checked before the output exists, so that such a file leaves none.
  if (!storedSampleRate(source.common.sampleRate)) return outcomeMessage(WriteOutcome::unsupportedRate);
  std::string outputName = outputNameFor(entry.name);
  output = createOutput(outputName, input);
  if (output < 0) return "Error create file.";
  WriteOutcome outcome = writeFdaFile(input, output, source, context.locale);
  if (outcome != WriteOutcome::done && outcome != WriteOutcome::outOfMemory) discardOutput(outputName, output);
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

EntryOutcome convertFile(const FileList& list, std::size_t index, RunContext& context) {
  const FileEntry& entry = list[index];
  print(context.console, formatText("[%d/%d] %s ",
                                    {static_cast<std::int32_t>(index + 1), static_cast<std::int32_t>(list.size()),
                                     std::string_view(entry.name)},
                                    context.locale));
  InputFile input = openInput(entry.directory + entry.name);
  if (input.fd < 0) {
    printLine(context.console, "Error open file.");
    return EntryOutcome::finished;
  }
  SourceInfo source;
  const char* ending = "Unknown file format.";
  int output = -1;
  if (readSourceHeader(input.fd, source)) {
    print(context.console, summaryText(source, context.locale));
    ending = convertOpenInput(entry, input, source, context, output);
  }
  closeFile(input.fd);
  closeFile(output);
  if (ending == nullptr) return EntryOutcome::outOfMemory;
  printLine(context.console, ending);
  return EntryOutcome::finished;
}

namespace {

int reportOutOfMemory(RunContext& context, const void* codeAddress) {
  print(context.console,
        failureReport("EOutOfMemory", context.programName, imageOffsetOf(codeAddress), "Out of memory"));
  return 1;
}

int runBatch(const std::vector<std::string>& arguments, RunContext& context) {
  printLine(context.console, kBanner);
  std::vector<std::string_view> masks;
  for (const std::string& argument : arguments) {
    if (!argument.empty()) masks.push_back(argument);
  }
  if (masks.empty() || masks[0] == "-h" || masks[0] == "--help") {
    printLine(context.console, kUsage);
    return 0;
  }
  if (masks[0] == "--version") return 0;

  FileList list;
  for (std::string_view mask : masks) {
    for (FileEntry& entry : collectFiles(mask)) {
      if (list.size() < kMaxEntries) list.push_back(std::move(entry));
    }
  }
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
