// The console: all text goes to standard output through a 128-byte buffer.
// On a terminal every write operation ends with the buffer written out, so
// a file's prefix and summary show while it converts; redirected to a file
// or a pipe, the buffer goes out only when full and at flush(), so the text
// arrives whole and in order. Write failures are ignored.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quennix {

struct Console {
  int fd = 1;
  bool interactive = false;
  std::array<char, 128> buffer{};
  std::size_t used = 0;
};

Console consoleFor(int fd);  // interactive when `fd` is a terminal

void print(Console& console, std::string_view text);      // one write operation
void printLine(Console& console, std::string_view text);  // text and CR LF, one operation
void flush(Console& console);

}  // namespace quennix
