#include "platform/system.h"

#include <dlfcn.h>
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <ctime>

#include "platform/posix/posix_platform.h"
#include "platform/time_format.h"

namespace quennix::posix {
namespace {

class PosixClock : public Clock {
 public:
  LocalDateTime currentLocalDateTime() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    LocalDateTime moment;
    moment.year = local.tm_year + 1900;
    moment.month = local.tm_mon + 1;
    moment.day = local.tm_mday;
    moment.hour = local.tm_hour;
    moment.minute = local.tm_min;
    moment.second = local.tm_sec;
    return moment;
  }
};

// The process's locale from the environment (LC_ALL, LC_NUMERIC, LC_TIME,
// LANG); the time separator is read off the locale's time format.
class PosixLocale : public LocaleSource {
 public:
  LocaleItems localeItems() override {
    std::setlocale(LC_ALL, "");
    LocaleItems items;
    if (const char* radix = ::nl_langinfo(RADIXCHAR)) items.decimalSeparator = radix;
    const char* timeFormat = ::nl_langinfo(T_FMT);
    const char* amPmFormat = ::nl_langinfo(T_FMT_AMPM);
    if (timeFormat != nullptr) items.timeSeparator = hourMinuteSeparator(timeFormat, amPmFormat ? amPmFormat : "");
    static constexpr nl_item kMonths[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                            MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    for (std::size_t month = 0; month < 12; ++month) {
      if (const char* name = ::nl_langinfo(kMonths[month])) items.monthNames[month] = name;
    }
    return items;
  }
};

// Standard output; interactive when it is a terminal.
class PosixConsole : public ConsoleStream {
 public:
  bool interactive() const override { return ::isatty(STDOUT_FILENO) == 1; }
  void write(const char* bytes, std::size_t count) override {
    while (count > 0) {
      ssize_t put = ::write(STDOUT_FILENO, bytes, count);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return;
      bytes += put;
      count -= static_cast<std::size_t>(put);
    }
  }
};

class PosixFailureSite : public FailureSite {
 public:
  std::string moduleName() override {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return "quennix";
    std::string_view whole(path, static_cast<std::size_t>(length));
    return std::string(whole.substr(whole.rfind('/') + 1));
  }
  std::uint32_t imageOffset(std::uintptr_t codeAddress) override {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<const void*>(codeAddress), &info) == 0 || info.dli_fbase == nullptr) {
      return static_cast<std::uint32_t>(codeAddress);
    }
    return static_cast<std::uint32_t>(codeAddress - reinterpret_cast<std::uintptr_t>(info.dli_fbase));
  }
};

}  // namespace
}  // namespace quennix::posix

namespace quennix {

Platform& systemPlatform() {
  static posix::PosixFileSystem fileSystem;
  static posix::PosixClock clock;
  static posix::PosixLocale locale;
  static posix::PosixLoginName loginName;
  static posix::PosixConsole console;
  static posix::PosixSoundMemory soundMemory;
  static posix::PosixFailureSite failureSite;
  static Platform platform = [] {
    // A closed console pipe or a file size limit must not end the run: the
    // failing write is reported where it matters and the run goes on.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    posix::removeTemporaryOutputOnSignals();
    return Platform{fileSystem, clock, locale, loginName, console, soundMemory, failureSite};
  }();
  return platform;
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  if (argc <= 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace quennix
