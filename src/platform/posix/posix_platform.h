// The POSIX implementations of the platform's interfaces. Only the files of
// this folder include system headers.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quennix::posix {

// The names in `directory` ("" for the current one; otherwise ending in
// "/") that match `pattern` (platform/mask.h), sorted by byte value. Entries
// that are directories, or links to directories, are never taken; "." and
// ".." never match; names starting with a dot are taken like any other. A
// pattern without wildcards finds exactly that entry, if it exists.
std::vector<std::string> findMatchingNames(const std::string& directory, std::string_view pattern);

// Outputs go under ".quennix-XXXXXXXX.tmp" in the current directory and are
// renamed over their name, taking the mode and owner of a regular file they
// replace; SIGINT, SIGTERM and SIGHUP remove the one being written before
// they end the program.
class PosixFileSystem : public FileSystem {
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

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of an output
// being written before the program ends as they would end it; a signal
// that the parent set to be ignored stays ignored.
void removeTemporaryOutputOnSignals();

// A small block from the heap; a large one as fresh anonymous memory whose
// first `filled` bytes are backed at once, in large pages where the system
// has them, so that filling them costs no page fault per 4 KiB; the rest is
// left to the system's zero pages.
class PosixSoundMemory : public SoundMemory {
 public:
  std::uint8_t* obtain(std::size_t size, std::size_t filled) override;
  void release(std::uint8_t* block, std::size_t size) override;
};

// The effective user's name in the password database, looked up once for
// each effective user the process runs as.
class PosixLoginName : public LoginNameSource {
 public:
  std::optional<std::string> loginName() override;

 private:
  bool known_ = false;
  unsigned long knownUser_ = 0;
  std::optional<std::string> knownName_;
};

}  // namespace quennix::posix
