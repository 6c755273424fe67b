// The platform in memory: files, clock, locale, login name, console and
// sound memory that a test sets up and looks at, so that the batch, the
// reader and the writer run in-process, the same on every system.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace quennix::test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint64_t kNeverFails = std::numeric_limits<std::uint64_t>::max();

// Bytes read at a position; a read that starts at `failsFrom` or later fails.
class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(Bytes bytes, std::uint64_t failsFrom = kNeverFails)
      : bytes_(std::move(bytes)), failsFrom_(failsFrom) {}
  std::uint64_t size() const override { return bytes_.size(); }
  ReadResult readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) override;

 private:
  Bytes bytes_;
  std::uint64_t failsFrom_;
};

// Bytes written in order, up to an optional capacity (a full disk).
class MemoryByteSink : public ByteSink {
 public:
  explicit MemoryByteSink(std::size_t capacity = std::numeric_limits<std::size_t>::max()) : capacity_(capacity) {}
  bool write(const std::uint8_t* bytes, std::size_t count) override;
  Bytes bytes;

 private:
  std::size_t capacity_;
};

// Zeroed heap blocks up to a size limit; counts what is given back.
class MemorySoundMemory : public SoundMemory {
 public:
  std::uint8_t* obtain(std::size_t size, std::size_t filled) override;
  void release(std::uint8_t* block, std::size_t size) override;
  std::size_t limit = std::numeric_limits<std::size_t>::max();
  int outstanding = 0;  // blocks obtained and not released
};

// One file system entry; names that share a node are hard links.
struct MemoryNode {
  enum Kind { file, directory, device } kind = file;
  Bytes bytes;
  FileIdentity identity;
  bool readOnly = false;
  std::uint64_t failsReadsFrom = kNeverFails;
};

// Entries by path, in the order they were made: the order a search
// delivers them in. A mask's directory part ends at its last "/" and its
// pattern is matched byte for byte (platform/mask.h).
class MemoryFileSystem : public FileSystem {
 public:
  MemoryNode& addFile(const std::string& path, Bytes bytes = {});
  MemoryNode& addDirectory(const std::string& path);
  MemoryNode& addDevice(const std::string& path);
  void addLink(const std::string& path, const std::string& target);  // a hard link
  MemoryNode* find(const std::string& path);
  std::vector<std::string> paths() const;

  std::vector<FoundFile> findFiles(std::string_view mask) override;
  std::optional<FileIdentity> identityOf(const std::string& path) override;
  std::unique_ptr<InputFile> openInput(const std::string& path) override;
  OutputNameCheck checkOutputName(const std::string& name, const InputFile& input) override;
  std::unique_ptr<OutputFile> startOutput(const std::string& name) override;
  FinishOutcome finishOutput(std::unique_ptr<OutputFile> output) override;
  void discardOutput(std::unique_ptr<OutputFile> output) override;
  std::string consoleName(std::string_view name) override { return std::string(name); }
  std::string_view outputNameSeparators() const override { return separators; }

  std::string separators;                                           // of the output name rule
  std::size_t diskSpace = std::numeric_limits<std::size_t>::max();  // for each output
  bool refusesOutputs = false;                                      // no temporary file can be made
  bool refusesNames = false;  // a finished output cannot take its name (another program holds it)

 private:
  std::vector<std::pair<std::string, std::shared_ptr<MemoryNode>>> entries_;
  std::uint64_t nextIdentity_ = 1;
  int temporaries_ = 0;
  MemoryNode& add(const std::string& path, MemoryNode::Kind kind, Bytes bytes);
  void remove(const std::string& path);
};

// Every reading two seconds after the one before, from 5 March 2024, 00:07:09.
class MemoryClock : public Clock {
 public:
  LocalDateTime currentLocalDateTime() override;
  LocalDateTime next{2024, 3, 5, 0, 7, 9};
  int readings = 0;
};

class MemoryLocale : public LocaleSource {
 public:
  LocaleItems localeItems() override {
    ++asked;
    return items;
  }
  LocaleItems items;
  int asked = 0;
};

class MemoryLoginName : public LoginNameSource {
 public:
  std::optional<std::string> loginName() override { return name; }
  std::optional<std::string> name = "tester";
};

// Every write kept apart, so that a test sees when the console flushed.
class MemoryConsole : public ConsoleStream {
 public:
  bool interactive() const override { return isInteractive; }
  void write(const char* bytes, std::size_t count) override { writes.emplace_back(bytes, count); }
  std::string text() const;
  bool isInteractive = false;
  std::vector<std::string> writes;
};

class MemoryFailureSite : public FailureSite {
 public:
  std::string moduleName() override { return "quennix"; }
  std::uint32_t imageOffset(std::uintptr_t codeAddress) override {
    asked = codeAddress;
    return 0x0001A2B4;
  }
  std::uintptr_t asked = 0;
};

struct MemoryPlatform {
  MemoryFileSystem files;
  MemoryClock clock;
  MemoryLocale locale;
  MemoryLoginName loginName;
  MemoryConsole console;
  MemorySoundMemory soundMemory;
  MemoryFailureSite failureSite;
  Platform platform{files, clock, locale, loginName, console, soundMemory, failureSite};
};

}  // namespace quennix::test
