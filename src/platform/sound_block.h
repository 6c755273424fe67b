// The one zero-filled block through which an FDA file's sound bytes pass.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quennix {

struct SoundBlock {
  std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
};

// Obtains `size` zero bytes of fresh anonymous memory; false when the system
// cannot supply them. A size of 0 needs no memory and always succeeds.
bool obtainSoundBlock(std::size_t size, SoundBlock& block);
void releaseSoundBlock(SoundBlock& block);

}  // namespace quennix
