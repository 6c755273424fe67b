#include "text/date_time.h"

#include <strings.h>

#include <ctime>

namespace quennix {
namespace {

constexpr std::size_t kMaxDateText = 256;

std::string twoDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

std::string atLeastFourDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 4 ? std::string(4 - text.size(), '0') + text : text;
}

int twelveHourClock(int hour) {
  int h = hour % 12;
  return h == 0 ? 12 : h;
}

std::string letterToken(std::string_view token, const LocalDateTime& moment, const LocaleSettings& locale) {
  if (token == "mmmm" && moment.month >= 1 && moment.month <= 12)
    return locale.longMonthNames[static_cast<std::size_t>(moment.month - 1)];
  if (token == "dd") return twoDigits(moment.day);
  if (token == "yyyy") return atLeastFourDigits(moment.year);
  if (token == "h") return std::to_string(twelveHourClock(moment.hour));
  if (token == "nn") return twoDigits(moment.minute);
  if (token == "ss") return twoDigits(moment.second);
  return std::string(token);
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

LocalDateTime currentLocalDateTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  LocalDateTime moment;
  moment.year = local.tm_year + 1900;
  moment.month = local.tm_mon + 1;
  moment.day = local.tm_mday;
  moment.hour = local.tm_hour;
  moment.minute = local.tm_min;
  moment.second = local.tm_sec;
  return moment;
}

std::string formatDateTime(std::string_view pattern, const LocalDateTime& moment, const LocaleSettings& locale) {
  std::string text;
  std::size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    if (pattern.size() - i >= 5 && strncasecmp(pattern.data() + i, "AM/PM", 5) == 0) {
      text += pattern.substr(i + (moment.hour < 12 ? 0 : 3), 2);
      i += 5;
    } else if (isLetter(c)) {
      std::size_t end = pattern.find_first_not_of(c, i);
      if (end == std::string_view::npos) end = pattern.size();
      text += letterToken(pattern.substr(i, end - i), moment, locale);
      i = end;
    } else {
      if (c != ':') {
        text += c;
      } else if (locale.timeSeparator != '\0') {
        text += locale.timeSeparator;
      }
      ++i;
    }
  }
  if (text.size() > kMaxDateText) text.resize(kMaxDateText);
  return text;
}

}  // namespace quennix
