// The time separator of a POSIX locale, read off its strftime time format.
//
// The separator is the text between the first hour directive (%H, %I, %k,
// %l, with flags, width and the E/O modifiers) and a minute directive (%M)
// right after it; %T, %R and %r are read as what they stand for.
//   "%H:%M:%S" -> ":"     "%T" -> ":"     "%H.%M.%S" -> "."
//   "%Hh%M" -> "h"        "%H%M%S" -> ""  "%M:%S" -> none (no hour)
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quennix {

// `amPmFormat` is what %r stands for in the locale.
std::optional<std::string> hourMinuteSeparator(std::string_view timeFormat, std::string_view amPmFormat);

}  // namespace quennix
