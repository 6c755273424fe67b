#include "driver/console.h"

#include <algorithm>

namespace quennix {
namespace {

void append(Console& console, std::string_view text) {
  while (!text.empty()) {
    if (console.used == console.buffer.size()) flush(console);
    std::size_t room = console.buffer.size() - console.used;
    std::size_t take = std::min(room, text.size());
    std::copy_n(text.data(), take, console.buffer.data() + console.used);
    console.used += take;
    text.remove_prefix(take);
  }
}

void endOperation(Console& console) {
  if (console.interactive) flush(console);
}

}  // namespace

void print(Console& console, std::string_view text) {
  append(console, text);
  endOperation(console);
}

void printLine(Console& console, std::string_view text) {
  append(console, text);
  append(console, "\r\n");
  endOperation(console);
}

void flush(Console& console) {
  if (console.used != 0) console.stream.write(console.buffer.data(), console.used);
  console.used = 0;
}

}  // namespace quennix
