// Fills one of the program's format strings with its arguments.
//
// Copies `format` byte by byte, replacing each directive by the text of the
// next argument, left to right: "%d" an integer (integerText), "%s" a text
// (copied unchanged; a "%" inside it is never read as a directive) and
// "%.1f" an Extended80 (oneDecimalText with the locale's decimal separator).
// Every other byte is copied. Precondition: the arguments match the
// directives in number and kind.
//   "[%d/%d] %s " with 1, 3, "a.aifc" -> "[1/3] a.aifc "
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "numeric/extended80.h"
#include "text/locale_settings.h"

namespace quennix {

using FormatArgument = std::variant<std::int32_t, std::string_view, Extended80>;

std::string formatText(std::string_view format, std::initializer_list<FormatArgument> arguments,
                       const LocaleSettings& locale);

}  // namespace quennix
