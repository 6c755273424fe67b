#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <limits>
#include <random>

namespace quennix {
namespace {

// One call moves at most this much, whatever the platform's own limit.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

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

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{st.st_dev, st.st_ino};
}

std::optional<FileIdentity> entryIdentityOf(const std::string& name) {
  struct stat st;
  if (::lstat(name.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{st.st_dev, st.st_ino};
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
  input.identity = FileIdentity{st.st_dev, st.st_ino};
  return input;
}

OutputNameState outputNameState(const std::string& name, const InputFile& input) {
  struct stat entry;
  if (::lstat(name.c_str(), &entry) != 0) return OutputNameState::free;
  if (identityOf(name) == input.identity) return OutputNameState::input;
  if (S_ISDIR(entry.st_mode)) return OutputNameState::blocked;
  // A read-only file keeps its contents, as it would if it were written in place.
  if (S_ISREG(entry.st_mode) && ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0) {
    return OutputNameState::blocked;
  }
  return OutputNameState::free;
}

namespace {

// The temporary file being written, for the signal handler; set only while
// signals are blocked.
char gTemporaryName[64];
volatile std::sig_atomic_t gHasTemporary = 0;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t cleanupSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kCleanupSignals) sigaddset(&set, signal);
  return set;
}

// Runs `step` with the cleanup signals held back, so that the handler never
// sees a temporary file half recorded.
template <typename Step>
auto withCleanupSignalsBlocked(Step step) {
  sigset_t blocked = cleanupSignalSet();
  sigset_t previous;
  ::sigprocmask(SIG_BLOCK, &blocked, &previous);
  auto result = step();
  ::sigprocmask(SIG_SETMASK, &previous, nullptr);
  return result;
}

void removeTemporaryAndEnd(int signal) {
  if (gHasTemporary != 0) ::unlink(gTemporaryName);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

std::string temporaryNameCandidate() {
  static std::random_device source;
  static std::uint32_t counter = 0;
  std::uint32_t bits = source() ^ (static_cast<std::uint32_t>(::getpid()) << 12) ^ ++counter;
  char name[sizeof gTemporaryName];
  std::snprintf(name, sizeof name, ".quennix-%08X.tmp", static_cast<unsigned>(bits));
  return name;
}

bool forgetTemporary() {
  gHasTemporary = 0;
  return true;
}

}  // namespace

bool startOutput(const std::string& name, PendingOutput& output) {
  constexpr int kAttempts = 100;
  output = PendingOutput{};
  output.name = name;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string candidate = temporaryNameCandidate();
    int fd = withCleanupSignalsBlocked([&] {
      int created = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
      if (created >= 0) {
        std::snprintf(gTemporaryName, sizeof gTemporaryName, "%s", candidate.c_str());
        gHasTemporary = 1;
      }
      return created;
    });
    if (fd >= 0) {
      output.fd = fd;
      output.temporaryName = candidate;
      struct stat st;
      if (::fstat(fd, &st) != 0) {
        discardOutput(output);
        return false;
      }
      output.identity = FileIdentity{st.st_dev, st.st_ino};
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool finishOutput(PendingOutput& output) {
  bool closed = ::close(output.fd) == 0;
  output.fd = -1;
  if (closed && ::rename(output.temporaryName.c_str(), output.name.c_str()) == 0) {
    return withCleanupSignalsBlocked(forgetTemporary);
  }
  discardOutput(output);
  return false;
}

void discardOutput(PendingOutput& output) {
  closeFile(output.fd);
  output.fd = -1;
  ::unlink(output.temporaryName.c_str());
  withCleanupSignalsBlocked(forgetTemporary);
}

void closeFile(int fd) {
  if (fd >= 0) ::close(fd);
}

void removeTemporaryOutputOnSignals() {
  for (int signal : kCleanupSignals) {
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndEnd;
    sigemptyset(&action.sa_mask);
    struct sigaction previous {};
    // A signal the caller's parent set to be ignored stays ignored.
    if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace quennix
