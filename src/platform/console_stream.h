// Standard output, where all of the program's text goes.
#pragma once

#include <cstddef>

namespace quennix {

class ConsoleStream {
 public:
  virtual ~ConsoleStream() = default;

  // True when a person watches it as it comes (a terminal, a console
  // window), false when it goes to a file or a pipe.
  virtual bool interactive() const = 0;

  // Writes the bytes as they are. A failure (a closed pipe, a full disk) is
  // not reported and never stops the program.
  virtual void write(const char* bytes, std::size_t count) = 0;
};

}  // namespace quennix
