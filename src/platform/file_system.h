// The file calls of the batch: the directory search behind a mask, inputs
// opened for reading, and outputs written under a temporary name that takes
// the output's own name only once the output is whole.
//
// Names are byte strings in the platform's own form of a file name (the
// bytes the system stores on Linux, UTF-8 on Windows); consoleName turns a
// name into the bytes the console shows.
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_sink.h"
#include "platform/byte_source.h"

namespace quennix {

// Which file a name stands for, whatever the path or link that reached it:
// device and inode on Linux, volume serial number and file index on Windows.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// One file a mask found: the mask's directory part as given ("" or ending
// in a separator) and the bare name in it.
struct FoundFile {
  std::string directory;
  std::string name;
};

// An input, open for reading until it is destroyed.
class InputFile : public ByteSource {
 public:
  virtual FileIdentity identity() const = 0;
};

// An output being written under its temporary name until the file system
// finishes or discards it.
class OutputFile : public ByteSink {
 public:
  virtual FileIdentity identity() const = 0;  // which the file keeps when it takes its name
};

// What stands at an output name before a conversion writes to it.
enum class OutputNameState {
  free,     // nothing, or an entry that the finished output replaces (a file, a link, a FIFO)
  input,    // the input itself, by this name or through a link
  blocked,  // a directory, or a file that this user may not replace
};

enum class FinishOutcome {
  named,        // the output is whole and has its name
  writeFailed,  // closing it showed that bytes were not written
  nameRefused,  // it could not take its name (another program holds that file, say)
};

struct OutputNameCheck {
  OutputNameState state = OutputNameState::free;
  std::optional<FileIdentity> existing;  // the entry at the name itself, a link not followed
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The files a mask finds, never a directory or a link to one, in the
  // platform's order. A mask that finds nothing, or cannot be searched,
  // gives none.
  virtual std::vector<FoundFile> findFiles(std::string_view mask) = 0;

  // The identity of the file at `path`, links followed; none when there is
  // no such file or it cannot be reached.
  virtual std::optional<FileIdentity> identityOf(const std::string& path) = 0;

  // Opens a regular file for reading, others may read it too; null when it
  // cannot be opened or is no regular file (a device, a FIFO).
  virtual std::unique_ptr<InputFile> openInput(const std::string& path) = 0;

  virtual OutputNameCheck checkOutputName(const std::string& name, const InputFile& input) = 0;

  // A new, empty file under a temporary name in the current directory for
  // the output `name`; null when none can be made.
  virtual std::unique_ptr<OutputFile> startOutput(const std::string& name) = 0;

  // Closes the output and gives it its name, replacing what stood there.
  // When that fails the temporary file is removed and the name keeps what
  // it held.
  virtual FinishOutcome finishOutput(std::unique_ptr<OutputFile> output) = 0;

  // Closes and removes the output's temporary file; its name keeps what it held.
  virtual void discardOutput(std::unique_ptr<OutputFile> output) = 0;

  // A name as the console shows it, in the console's bytes.
  virtual std::string consoleName(std::string_view name) = 0;

  // The bytes besides "." that the output name rule looks for in a bare
  // name: none on Linux, where every byte but "/" may stand in a name;
  // backslash and colon on Windows.
  virtual std::string_view outputNameSeparators() const = 0;
};

}  // namespace quennix
