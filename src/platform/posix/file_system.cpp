#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <limits>
#include <random>

#include "platform/mask.h"
#include "platform/posix/posix_platform.h"

namespace quennix::posix {
namespace {

// One call moves at most this much, whatever the platform's own limit.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

FileIdentity identityFrom(const struct stat& st) {
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

ReadResult readFullyAt(int fd, std::uint64_t offset, std::uint8_t* into, std::size_t count) {
  constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
  ReadResult result;
  while (result.count < count) {
    std::uint64_t at = offset + result.count;
    if (at > kMaxOffset) break;  // no byte lies there
    std::size_t want = std::min(count - result.count, kMaxTransfer);
    ssize_t got = ::pread(fd, into + result.count, want, static_cast<off_t>(at));
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

class PosixInputFile : public InputFile {
 public:
  PosixInputFile(int fd, const struct stat& st)
      : fd_(fd), size_(static_cast<std::uint64_t>(st.st_size)), identity_(identityFrom(st)) {}
  ~PosixInputFile() override { ::close(fd_); }
  PosixInputFile(const PosixInputFile&) = delete;
  PosixInputFile& operator=(const PosixInputFile&) = delete;

  std::uint64_t size() const override { return size_; }
  ReadResult readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) override {
    return readFullyAt(fd_, offset, into, count);
  }
  FileIdentity identity() const override { return identity_; }

 private:
  int fd_;
  std::uint64_t size_;
  FileIdentity identity_;
};

// The temporary file being written, for the signal handler. The name is in
// place before the flag is set (the fence keeps the order), and the flag is
// cleared before the name changes, so that the handler never sees half a
// name; it is set only once the file exists, so that the handler never
// removes a file of someone else's.
char gTemporaryName[64];
volatile std::sig_atomic_t gHasTemporary = 0;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

void removeTemporaryAndEnd(int signal) {
  if (gHasTemporary != 0) {
    std::atomic_signal_fence(std::memory_order_acquire);
    ::unlink(gTemporaryName);
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void recordTemporary(const char* name) {
  std::snprintf(gTemporaryName, sizeof gTemporaryName, "%s", name);
  std::atomic_signal_fence(std::memory_order_release);
  gHasTemporary = 1;
}

void forgetTemporary() {
  gHasTemporary = 0;
  std::atomic_signal_fence(std::memory_order_release);
}

std::string temporaryNameCandidate() {
  static std::random_device source;
  static const auto process = static_cast<std::uint32_t>(::getpid());
  static std::uint32_t counter = 0;
  std::uint32_t bits = source() ^ (process << 12) ^ ++counter;
  char name[sizeof gTemporaryName];
  std::snprintf(name, sizeof name, ".quennix-%08X.tmp", static_cast<unsigned>(bits));
  return name;
}

// Gives the file the mode and owner of the regular file it replaces (where
// this user may), as writing that file in place would have kept them.
void takeOverModeAndOwner(int fd, const std::string& name) {
  struct stat replaced;
  if (::lstat(name.c_str(), &replaced) != 0 || !S_ISREG(replaced.st_mode)) return;
  if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
    // Only the owner's group may be changed, or nothing: the new file stays ours.
  }
  ::fchmod(fd, replaced.st_mode & 0777);
}

class PosixOutputFile : public OutputFile {
 public:
  // Everything that needs memory is made before the file exists, so that
  // running out of memory never leaves a temporary file behind.
  PosixOutputFile(std::string temporaryName, std::string name)
      : temporaryName_(std::move(temporaryName)), name_(std::move(name)) {}
  // An output neither finished nor discarded (an exception on the way) goes.
  ~PosixOutputFile() override { discard(); }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  // O_EXCL: never an existing file, never through a link. errno tells why not.
  bool create() {
    fd_ = ::open(temporaryName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd_ < 0) return false;
    recordTemporary(temporaryName_.c_str());
    created_ = true;
    struct stat st;
    if (::fstat(fd_, &st) != 0) return false;
    identity_ = identityFrom(st);
    return true;
  }

  bool write(const std::uint8_t* bytes, std::size_t count) override {
    std::size_t done = 0;
    while (done < count) {
      std::size_t want = std::min(count - done, kMaxTransfer);
      ssize_t put = ::write(fd_, bytes + done, want);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      done += static_cast<std::size_t>(put);
    }
    return true;
  }
  FileIdentity identity() const override { return identity_; }

  FinishOutcome finish() {
    takeOverModeAndOwner(fd_, name_);
    bool closed = ::close(fd_) == 0;  // a late write error shows here
    fd_ = -1;
    if (!closed) {
      discard();
      return FinishOutcome::writeFailed;
    }
    if (::rename(temporaryName_.c_str(), name_.c_str()) != 0) {
      discard();
      return FinishOutcome::nameRefused;
    }
    forgetTemporary();
    created_ = false;
    return FinishOutcome::named;
  }
  void discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!created_) return;
    ::unlink(temporaryName_.c_str());
    forgetTemporary();
    created_ = false;
  }

 private:
  int fd_ = -1;
  bool created_ = false;  // the temporary file exists and is this output's
  std::string temporaryName_;
  std::string name_;
  FileIdentity identity_;
};

}  // namespace

std::vector<FoundFile> PosixFileSystem::findFiles(std::string_view mask) {
  MaskParts parts = splitMask(mask, "/");
  std::string directory(parts.directory);
  std::vector<FoundFile> found;
  for (std::string& name : findMatchingNames(directory, parts.pattern)) found.push_back(FoundFile{directory, name});
  return found;
}

std::optional<FileIdentity> PosixFileSystem::identityOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return identityFrom(st);
}

std::unique_ptr<InputFile> PosixFileSystem::openInput(const std::string& path) {
  // O_NONBLOCK: a FIFO without a writer is refused here instead of hanging.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixInputFile>(fd, st);
}

OutputNameCheck PosixFileSystem::checkOutputName(const std::string& name, const InputFile& input) {
  struct stat entry;
  if (::lstat(name.c_str(), &entry) != 0) return OutputNameCheck{};
  OutputNameCheck check{OutputNameState::free, identityFrom(entry)};
  // Only a link needs a second look to find the file it stands for.
  std::optional<FileIdentity> file = S_ISLNK(entry.st_mode) ? identityOf(name) : check.existing;
  if (file == input.identity()) {
    check.state = OutputNameState::input;
  } else if (S_ISDIR(entry.st_mode)) {
    check.state = OutputNameState::blocked;
  } else if (S_ISREG(entry.st_mode) && ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0) {
    // A read-only file keeps its contents, as it would if it were written in place.
    check.state = OutputNameState::blocked;
  }
  return check;
}

std::unique_ptr<OutputFile> PosixFileSystem::startOutput(const std::string& name) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    auto output = std::make_unique<PosixOutputFile>(temporaryNameCandidate(), name);
    if (output->create()) return output;
    if (errno != EEXIST) return nullptr;  // the output's destructor removes what it made
  }
  return nullptr;
}

FinishOutcome PosixFileSystem::finishOutput(std::unique_ptr<OutputFile> output) {
  return static_cast<PosixOutputFile&>(*output).finish();
}

void PosixFileSystem::discardOutput(std::unique_ptr<OutputFile> output) {
  static_cast<PosixOutputFile&>(*output).discard();
}

std::string PosixFileSystem::consoleName(std::string_view name) { return std::string(name); }

std::string_view PosixFileSystem::outputNameSeparators() const { return ""; }

void removeTemporaryOutputOnSignals() {
  for (int signal : kCleanupSignals) {
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndEnd;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace quennix::posix
