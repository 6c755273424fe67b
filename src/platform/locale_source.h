// The three items of the user's locale that the console text and the date
// stamp take, as the platform supplies them, before the program's own rules
// choose from them (text/locale_settings.h).
#pragma once

#include <array>
#include <optional>
#include <string>

namespace quennix {

struct LocaleItems {
  std::optional<std::string> decimalSeparator;  // none: the locale supplies no such item
  std::optional<std::string> timeSeparator;     // between hours and minutes
  std::array<std::string, 12> monthNames;       // January first; empty: none supplied
};

class LocaleSource {
 public:
  virtual ~LocaleSource() = default;

  // The items of the locale the program runs under; asked once, at start-up.
  virtual LocaleItems localeItems() = 0;
};

}  // namespace quennix
