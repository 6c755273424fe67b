// An input's bytes, read at any position: what the header reader and the
// FDA writer see of an input file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quennix {

struct ReadResult {
  std::size_t count = 0;  // bytes delivered; fewer than asked where the bytes end
  bool failed = false;    // a read error, not merely the end of the bytes
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The number of bytes, as it stood when the source was opened.
  virtual std::uint64_t size() const = 0;

  // Reads `count` bytes at `offset` into `into`, going on until all of them
  // have come, the bytes end, or an error stops it. An offset at or past the
  // end delivers nothing and is no error.
  virtual ReadResult readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) = 0;
};

}  // namespace quennix
