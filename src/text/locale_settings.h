// The three items of the user's locale that the console text and the date
// stamp use, chosen once at start-up from what the locale supplies and never
// changed afterwards.
#pragma once

#include <array>
#include <string>

#include "platform/locale_source.h"

namespace quennix {

struct LocaleSettings {
  char decimalSeparator = '.';  // the byte 0 means: nothing is written in its place
  char timeSeparator = ':';     // likewise
  std::array<std::string, 12> longMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                                "July",    "August",   "September", "October", "November", "December"};
};

// The settings that a locale's items give:
//   - a separator is taken when it is exactly one byte; an empty one gives
//     the byte 0; a longer one, or none at all, the default;
//   - a month name is taken when non-empty (cut at 255 bytes), else that
//     month's English name.
LocaleSettings localeSettingsFrom(const LocaleItems& items);

// The settings of the locale the program runs under.
LocaleSettings loadLocaleSettings(LocaleSource& source);

}  // namespace quennix
