#!/usr/bin/env python3
"""Writes the small sample AIFF-C files of examples/ (run from the repository root)."""
import math
import struct
from pathlib import Path


def extended(rate):
    """A positive whole sample rate as the 10 bytes of an 80-bit extended value."""
    exponent = rate.bit_length() - 1
    significand = rate << (63 - exponent)
    return struct.pack(">HQ", 16383 + exponent, significand)


def chunk(ident, body):
    pad = b"\0" if len(body) % 2 else b""
    return ident + struct.pack(">I", len(body)) + body + pad


def aifc(channels, rate, frames, sample_bytes, compression, name, extra_before=b""):
    pname = bytes([len(name)]) + name
    if len(pname) % 2:
        pname += b"\0"
    comm = struct.pack(">HIH", channels, frames, sample_bytes * 8) + extended(rate) + compression + pname
    samples = bytearray()
    for i in range(frames * channels):
        value = int(12000 * math.sin(2 * math.pi * 440 * (i // channels) / rate + 0.031))
        samples += struct.pack(">h", value)[:sample_bytes] if sample_bytes == 2 else bytes([value & 0xFF])
    ssnd = struct.pack(">II", 0, 0) + bytes(samples)
    body = b"AIFC" + chunk(b"FVER", struct.pack(">I", 0xA2805140)) + extra_before + chunk(b"COMM", comm) + chunk(b"SSND", ssnd)
    return b"FORM" + struct.pack(">I", len(body)) + body


def main():
    out = Path("examples")
    out.mkdir(exist_ok=True)
    (out / "tone-mono.aifc").write_bytes(aifc(1, 22050, 2205, 2, b"NONE", b"not compressed"))
    (out / "tone-stereo.aifc").write_bytes(
        aifc(2, 44100, 2205, 2, b"NONE", b"not compressed", extra_before=chunk(b"NAME", b"Stereo tone"))
    )
    (out / "readme.txt").write_bytes(b"Not a sound file: quennix reports it as an unknown format.\n")


if __name__ == "__main__":
    main()
