#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>

#include "platform/mask.h"
#include "platform/win32/win32_platform.h"

namespace quennix::win32 {
namespace {

// One call moves at most this much, well inside a DWORD.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

FileIdentity identityFrom(const BY_HANDLE_FILE_INFORMATION& info) {
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// An open handle that closes itself.
struct Handle {
  explicit Handle(HANDLE value) : handle(value) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle != INVALID_HANDLE_VALUE; }
  HANDLE handle;
};

// Opens a name for its attributes only (no read or write access, so that no
// share mode stands in the way), links followed or not.
HANDLE openForQuery(const std::string& path, bool followLinks) {
  DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  return ::CreateFileW(wideFromUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, flags, nullptr);
}

class Win32InputFile : public InputFile {
 public:
  Win32InputFile(HANDLE handle, std::uint64_t size, FileIdentity identity)
      : handle_(handle), size_(size), identity_(identity) {}
  ~Win32InputFile() override { ::CloseHandle(handle_); }
  Win32InputFile(const Win32InputFile&) = delete;
  Win32InputFile& operator=(const Win32InputFile&) = delete;

  std::uint64_t size() const override { return size_; }
  ReadResult readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) override {
    ReadResult result;
    while (result.count < count) {
      std::uint64_t at = offset + result.count;
      OVERLAPPED position{};
      position.Offset = static_cast<DWORD>(at);
      position.OffsetHigh = static_cast<DWORD>(at >> 32);
      auto want = static_cast<DWORD>(std::min(count - result.count, kMaxTransfer));
      DWORD got = 0;
      if (!::ReadFile(handle_, into + result.count, want, &got, &position)) {
        result.failed = ::GetLastError() != ERROR_HANDLE_EOF;
        break;
      }
      if (got == 0) break;
      result.count += got;
    }
    return result;
  }
  FileIdentity identity() const override { return identity_; }

 private:
  HANDLE handle_;
  std::uint64_t size_;
  FileIdentity identity_;
};

// The temporary file being written, for the console handler, which runs on
// a thread of its own: the name is in place before the flag is set, the flag
// is set only once the file exists, and cleared before the name changes.
wchar_t gTemporaryName[64];
std::atomic<bool> gHasTemporary{false};

BOOL WINAPI removeTemporaryOnConsoleEvent(DWORD /*event*/) {
  // The file was opened with FILE_SHARE_DELETE: it goes when the process
  // ends and its handle is closed.
  if (gHasTemporary.load()) ::DeleteFileW(gTemporaryName);
  return FALSE;  // the event's usual handling (the end of the process) follows
}

std::wstring temporaryNameCandidate() {
  static std::random_device source;
  static std::uint32_t counter = 0;
  std::uint32_t bits = source() ^ (static_cast<std::uint32_t>(::GetCurrentProcessId()) << 12) ^
                       static_cast<std::uint32_t>(::GetTickCount64()) ^ ++counter;
  wchar_t name[sizeof gTemporaryName / sizeof gTemporaryName[0]];
  std::swprintf(name, sizeof name / sizeof name[0], L".quennix-%08X.tmp", static_cast<unsigned>(bits));
  return name;
}

class Win32OutputFile : public OutputFile {
 public:
  // Everything that needs memory is made before the file exists, so that
  // running out of memory never leaves a temporary file behind.
  Win32OutputFile(std::wstring temporaryName, std::wstring name)
      : temporaryName_(std::move(temporaryName)), name_(std::move(name)) {}
  // An output neither finished nor discarded (an exception on the way) goes.
  ~Win32OutputFile() override { discard(); }
  Win32OutputFile(const Win32OutputFile&) = delete;
  Win32OutputFile& operator=(const Win32OutputFile&) = delete;

  // CREATE_NEW: never an existing file, never through a link.
  // GetLastError() tells why not.
  bool create() {
    handle_ = ::CreateFileW(temporaryName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    std::swprintf(gTemporaryName, sizeof gTemporaryName / sizeof gTemporaryName[0], L"%ls", temporaryName_.c_str());
    gHasTemporary = true;
    created_ = true;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle_, &info)) return false;
    identity_ = identityFrom(info);
    return true;
  }

