#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace quennix {
namespace {

// One call moves at most this much, whatever the platform's own limit.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Calls `readSome(into, want, done)` until `size` bytes, the end of the
// file (0) or an error (-1 other than EINTR).
template <typename ReadSome>
ReadResult readLoop(void* dest, std::size_t size, ReadSome readSome) {
  ReadResult result;
  auto* bytes = static_cast<unsigned char*>(dest);
  while (result.count < size) {
    std::size_t want = std::min(size - result.count, kMaxTransfer);
    ssize_t got = readSome(bytes + result.count, want, result.count);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.failed = true;
      break;
    }
    if (got == 0) break;
    result.count += static_cast<std::size_t>(got);
  }
  return result;
}

}  // namespace

ReadResult readFully(int fd, void* dest, std::size_t size) {
  return readLoop(dest, size,
                  [fd](unsigned char* into, std::size_t want, std::size_t) { return ::read(fd, into, want); });
}

ReadResult readFullyAt(int fd, std::uint64_t offset, void* dest, std::size_t size) {
  constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
  return readLoop(dest, size, [fd, offset](unsigned char* into, std::size_t want, std::size_t done) -> ssize_t {
    std::uint64_t at = offset + done;
    if (at > kMaxOffset) return 0;  // no byte lies there
    return ::pread(fd, into, want, static_cast<off_t>(at));
  });
}

bool writeFully(int fd, const void* source, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(source);
  std::size_t done = 0;
  while (done < size) {
    std::size_t want = std::min(size - done, kMaxTransfer);
    ssize_t put = ::write(fd, bytes + done, want);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool seekTo(int fd, std::uint64_t offset) {
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
  return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::uint64_t bytesLeftToRead(const InputFile& input) {
  off_t position = ::lseek(input.fd, 0, SEEK_CUR);
  if (position < 0 || input.size <= static_cast<std::uint64_t>(position)) return 0;
  return input.size - static_cast<std::uint64_t>(position);
}

InputFile openInput(const std::string& path) {
  InputFile input;
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return input;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return input;
  }
  input.fd = fd;
  input.size = static_cast<std::uint64_t>(st.st_size);
  input.device = st.st_dev;
  input.inode = st.st_ino;
  return input;
}

int createOutput(const std::string& name, const InputFile& input) {
  // Opened without O_TRUNC and emptied only once it is known not to be the
  // input. O_NONBLOCK: a FIFO without a reader fails here instead of hanging.
  int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || (st.st_dev == input.device && st.st_ino == input.inode)) {
    ::close(fd);
    return -1;
  }
  if (S_ISREG(st.st_mode) && st.st_size != 0 && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void discardOutput(const std::string& name, int fd) {
  struct stat written;
  if (::fstat(fd, &written) != 0 || !S_ISREG(written.st_mode)) return;
  struct stat named;
  if (::lstat(name.c_str(), &named) == 0 && sameFile(named, written)) {
    ::unlink(name.c_str());
  } else if (::ftruncate(fd, 0) != 0) {
    // Nothing more can be done for a file that cannot be emptied.
  }
}

void closeFile(int fd) {
  if (fd >= 0) ::close(fd);
}

}  // namespace quennix
