// The one zero-filled block through which an FDA file's sound bytes pass.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quennix {

struct SoundBlock {
  std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
  bool mapped = false;  // mapped pages rather than the heap
};

// Obtains `size` zero bytes, of which the first `filled` (at most `size`)
// are about to be overwritten. A small block comes from the heap. A large one
// is fresh anonymous memory whose first `filled` bytes are backed at once, in
// large pages where the system has them, so that filling them costs no page
// fault per 4 KiB; the rest is left to the system's zero pages. False when
// the memory cannot be had. A size of 0 always succeeds.
bool obtainSoundBlock(std::size_t size, std::size_t filled, SoundBlock& block);
void releaseSoundBlock(SoundBlock& block);

}  // namespace quennix
