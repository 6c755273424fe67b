// The memory of the one zero-filled block through which an FDA file's sound
// bytes pass.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quennix {

class SoundMemory {
 public:
  virtual ~SoundMemory() = default;

  // `size` bytes, every one zero, of which the first `filled` (at most
  // `size`) are about to be overwritten; null when the memory cannot be had.
  // Precondition: size > 0.
  virtual std::uint8_t* obtain(std::size_t size, std::size_t filled) = 0;

  // Gives back a block that obtain(size, ...) gave.
  virtual void release(std::uint8_t* block, std::size_t size) = 0;
};

}  // namespace quennix
