#include "text/date_time.h"

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

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// "AM/PM" at the start of `text`, in any letter case.
bool startsWithAmPm(std::string_view text) {
  constexpr std::string_view kAmPm = "AM/PM";
  if (text.size() < kAmPm.size()) return false;
  for (std::size_t i = 0; i < kAmPm.size(); ++i) {
    if (asciiUpper(text[i]) != kAmPm[i]) return false;
  }
  return true;
}

}  // namespace

std::string formatDateTime(std::string_view pattern, const LocalDateTime& moment, const LocaleSettings& locale) {
  std::string text;
  std::size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    if (startsWithAmPm(pattern.substr(i))) {
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
