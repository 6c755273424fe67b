#include "platform/system.h"

#include <windows.h>

#include "platform/command_line.h"
#include "platform/win32/win32_platform.h"

namespace quennix::win32 {
namespace {

class Win32Clock : public Clock {
 public:
  LocalDateTime currentLocalDateTime() override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return LocalDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }
};

// The thread's locale through GetLocaleInfoA: its bytes in the ANSI code page.
class Win32Locale : public LocaleSource {
 public:
  LocaleItems localeItems() override {
    LCID locale = ::GetThreadLocale();
    LocaleItems items;
    for (int month = 0; month < 12; ++month) {
      char name[256];
      if (::GetLocaleInfoA(locale, static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + month), name, sizeof name) > 0) {
        items.monthNames[static_cast<std::size_t>(month)] = name;
      }
    }
    items.decimalSeparator = separator(locale, LOCALE_SDECIMAL);
    items.timeSeparator = separator(locale, LOCALE_STIME);
    return items;
  }

 private:
  // Room for one byte and its terminator: a longer value does not fit and
  // counts as none.
  static std::optional<std::string> separator(LCID locale, LCTYPE item) {
    char value[2];
    if (::GetLocaleInfoA(locale, item, value, sizeof value) == 0) return std::nullopt;
    return std::string(value);
  }
};

// GetUserNameA into a buffer of 200 bytes, the terminating NUL included.
class Win32LoginName : public LoginNameSource {
 public:
  std::optional<std::string> loginName() override {
    char name[kMaxLoginNameBytes + 1];
    DWORD size = sizeof name;
    if (!::GetUserNameA(name, &size) || size == 0) return std::nullopt;
    return std::string(name, size - 1);
  }
};

// The standard output handle; interactive when it is a console.
class Win32Console : public ConsoleStream {
 public:
  bool interactive() const override {
    DWORD mode;
    return ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
  }
  void write(const char* bytes, std::size_t count) override {
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    while (count > 0) {
      DWORD put = 0;
      if (!::WriteFile(output, bytes, static_cast<DWORD>(count), &put, nullptr) || put == 0) return;
      bytes += put;
      count -= put;
    }
  }
};

// VirtualAlloc's pages come zero-filled.
class Win32SoundMemory : public SoundMemory {
 public:
  std::uint8_t* obtain(std::size_t size, std::size_t /*filled*/) override {
    return static_cast<std::uint8_t*>(::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  void release(std::uint8_t* block, std::size_t /*size*/) override { ::VirtualFree(block, 0, MEM_RELEASE); }
};

class Win32FailureSite : public FailureSite {
 public:
  std::string moduleName() override {
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string_view whole(path, length);
    return std::string(whole.substr(whole.find_last_of('\\') + 1));
  }
  std::uint32_t imageOffset(std::uintptr_t codeAddress) override {
    auto base = reinterpret_cast<std::uintptr_t>(::GetModuleHandleW(nullptr));
    return static_cast<std::uint32_t>(codeAddress - base);
  }
};

}  // namespace
}  // namespace quennix::win32

namespace quennix {

Platform& systemPlatform() {
  static win32::Win32FileSystem fileSystem;
  static win32::Win32Clock clock;
  static win32::Win32Locale locale;
  static win32::Win32LoginName loginName;
  static win32::Win32Console console;
  static win32::Win32SoundMemory soundMemory;
  static win32::Win32FailureSite failureSite;
  static Platform platform = [] {
    win32::removeTemporaryOutputOnConsoleEvents();
    return Platform{fileSystem, clock, locale, loginName, console, soundMemory, failureSite};
  }();
  return platform;
}

std::vector<std::string> commandLineArguments(int /*argc*/, char** /*argv*/) {
  std::vector<std::string> tokens = commandLineTokens(win32::utf8FromWide(::GetCommandLineW()));
  if (tokens.empty()) return {};
  return std::vector<std::string>(tokens.begin() + 1, tokens.end());
}

}  // namespace quennix