  bool write(const std::uint8_t* bytes, std::size_t count) override {
    std::size_t done = 0;
    while (done < count) {
      auto want = static_cast<DWORD>(std::min(count - done, kMaxTransfer));
      DWORD put = 0;
      if (!::WriteFile(handle_, bytes + done, want, &put, nullptr) || put == 0) return false;
      done += put;
    }
    return true;
  }
  FileIdentity identity() const override { return identity_; }

  FinishOutcome finish() {
    bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    if (!closed) {
      discard();
      return FinishOutcome::writeFailed;
    }
    if (!::MoveFileExW(temporaryName_.c_str(), name_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      discard();
      return FinishOutcome::nameRefused;
    }
    gHasTemporary = false;
    created_ = false;
    return FinishOutcome::named;
  }
  void discard() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    if (!created_) return;
    ::DeleteFileW(temporaryName_.c_str());
    gHasTemporary = false;
    created_ = false;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool created_ = false;  // the temporary file exists and is this output's
  std::wstring temporaryName_;
  std::wstring name_;
  FileIdentity identity_;
};

}  // namespace

std::vector<FoundFile> Win32FileSystem::findFiles(std::string_view mask) {
  std::string directory(splitMask(mask, "\\/:").directory);
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW(wideFromUtf8(mask).c_str(), &entry);
  std::vector<FoundFile> found;
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    // A reparse point to a directory carries the directory flag too.
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    found.push_back(FoundFile{directory, utf8FromWide(entry.cFileName)});
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return found;
}

std::optional<FileIdentity> Win32FileSystem::identityOf(const std::string& path) {
  Handle file(openForQuery(path, true));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || !::GetFileInformationByHandle(file.handle, &info)) return std::nullopt;
  return identityFrom(info);
}

std::unique_ptr<InputFile> Win32FileSystem::openInput(const std::string& path) {
  HANDLE handle =
      ::CreateFileW(wideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  Handle file(handle);
  // A console, a printer port, NUL or a pipe is no disk file.
  BY_HANDLE_FILE_INFORMATION info;
  LARGE_INTEGER size;
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
      !::GetFileSizeEx(handle, &size)) {
    return nullptr;
  }
  file.handle = INVALID_HANDLE_VALUE;  // the input owns it from here
  return std::make_unique<Win32InputFile>(handle, static_cast<std::uint64_t>(size.QuadPart), identityFrom(info));
}

OutputNameCheck Win32FileSystem::checkOutputName(const std::string& name, const InputFile& input) {
  Handle entry(openForQuery(name, false));
  if (!entry.valid()) {
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return OutputNameCheck{};
    return OutputNameCheck{OutputNameState::blocked, std::nullopt};  // held by another program, or refused
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileType(entry.handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(entry.handle, &info)) {
    return OutputNameCheck{OutputNameState::blocked, std::nullopt};  // a device name: CON, NUL, COM1
  }
  OutputNameCheck check{OutputNameState::free, identityFrom(info)};
  // Only a reparse point (a link) needs a second open to find the file it stands for.
  bool link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  std::optional<FileIdentity> file = link ? identityOf(name) : check.existing;
  if (file == input.identity()) {
    check.state = OutputNameState::input;
  } else if ((info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    check.state = OutputNameState::blocked;
  }
  return check;
}

std::unique_ptr<OutputFile> Win32FileSystem::startOutput(const std::string& name) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    auto output = std::make_unique<Win32OutputFile>(temporaryNameCandidate(), wideFromUtf8(name));
    if (output->create()) return output;
    if (::GetLastError() != ERROR_FILE_EXISTS) return nullptr;  // the output's destructor removes what it made
  }
  return nullptr;
}

FinishOutcome Win32FileSystem::finishOutput(std::unique_ptr<OutputFile> output) {
  return static_cast<Win32OutputFile&>(*output).finish();
}

void Win32FileSystem::discardOutput(std::unique_ptr<OutputFile> output) {
  static_cast<Win32OutputFile&>(*output).discard();
}

std::string Win32FileSystem::consoleName(std::string_view name) { return ansiFromWide(wideFromUtf8(name)); }

std::string_view Win32FileSystem::outputNameSeparators() const { return "\\:"; }

void removeTemporaryOutputOnConsoleEvents() { ::SetConsoleCtrlHandler(removeTemporaryOnConsoleEvent, TRUE); }

}  // namespace quennix::win32
