#include "driver/failure_report.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

namespace quennix {
namespace {

std::string afterLastSlash(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::string failureReport(std::string_view kindName, std::string_view moduleName, std::uint32_t codeAddress,
                          std::string_view message) {
  char address[9];
  std::snprintf(address, sizeof address, "%08X", static_cast<unsigned>(codeAddress));
  std::string report = "Exception ";
  report.append(kindName).append(" in module ").append(moduleName).append(" at ").append(address).append(".\r\n");
  report.append(message);
  if (!message.empty() && message.back() != '.') report += '.';
  report += "\r\n\r\n";
  return report;
}

std::uint32_t imageOffsetOf(const void* codeAddress) {
  Dl_info info{};
  auto address = reinterpret_cast<std::uintptr_t>(codeAddress);
  if (::dladdr(codeAddress, &info) == 0 || info.dli_fbase == nullptr) return static_cast<std::uint32_t>(address);
  return static_cast<std::uint32_t>(address - reinterpret_cast<std::uintptr_t>(info.dli_fbase));
}

std::string runningProgramName(const char* fallback) {
  char path[4096];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
  if (length > 0 && static_cast<std::size_t>(length) < sizeof path) {
    return afterLastSlash(std::string_view(path, static_cast<std::size_t>(length)));
  }
  return afterLastSlash(fallback != nullptr ? fallback : "quennix");
}

}  // namespace quennix
