// Where an output's bytes go, one after another from its start.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quennix {

class ByteSink {
 public:
  virtual ~ByteSink() = default;

  // Appends all `count` bytes; false when an error (a full disk, a size
  // limit) stops it, after which the sink's contents are not to be used.
  virtual bool write(const std::uint8_t* bytes, std::size_t count) = 0;
};

}  // namespace quennix
