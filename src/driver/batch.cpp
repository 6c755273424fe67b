#include "driver/batch.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <optional>

#include "aifc/source_header.h"
#include "aifc/summary.h"
#include "chunky/fda_writer.h"
#include "driver/failure_report.h"
#include "platform/login_name.h"
#include "text/date_time.h"
#include "text/format_text.h"
#include "text/number_text.h"

namespace quennix {
namespace {

constexpr std::size_t kMaxEntries = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

EntryOutcome outcomeOf(HeaderOutcome header) {
  return header == HeaderOutcome::readFailed ? EntryOutcome::readFailed : EntryOutcome::unknownFormat;
}

EntryOutcome outcomeOf(WriteOutcome written) {
  switch (written) {
    case WriteOutcome::done:
      return EntryOutcome::done;
    case WriteOutcome::writeFailed:
      return EntryOutcome::writeFailed;
    case WriteOutcome::readFailed:
      return EntryOutcome::readFailed;
    case WriteOutcome::outOfMemory:
      break;
  }
  return EntryOutcome::outOfMemory;
}

// Whether the output name may take the new output: not the input, nothing
// that must not be replaced, no output of this run and no file this run
// converts (which would be lost before or after its own turn).
bool outputNameIsFree(const std::string& name, const InputFile& input, const Run& run) {
  OutputNameCheck check = run.platform.fileSystem.checkOutputName(name, input);
  if (check.state != OutputNameState::free) return false;
  if (!check.existing) return true;
  return !run.finishedOutputs.contains(*check.existing) && !run.inputs.contains(*check.existing);
}

FileBurnInfo burnInfoOfNow(Run& run) {
  std::string dateStamp = formatDateTime(kDateStampPattern, run.platform.clock.currentLocalDateTime(), run.locale);
  return fdaBurnInfo(storableLoginName(run.platform.loginName.loginName()), dateStamp);
}

// The input is open and its header accepted: writes the output and gives it
// its name. The input is closed before the output.
EntryOutcome writeOutput(const FoundFile& entry, std::unique_ptr<InputFile> input, const SourceInfo& source, Run& run) {
  std::optional<FdaInfo> info = fdaInfoFor(source);
  if (!info) return EntryOutcome::unsupportedRate;
  FileSystem& files = run.platform.fileSystem;
  std::string name = outputNameFor(entry.name, files.outputNameSeparators());
  if (!outputNameIsFree(name, *input, run)) return EntryOutcome::createFailed;
  std::unique_ptr<OutputFile> output = files.startOutput(name);
  if (!output) return EntryOutcome::createFailed;
  WriteOutcome written = writeFdaFile(*input, source, *info, burnInfoOfNow(run), *output, run.platform.soundMemory);
  input.reset();
  if (written != WriteOutcome::done) {
    files.discardOutput(std::move(output));
    return outcomeOf(written);
  }
  FileIdentity identity = output->identity();
  switch (files.finishOutput(std::move(output))) {
    case FinishOutcome::named:
      break;
    case FinishOutcome::writeFailed:
      return EntryOutcome::writeFailed;
    case FinishOutcome::nameRefused:
      return EntryOutcome::createFailed;
  }
  run.finishedOutputs.insert(identity);
  return EntryOutcome::done;
}

int reportOutOfMemory(Run& run, std::uintptr_t detectedIn) {
  FailureSite& site = run.platform.failureSite;
  print(run.console, failureReport("EOutOfMemory", site.moduleName(), site.imageOffset(detectedIn), "Out of memory"));
  return 1;
}

int runBatch(const std::vector<std::string>& arguments, Run& run) {
  printLine(run.console, kBanner);
  std::vector<std::string_view> masks;
  for (const std::string& argument : arguments) {
    if (!argument.empty()) masks.push_back(argument);
  }
  if (masks.empty()) {
    printLine(run.console, kUsage);
    return 0;
  }
  if (masks[0] == "-h" || masks[0] == "--help") {
    printLine(run.console, kUsage);
    for (std::string_view line : kHelp) printLine(run.console, line);
    return 0;
  }
  if (masks[0] == "--version") return 0;

  FileList list = collectFiles(run.platform.fileSystem, masks, run.inputs);
  printLine(run.console, "Find " + integerText(static_cast<std::int32_t>(list.size())) + " files");
  for (std::size_t index = 0; index < list.size(); ++index) {
    EntryOutcome outcome = convertFile(list, index, run);
    // The writer is where a sound block that cannot be had is found out.
    if (outcome == EntryOutcome::outOfMemory)
      return reportOutOfMemory(run, reinterpret_cast<std::uintptr_t>(&writeFdaFile));
    printLine(run.console, consoleEnding(outcome));
  }
  return 0;
}

}  // namespace

FileList collectFiles(FileSystem& fileSystem, const std::vector<std::string_view>& masks,
                      std::set<FileIdentity>& listed) {
  FileList list;
  for (std::string_view mask : masks) {
    for (FoundFile& found : fileSystem.findFiles(mask)) {
      if (list.size() == kMaxEntries) return list;
      std::optional<FileIdentity> identity = fileSystem.identityOf(found.directory + found.name);
      if (identity && !listed.insert(*identity).second) continue;
      list.push_back(std::move(found));
    }
  }
  return list;
}

std::string outputNameFor(std::string_view name, std::string_view separators) {
  std::size_t last = name.find_last_of(std::string(separators) + '.');
  bool extension = last != std::string_view::npos && name[last] == '.';
  return std::string(extension ? name.substr(0, last) : name) + ".fda";
}

std::string displayName(std::string_view consoleName) {
  std::string shown(consoleName);
  for (char& c : shown) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return shown;
}

EntryOutcome convertFile(const FileList& list, std::size_t index, Run& run) {
  const FoundFile& entry = list[index];
  FileSystem& files = run.platform.fileSystem;
  print(run.console, formatText("[%d/%d] %s ",
                                {static_cast<std::int32_t>(index + 1), static_cast<std::int32_t>(list.size()),
                                 std::string_view(displayName(files.consoleName(entry.name)))},
                                run.locale));
  std::unique_ptr<InputFile> input = files.openInput(entry.directory + entry.name);
  if (!input) return EntryOutcome::openFailed;
  SourceHeader header = readSourceHeader(*input);
  if (header.outcome != HeaderOutcome::accepted) return outcomeOf(header.outcome);
  print(run.console, summaryText(header.info, run.locale));
  return writeOutput(entry, std::move(input), header.info, run);
}

int runQuennix(const std::vector<std::string>& arguments, Platform& platform) {
  Run run{platform, Console(platform.console), loadLocaleSettings(platform.locale)};
  int status = 0;
  try {
    status = runBatch(arguments, run);
  } catch (const std::bad_alloc&) {
    // Any other allocation that fails ends the run the same way.
    status = reportOutOfMemory(run, reinterpret_cast<std::uintptr_t>(&runQuennix));
  }
  flush(run.console);
  return status;
}

}  // namespace quennix
