#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/posix/posix_platform.h"

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14 and later
#endif

namespace quennix::posix {
namespace {

// Below this a block costs less from the heap than as mapped pages.
constexpr std::size_t kMappedBlockSize = std::size_t{1} << 20;

}  // namespace

std::uint8_t* PosixSoundMemory::obtain(std::size_t size, std::size_t filled) {
  if (size < kMappedBlockSize) return static_cast<std::uint8_t*>(std::calloc(size, 1));
  void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
  ::madvise(memory, size, MADV_HUGEPAGE);
  filled = std::min(filled, size);
  // An older kernel without MADV_POPULATE_WRITE (EINVAL) just faults the
  // pages in as they are filled; ENOMEM means the memory is not there.
  if (filled != 0 && ::madvise(memory, filled, MADV_POPULATE_WRITE) != 0 && errno != EINVAL) {
    ::munmap(memory, size);
    return nullptr;
  }
  return static_cast<std::uint8_t*>(memory);
}

void PosixSoundMemory::release(std::uint8_t* block, std::size_t size) {
  if (size < kMappedBlockSize) {
    std::free(block);
  } else {
    ::munmap(block, size);
  }
}

}  // namespace quennix::posix
