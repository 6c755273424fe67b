// The program's file calls on POSIX: opening inputs, writing outputs under a
// temporary name that replaces the output name only once they are whole, and
// reads and writes that go on until the whole count has moved (one call may
// move less than asked, at most about 2 GiB on Linux).
#pragma once

#include <sys/types.h>

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quennix {

struct ReadResult {
  std::size_t count = 0;  // bytes delivered; fewer than asked at the end of the file
  bool failed = false;    // a read error (not the end of the file)
};

// Reads at the file's current position / at `offset` until `size` bytes,
// the end of the file or an error.
ReadResult readFully(int fd, void* dest, std::size_t size);
ReadResult readFullyAt(int fd, std::uint64_t offset, void* dest, std::size_t size);

// Writes all `size` bytes; false on an error or when nothing more can be written.
bool writeFully(int fd, const void* source, std::size_t size);

bool seekTo(int fd, std::uint64_t offset);

// Which file a name stands for, whatever the path that reached it.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file at `path`, links followed; empty when there is none.
std::optional<FileIdentity> identityOf(const std::string& path);

// An input open for reading, with what opening it found out.
struct InputFile {
  int fd = -1;
  std::uint64_t size = 0;
  FileIdentity identity;
};

// The bytes from the current position to the end of the input (0 past it).
std::uint64_t bytesLeftToRead(const InputFile& input);

// Opens `path` for reading without blocking; fd -1 unless it opened and is a
// regular file (a FIFO, device or socket is refused).
InputFile openInput(const std::string& path);

// An output being written under a temporary name in the current directory.
struct PendingOutput {
  int fd = -1;
  std::string temporaryName;  // ".quennix-XXXXXXXX.tmp"
  std::string name;           // the name it takes when finished
  FileIdentity identity;      // of the file written, which keeps it when renamed
};

// What is at an output name before a conversion writes to it.
enum class OutputNameState {
  free,     // nothing, or an entry the finished output may replace
  input,    // the input itself, through this name or a link
  blocked,  // a directory, or a regular file this user may not write
};

OutputNameState outputNameState(const std::string& name, const InputFile& input);

// The identity of the entry at `name` itself, a link not followed.
std::optional<FileIdentity> entryIdentityOf(const std::string& name);

// Creates a new, empty temporary file (O_EXCL, mode 0666 less the umask) in
// the current directory for the output `name`; false when none can be made.
bool startOutput(const std::string& name, PendingOutput& output);

// Closes the temporary file and renames it over its output name, replacing
// whatever non-directory entry (a file, a link, a FIFO) stood there. False
// when closing or renaming fails; the temporary file is then removed.
bool finishOutput(PendingOutput& output);

// Closes and removes the temporary file; the output name is left as it was.
void discardOutput(PendingOutput& output);

void closeFile(int fd);

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of an output
// being written before the program ends as they would end it.
void removeTemporaryOutputOnSignals();

}  // namespace quennix
