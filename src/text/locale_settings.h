// The three items of the user's locale that the console text and the date
// stamp use, read once at start-up and never changed afterwards.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quennix {

struct LocaleSettings {
  char decimalSeparator = '.';  // the byte 0 means: nothing is written in its place
  char timeSeparator = ':';     // likewise
  std::array<std::string, 12> longMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                                "July",    "August",   "September", "October", "November", "December"};
};

// What a locale offers, before the rules below pick from it. An empty
// optional-like text (hasX false) stands for an item the locale lacks.
struct LocaleValues {
  bool hasDecimalPoint = false;
  std::string decimalPoint;
  bool hasTimeFormat = false;
  std::string timeFormat;                  // strftime form, e.g. "%H:%M:%S" or "%T"
  std::string timeFormatAmPm;              // what %r stands for
  std::array<std::string, 12> monthNames;  // empty: take the default
};

// The settings that `values` give:
//   - a separator is taken when it is exactly one byte; an empty one gives
//     the byte 0; a longer one, or none at all, the default;
//   - the time separator is the text between the hour and the minute
//     directives of the time format (%T, %R, %r read as what they stand for);
//   - a month name is taken when non-empty, else that month's English name.
LocaleSettings localeSettingsFrom(const LocaleValues& values);

// The text between the hour and the minute directive of a strftime time
// format; false when the format has no hour directive followed by a minute one.
bool hourMinuteSeparator(std::string_view timeFormat, std::string_view amPmFormat, std::string& separator);

// Takes the process's locale from the environment (LC_ALL, LC_NUMERIC,
// LC_TIME, LANG) and reads the three items of it.
LocaleSettings loadLocaleSettings();

}  // namespace quennix
