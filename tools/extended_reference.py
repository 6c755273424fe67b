#!/usr/bin/env python3
"""Reference results of 80-bit extended arithmetic, computed with exact
fractions: the exact result rounded once to 64 significant bits, nearest,
ties to even, denormals on the 2^-16445 grid, overflow to infinity.
Prints rows for the arithmetic table test."""
from fractions import Fraction
import sys

BIAS = 16446


def value(word, sig):
    e = word & 0x7FFF
    v = Fraction(sig) * Fraction(2) ** ((e if e else 1) - BIAS)
    return -v if word & 0x8000 else v


def pack(v):
    sign = 0x8000 if v < 0 else 0
    v = abs(v)
    if v == 0:
        return sign, 0
    p = v.numerator.bit_length() - v.denominator.bit_length()
    while Fraction(2) ** p > v:
        p -= 1
    while Fraction(2) ** (p + 1) <= v:
        p += 1
    # v in [2^p, 2^(p+1)): the last bit of a 64-bit significand is 2^(p-63)
    unit = p - 63
    if unit < 1 - BIAS:
        unit = 1 - BIAS
    scaled = v / Fraction(2) ** unit
    q, r = divmod(scaled.numerator, scaled.denominator)
    twice = 2 * r
    if twice > scaled.denominator or (twice == scaled.denominator and q % 2 == 1):
        q += 1
    if q >= 2 ** 64:
        q //= 2
        unit += 1
    if q < 2 ** 63:
        return sign, q
    e = unit + BIAS
    if e >= 0x7FFF:
        return sign | 0x7FFF, 2 ** 63
    return sign | e, q


def row(op, a, b):
    x, y = value(*a), value(*b)
    r = x * y if op == "multiply" else x / y
    w, s = pack(r)
    return "  {%s, {0x%04X, 0x%016XULL}, {0x%04X, 0x%016XULL}, {0x%04X, 0x%016XULL}}," % (
        "Op::" + op, a[0], a[1], b[0], b[1], w, s)


def from_int(n):
    w, s = pack(Fraction(n))
    return w, s


CASES = [
    ("divide", from_int(44100), from_int(1000)),
    ("divide", from_int(22050), from_int(1000)),
    ("divide", from_int(11025), from_int(1000)),
    ("divide", from_int(48000), from_int(1000)),
    ("divide", from_int(8000), from_int(1000)),
    ("divide", from_int(1), from_int(1000)),
    ("divide", from_int(3), from_int(1000)),
    ("divide", pack(Fraction(372 * 44100 * 2, 512)), from_int(1000)),       # the bitrate figures
    ("divide", pack(Fraction(743 * 44100 * 2, 512)), from_int(1000)),
    ("divide", pack(Fraction(65535 * 44100 * 65535, 512)), from_int(1000)),
    ("divide", (0x4000, 0xFFFFFFFFFFFFFFFF), from_int(3)),
    ("divide", (0x0001, 0x8000000000000000), from_int(1000)),  # smallest normal: a denormal result
    ("divide", (0x0000, 0x0000000000000003), from_int(2)),     # 1.5 units: tie, to even (2)
    ("divide", (0x0000, 0x0000000000000001), from_int(2)),     # half a unit: tie, to zero
    ("divide", (0x0000, 0x0000000000000001), from_int(3)),     # a third: zero
    ("divide", (0x0000, 0x0000000000000002), from_int(3)),     # two thirds: one unit
    ("divide", (0x7FFE, 0xFFFFFFFFFFFFFFFF), (0x3FFE, 0x8000000000000000)),  # overflow
    ("divide", (0xC00E, 0xAC44000000000000), from_int(1000)),
    ("divide", (0x400E, 0xAC44000000000001), from_int(1000)),
    ("divide", (0x3FFF, 0xFFFFFFFFFFFFFFFF), (0x3FFF, 0x8000000000000001)),
    ("multiply", (0x403E, 0xFFFFFFFFFFFFFFFF), from_int(3)),
    ("multiply", (0x403E, 0xFFFFFFFFFFFFFFFF), (0x403E, 0xFFFFFFFFFFFFFFFF)),
    ("multiply", (0x3FFF, 0x8000000000000001), (0x3FFF, 0x8000000000000001)),
    ("multiply", (0x3FFF, 0xC000000000000001), (0x3FFF, 0xC000000000000001)),
    ("multiply", (0x0001, 0x8000000000000000), (0x3FFE, 0x8000000000000000)),  # into the denormals
    ("multiply", (0x7FFE, 0x8000000000000000), from_int(2)),                    # overflow
]

if __name__ == "__main__":
    for case in CASES:
        print(row(*case))
