#include "text/format_text.h"

#include <cassert>

#include "text/number_text.h"

namespace quennix {
namespace {

struct Directive {
  std::string_view text;
  std::size_t argumentKind;  // index into FormatArgument
};

constexpr Directive kDirectives[] = {{"%d", 0}, {"%s", 1}, {"%.1f", 2}};

std::string argumentText(const FormatArgument& argument, const LocaleSettings& locale) {
  if (const auto* integer = std::get_if<std::int32_t>(&argument)) return integerText(*integer);
  if (const auto* text = std::get_if<std::string_view>(&argument)) return std::string(*text);
  return oneDecimalText(std::get<Extended80>(argument), locale.decimalSeparator);
}

}  // namespace

std::string formatText(std::string_view format, std::initializer_list<FormatArgument> arguments,
                       const LocaleSettings& locale) {
  std::string text;
  const FormatArgument* next = arguments.begin();
  std::size_t i = 0;
  while (i < format.size()) {
    const Directive* found = nullptr;
    if (format[i] == '%') {
      for (const Directive& directive : kDirectives) {
        if (format.substr(i, directive.text.size()) == directive.text) found = &directive;
      }
    }
    if (found == nullptr || next == arguments.end() || next->index() != found->argumentKind) {
      assert(found == nullptr && "argument missing or of the wrong kind");
      text += format[i++];
      continue;
    }
    text += argumentText(*next++, locale);
    i += found->text.size();
  }
  assert(next == arguments.end() && "more arguments than directives");
  return text;
}

}  // namespace quennix
