#include "platform/sound_block.h"

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14 and later
#endif

namespace quennix {
namespace {

// Below this a block costs less from the heap than as mapped pages.
constexpr std::size_t kMappedBlockSize = std::size_t{1} << 20;

}  // namespace

bool obtainSoundBlock(std::size_t size, std::size_t filled, SoundBlock& block) {
  block = SoundBlock{};
  if (size == 0) return true;
  if (size < kMappedBlockSize) {
    block.bytes = static_cast<std::uint8_t*>(std::calloc(size, 1));
    block.size = block.bytes != nullptr ? size : 0;
    return block.bytes != nullptr;
  }
  void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (memory == MAP_FAILED) return false;
  block.bytes = static_cast<std::uint8_t*>(memory);
  block.size = size;
  block.mapped = true;
  ::madvise(memory, size, MADV_HUGEPAGE);
  filled = std::min(filled, size);
  // An older kernel without MADV_POPULATE_WRITE (EINVAL) just faults the
  // pages in as they are filled; ENOMEM means the memory is not there.
  if (filled != 0 && ::madvise(memory, filled, MADV_POPULATE_WRITE) != 0 && errno != EINVAL) {
    releaseSoundBlock(block);
    return false;
  }
  return true;
}

void releaseSoundBlock(SoundBlock& block) {
  if (block.mapped) {
    ::munmap(block.bytes, block.size);
  } else {
    std::free(block.bytes);
  }
  block = SoundBlock{};
}

}  // namespace quennix
