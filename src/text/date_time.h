// The date stamp of the output files.
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "text/locale_settings.h"

namespace quennix {

inline constexpr std::string_view kDateStampPattern = "mmmm dd, yyyy, h:nn:ss AM/PM";

// The date text of `moment` by `pattern`, read left to right; a letter takes
// in every directly following copy of itself:
//   mmmm  long month name      dd  day, two digits    yyyy  year, 4+ digits
//   h     hour on the 12-hour clock (0 -> 12, 13 -> 1), no leading zero
//   nn    minute, two digits   ss  second, two digits
//   :     the locale's time separator (nothing when it is the byte 0)
//   AM/PM (any case) the pattern's own two letters before the slash for
//         hours 0 to 11, those after it otherwise
// Everything else is copied. The text is cut after its 256th byte.
//   "mmmm dd, yyyy, h:nn:ss AM/PM", 5 March 2024 00:07:09 -> "March 05, 2024, 12:07:09 AM"
std::string formatDateTime(std::string_view pattern, const LocalDateTime& moment, const LocaleSettings& locale);

}  // namespace quennix
