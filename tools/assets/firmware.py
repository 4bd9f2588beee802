#!/usr/bin/python3
"""Makes the receiver firmware image the program carries: 49152 bytes, the 16-byte signature
"ORMIC_DFU" plus 7 zero bytes, then the body as erased flash holds it (0xFF past the end of the
code). The code bytes are a fixed pseudo-random stream behind a vector table and a version block,
so the image is the same on every run and exercises the transfer like a real one.

    firmware.py OUT.bin"""

import hashlib
import struct
import sys

IMAGE_SIZE = 0xC000
SIGNATURE = b"ORMIC_DFU" + bytes(7)
LAST_CODE_BYTE = 0xA975     # offset of the last byte other than 0xFF
ERASED = 0xFF
VERSION = 0x0196
SEED = b"Corsaro 270 receiver firmware 1.96"


def code_stream(length):
    out = bytearray()
    counter = 0
    while len(out) < length:
        out += hashlib.sha256(SEED + struct.pack("<I", counter)).digest()
        counter += 1
    return out[:length]


def build():
    image = bytearray([ERASED]) * IMAGE_SIZE
    image[0:16] = SIGNATURE
    body_end = LAST_CODE_BYTE + 1
    image[16:body_end] = code_stream(body_end - 16)
    # a vector table (stack top, reset and fault handlers in the upgrade area) and a version block
    vectors = struct.pack("<8I", 0x20002000, *(0x10010 + 0x101 + 4 * k for k in range(7)))
    image[16:16 + len(vectors)] = vectors
    block = b"ORMIC RX" + struct.pack(">H", VERSION) + b"\x00\x00"
    image[0x110:0x110 + len(block)] = block
    # the code ends on a byte that cannot be taken for erased flash
    image[LAST_CODE_BYTE] = 0x00
    return bytes(image)


def main(out):
    with open(out, "wb") as f:
        f.write(build())


if __name__ == "__main__":
    main(sys.argv[1])
