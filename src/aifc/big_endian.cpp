#include "aifc/big_endian.h"

#include <bit>
#include <cstring>

namespace quennix {

std::uint16_t swapBytes16(std::uint16_t value) { return static_cast<std::uint16_t>((value >> 8) | (value << 8)); }

std::uint32_t swapBytes32(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

std::uint16_t loadUint16BigEndian(const std::uint8_t* bytes) {
  std::uint16_t raw;
  std::memcpy(&raw, bytes, sizeof raw);
  return std::endian::native == std::endian::little ? swapBytes16(raw) : raw;
}

std::uint32_t loadUint32BigEndian(const std::uint8_t* bytes) {
  std::uint32_t raw;
  std::memcpy(&raw, bytes, sizeof raw);
  return std::endian::native == std::endian::little ? swapBytes32(raw) : raw;
}

Extended80 extendedFromBigEndian(const std::uint8_t bytes[10]) {
  Extended80 value;
  value.negative = (bytes[0] & 0x80) != 0;
  value.exponent = static_cast<std::uint16_t>(((bytes[0] & 0x7F) << 8) | bytes[1]);
  for (int i = 2; i < 10; ++i) value.significand = (value.significand << 8) | bytes[i];
  return value;
}

}  // namespace quennix
