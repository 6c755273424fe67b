// The console: all text goes to standard output through a 128-byte buffer.
// On an interactive console every write operation ends with the buffer
// written out, so a file's prefix and summary show while it converts;
// redirected to a file or a pipe, the buffer goes out only when full and at
// flush(), so the text arrives whole and in order. Write failures are ignored.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/console_stream.h"

namespace quennix {

struct Console {
  explicit Console(ConsoleStream& output) : stream(output), interactive(output.interactive()) {}
  ConsoleStream& stream;
  bool interactive;
  std::array<char, 128> buffer{};
  std::size_t used = 0;
};

void print(Console& console, std::string_view text);      // one write operation
void printLine(Console& console, std::string_view text);  // text and CR LF, one operation
void flush(Console& console);

}  // namespace quennix
