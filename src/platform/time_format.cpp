#include "platform/time_format.h"

namespace quennix {
namespace {

// Expands %T, %R and %r once, so that their hour and minute are seen.
std::string expandedTimeFormat(std::string_view format, std::string_view amPmFormat) {
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    char directive = format[++i];
    if (directive == 'T') {
      out += "%H:%M:%S";
    } else if (directive == 'R') {
      out += "%H:%M";
    } else if (directive == 'r') {
      out += amPmFormat;
    } else {
      out += '%';
      out += directive;
    }
  }
  return out;
}

// At format[i] == '%': the directive letter after any flags, width and the
// E/O modifiers, and the index just past it.
char directiveAt(std::string_view format, std::size_t& i) {
  ++i;
  while (i < format.size() && std::string_view("_-0^#EO123456789").find(format[i]) != std::string_view::npos) ++i;
  if (i == format.size()) return '\0';
  return format[i++];
}

bool isHour(char directive) { return directive == 'H' || directive == 'I' || directive == 'k' || directive == 'l'; }

}  // namespace

std::optional<std::string> hourMinuteSeparator(std::string_view timeFormat, std::string_view amPmFormat) {
  std::string format = expandedTimeFormat(timeFormat, expandedTimeFormat(amPmFormat, ""));
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      ++i;
      continue;
    }
    if (!isHour(directiveAt(format, i))) continue;
    std::size_t start = i;
    while (i < format.size() && format[i] != '%') ++i;
    std::size_t end = i;
    if (i < format.size() && directiveAt(format, i) == 'M') return format.substr(start, end - start);
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace quennix
