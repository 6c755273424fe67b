// The program's file calls on POSIX: opening inputs, creating outputs, and
// reads and writes that go on until the whole count has moved (one call may
// move less than asked, at most about 2 GiB on Linux).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
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

// An input open for reading, with what opening it found out.
struct InputFile {
  int fd = -1;
  std::uint64_t size = 0;
  dev_t device = 0;
  ino_t inode = 0;
};

// The bytes from the current position to the end of the input (0 past it).
std::uint64_t bytesLeftToRead(const InputFile& input);

// Opens `path` for reading without blocking; fd -1 unless it opened and is a
// regular file (a FIFO, device or socket is refused).
InputFile openInput(const std::string& path);

// Creates or empties `name` for writing, mode 0666 before the umask. -1 when
// that fails, or when `name` is the input itself (a hard or symbolic link
// included): that file is then left as it was.
int createOutput(const std::string& name, const InputFile& input);

// Removes what a failed conversion left under `name`, whose open descriptor
// is `fd`: the name itself when it is the regular file just written,
// otherwise the written file's contents (a file reached through a link is
// emptied, a device is left alone).
void discardOutput(const std::string& name, int fd);

void closeFile(int fd);

}  // namespace quennix
