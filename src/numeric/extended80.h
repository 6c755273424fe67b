// Extended80: the 80-bit extended floating value of the sample rate and of
// the summary figures, held as its three fields so that every processor
// computes the same results (no use of the host's long double).
//
// Fields: sign, biased exponent e (15 bits, bias 16383) and a 64-bit
// significand m whose bit 63 is the explicit integer bit.
//   e = 0                      zero (m = 0) or denormal, value m * 2^-16445
//   e = 1..32766, bit 63 set   normal, value m * 2^(e - 16446)
//   e = 1..32766, bit 63 clear refused pattern (unnormal)
//   e = 32767, bit 63 set      infinity (rest 0), quiet NaN (bit 62 set),
//                              signalling NaN (bit 62 clear, a lower bit set)
//   e = 32767, bit 63 clear    refused pattern (pseudo-infinity / pseudo-NaN)
//
// Arithmetic rounds the exact result once to 64 significant bits, to nearest,
// ties to even; results below the normal range land on the denormal grid
// (2^-16445), results above it become infinity. Special operands:
//   - a refused pattern or a signalling NaN gives the default NaN
//     (sign set, e = 32767, m = C000000000000000);
//   - a quiet NaN is carried through unchanged (the first one, when both are);
//   - infinity / finite = infinity, finite / infinity = zero,
//     infinity * zero, zero / zero and infinity / infinity give the default NaN,
//     nonzero / zero gives infinity;
//   - the sign of a zero, infinity or finite result is the XOR of the signs.
#pragma once

#include <cstdint>
#include <optional>

namespace quennix {

struct Extended80 {
  bool negative = false;
  std::uint16_t exponent = 0;     // biased, 0 to 32767
  std::uint64_t significand = 0;  // bit 63 is the integer bit
};

enum class Extended80Class { zero, denormal, normal, infinity, quietNaN, signallingNaN, refused };

Extended80Class classify(const Extended80& value);
bool isFinite(const Extended80& value);  // zero, denormal or normal

// The power of two of a normal value's integer bit: the value lies in
// [2^k, 2^(k+1)). 1 -> 0, 44100 -> 15, 0.25 -> -2. Precondition: normal.
int unbiasedExponent(const Extended80& value);
bool operator==(const Extended80& a, const Extended80& b);

// The exact value of an unsigned integer (every 64-bit value fits).
Extended80 extendedFromUnsigned(std::uint64_t value);

Extended80 multiply(const Extended80& a, const Extended80& b);
Extended80 divide(const Extended80& dividend, const Extended80& divisor);

// The value rounded to the nearest integer, a tie going to the even
// neighbour, from its full precision. Empty for a value that is no finite
// number or whose rounded magnitude is 2^63 or more.
// 22050.5 -> 22050, 22051.5 -> 22052, 22050.5 + 2^-49 -> 22051, -0.5 -> 0.
std::optional<std::int64_t> roundToInt64(const Extended80& value);

// A finite nonzero value as m * 2^power2 with m odd; precondition: the value
// is normal or denormal and not zero.
struct BinaryValue {
  std::uint64_t mantissa;
  int power2;
};
BinaryValue exactBinaryValue(const Extended80& value);

}  // namespace quennix
