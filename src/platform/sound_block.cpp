#include "platform/sound_block.h"

#include <sys/mman.h>

namespace quennix {

bool obtainSoundBlock(std::size_t size, SoundBlock& block) {
  block = SoundBlock{};
  if (size == 0) return true;
  void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (memory == MAP_FAILED) return false;
  // Large pages cut the page faults of filling the block by a factor of 512.
  ::madvise(memory, size, MADV_HUGEPAGE);
  block.bytes = static_cast<std::uint8_t*>(memory);
  block.size = size;
  return true;
}

void releaseSoundBlock(SoundBlock& block) {
  if (block.bytes != nullptr) ::munmap(block.bytes, block.size);
  block = SoundBlock{};
}

}  // namespace quennix
