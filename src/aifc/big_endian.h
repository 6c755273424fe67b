// Decoding of the big-endian fields of an AIFF-C file.
//
// swapBytes16 / swapBytes32 exchange the bytes of a value: 0x0200 becomes
// 0x0002, 0x11223344 becomes 0x44332211. The load helpers take the bytes of
// a field in file order and give its number on any host byte order:
// 00 02 is 2, 00 00 00 26 is 38, FF FF FF FF is 4294967295 (never -1).
// extendedFromBigEndian takes the ten bytes of an 80-bit extended field
// (sign and exponent first, significand most significant byte first); every
// bit pattern decodes and keeps its class: 40 0E AC 44 00 00 00 00 00 00 is
// 44100, 7F FF C0 00 00 00 00 00 00 00 a quiet NaN.
#pragma once

#include <cstdint>

#include "numeric/extended80.h"

namespace quennix {

std::uint16_t swapBytes16(std::uint16_t value);
std::uint32_t swapBytes32(std::uint32_t value);

std::uint16_t loadUint16BigEndian(const std::uint8_t* bytes);
std::uint32_t loadUint32BigEndian(const std::uint8_t* bytes);
Extended80 extendedFromBigEndian(const std::uint8_t bytes[10]);

}  // namespace quennix
