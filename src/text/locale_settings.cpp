#include "text/locale_settings.h"

#include <langinfo.h>

#include <clocale>

namespace quennix {
namespace {

constexpr std::size_t kMaxMonthNameBytes = 255;

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

char pickSeparator(bool supplied, const std::string& value, char fallback) {
  if (!supplied || value.size() > 1) return fallback;
  return value.empty() ? '\0' : value[0];
}

}  // namespace

bool hourMinuteSeparator(std::string_view timeFormat, std::string_view amPmFormat, std::string& separator) {
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
    if (i < format.size() && directiveAt(format, i) == 'M') {
      separator = format.substr(start, end - start);
      return true;
    }
    return false;
  }
  return false;
}

LocaleSettings localeSettingsFrom(const LocaleValues& values) {
  LocaleSettings settings;
  settings.decimalSeparator = pickSeparator(values.hasDecimalPoint, values.decimalPoint, settings.decimalSeparator);
  std::string timeSeparator;
  bool found = values.hasTimeFormat && hourMinuteSeparator(values.timeFormat, values.timeFormatAmPm, timeSeparator);
  settings.timeSeparator = pickSeparator(found, timeSeparator, settings.timeSeparator);
  for (std::size_t month = 0; month < 12; ++month) {
    const std::string& name = values.monthNames[month];
    if (!name.empty()) settings.longMonthNames[month] = name.substr(0, kMaxMonthNameBytes);
  }
  return settings;
}

LocaleSettings loadLocaleSettings() {
  std::setlocale(LC_ALL, "");
  LocaleValues values;
  const char* decimalPoint = nl_langinfo(RADIXCHAR);
  values.hasDecimalPoint = decimalPoint != nullptr;
  if (decimalPoint) values.decimalPoint = decimalPoint;
  const char* timeFormat = nl_langinfo(T_FMT);
  values.hasTimeFormat = timeFormat != nullptr;
  if (timeFormat) values.timeFormat = timeFormat;
  if (const char* amPm = nl_langinfo(T_FMT_AMPM)) values.timeFormatAmPm = amPm;
  static constexpr nl_item kMonths[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                          MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
  for (std::size_t month = 0; month < 12; ++month) {
    if (const char* name = nl_langinfo(kMonths[month])) values.monthNames[month] = name;
  }
  return localeSettingsFrom(values);
}

}  // namespace quennix
