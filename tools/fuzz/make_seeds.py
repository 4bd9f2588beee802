#!/usr/bin/env python3
"""Writes the made seed inputs of the fuzz targets (*/fuzz/corpus/*/seed-*).

Run from anywhere: /usr/bin/python3 tools/fuzz/make_seeds.py (it needs python3-pil). The seeds
are small valid inputs of each format, so the fuzzers start from what the readers accept: font
descriptions (with the glyph lines before the "Bitmap=" line, since the fuzz target gives no
image), ini files, zip packs stored and deflated, with and without the traditional password, PNG
and bitmap images, and receivers answering the protocol's requests as a sane one would.
"""
import io
import pathlib
import struct
import zipfile
import zlib

from PIL import Image

ROOT = pathlib.Path(__file__).resolve().parents[2]
CORPUS = ROOT / "engine" / "fuzz" / "corpus"
DEVICE_CORPUS = ROOT / "device" / "fuzz" / "corpus"
ZIP_PASSWORD = b"corsaro"  # the password engine/fuzz/zip_pack_fuzz.cpp tries


def write(target, name, data, corpus=CORPUS):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / ("seed-" + name)).write_bytes(data)


def font_seeds():
    lines = (ROOT / "assets" / "fonts" / "myriad_16s.txt").read_bytes().splitlines()
    header, bitmap, chars = lines[0], lines[1], lines[2:]
    write("font_description_fuzz", "quoted.txt", b"\r\n".join([header] + chars[:40] + [bitmap]))
    hexed = [b"Char=%x,%d,1,%d,22,%d,%d" % (0x41 + i, 10 * i, 8, i % 3 - 1, 1) for i in range(26)]
    write("font_description_fuzz", "hex.txt", b"\n".join([header] + hexed + [bitmap]))
    decimal = [b"Char=%d,%d,30,9,27,0,0" % (48 + i, 12 * i) for i in range(10)]
    write("font_description_fuzz", "decimal.txt", b"\n".join([header] + decimal))


def ini_seeds():
    write("ini_reader_fuzz", "plain.ini",
          b"; engine settings\n[Settings]\nVolume = 80\nName=\"quoted value\"\n\n[Other]\nKey=1\n")
    write("ini_reader_fuzz", "crlf.ini", b"[settings]\r\nvolume='7'\r\n  [ Sound ]  \r\n x = y \r\n")


def zip_crypt_keys(password):
    keys = [0x12345678, 0x23456789, 0x34567890]

    def update(byte):
        keys[0] = zlib.crc32(bytes([byte]), keys[0] ^ 0xFFFFFFFF) ^ 0xFFFFFFFF
        keys[1] = (keys[1] + (keys[0] & 0xFF)) & 0xFFFFFFFF
        keys[1] = (keys[1] * 134775813 + 1) & 0xFFFFFFFF
        keys[2] = zlib.crc32(bytes([keys[1] >> 24]), keys[2] ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    for byte in password:
        update(byte)
    return keys, update


def zip_encrypt(password, crc, body):
    keys, update = zip_crypt_keys(password)
    header = bytes(11) + bytes([crc >> 24])
    out = bytearray()
    for byte in header + body:
        temp = (keys[2] | 2) & 0xFFFF
        out.append(byte ^ (((temp * (temp ^ 1)) >> 8) & 0xFF))
        update(byte)
    return bytes(out)


def raw_deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return packer.compress(data) + packer.flush()


def zip_archive(entries, password=None):
    """entries: (name, data, deflate). Written by hand so encrypted entries can be made too."""
    out = bytearray()
    central = bytearray()
    for name, data, deflate in entries:
        name = name.encode()
        crc = zlib.crc32(data)
        body = raw_deflate(data) if deflate else data
        flags = 0
        if password is not None:
            body = zip_encrypt(password, crc, body)
            flags = 1
        method = 8 if deflate else 0
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, 0, 0x21, crc, len(body),
                           len(data), len(name), 0) + name + body
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, method, 0, 0x21,
                               crc, len(body), len(data), len(name), 0, 0, 0, 0, 0,
                               offset) + name
    count = len(entries)
    out += central + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(central),
                                 len(out), 0)
    return bytes(out)


def zip_seeds():
    text = b"Volume=80\n" * 4
    entries = [("data.txt", text, False), ("skin/skin.png", png_bytes(4, 4), False),
               ("deflated.bin", bytes(range(64)) * 3, True)]
    write("zip_pack_fuzz", "plain.zip", zip_archive(entries))
    write("zip_pack_fuzz", "password.zip", zip_archive(entries, ZIP_PASSWORD))
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("data.txt", text)
    write("zip_pack_fuzz", "python.zip", buffer.getvalue())


def png_bytes(width, height, mode="RGBA"):
    image = Image.new(mode, (width, height))
    pixels = [(x * 40 % 256, y * 60 % 256, (x + y) * 20 % 256, 255 - x * 10 % 256)
              for y in range(height) for x in range(width)]
    image.putdata([p[:len(mode)] if len(mode) > 1 else p[0] for p in pixels])
    buffer = io.BytesIO()
    image.save(buffer, "PNG")
    return buffer.getvalue()


def png_seeds():
    write("png_decode_fuzz", "rgba.png", png_bytes(5, 3))
    write("png_decode_fuzz", "rgb.png", png_bytes(7, 2, "RGB"))
    write("png_decode_fuzz", "grey.png", png_bytes(3, 3, "L"))
    palette = Image.new("P", (4, 4))
    palette.putpalette([0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255])
    buffer = io.BytesIO()
    palette.save(buffer, "PNG")
    write("png_decode_fuzz", "palette.png", buffer.getvalue())


def bmp(width, height, bits, top_down=False, compression=0):
    pitch = (width * bits // 8 + 3) & ~3
    rows = b"".join(bytes((x * 31 + y * 7 + c) % 256 for x in range(width) for c in range(bits // 8))
                    .ljust(pitch, b"\0") for y in range(height))
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits,
                       compression, len(rows), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


def bmp_seeds():
    write("bmp_decode_fuzz", "24.bmp", bmp(5, 3, 24))
    write("bmp_decode_fuzz", "32-top-down.bmp", bmp(3, 4, 32, top_down=True))
    write("bmp_decode_fuzz", "32-bitfields.bmp", bmp(2, 2, 32, compression=3))


# device/fuzz/protocol_reply_fuzz.cpp: byte 0 the operation (low 3 bits) and the report length
# (33 for 0x0_), four argument bytes, then per read a control byte (2: a report follows) and the
# report, report ID first.
OPERATION_READ_MEMORY, OPERATION_WAIT, OPERATION_PROFILES, OPERATION_SMALL, OPERATION_CONNECT = (
    0, 1, 2, 3, 4)


def reply(code, data=b"", at=16):
    payload = bytearray(32)
    payload[0:6] = b"ORMIC" + bytes([code])
    payload[at:at + len(data)] = data
    return b"\x02\x00" + bytes(payload)


def memory_replies(data):
    chunks = [data[i:i + 16] for i in range(0, len(data), 16)]
    return b"".join(reply(0x0E, chunk) for chunk in chunks)


def protocol_seed(name, operation, arguments, replies):
    write("protocol_reply_fuzz", name, bytes([operation]) + arguments + replies, DEVICE_CORPUS)


def protocol_seeds():
    profiles = (ROOT / "assets" / "presets" / "tarnwick270" / "rally.cs270").read_bytes()[16:] * 3
    stored = memory_replies(struct.pack("<I", 0x98765432)) + b"".join(
        memory_replies(profiles[100 * i:100 * i + 100]) for i in range(3))
    protocol_seed("read-memory", OPERATION_READ_MEMORY, struct.pack("<I", 40),
                  memory_replies(bytes(range(48))))
    protocol_seed("wait-after-noise", OPERATION_WAIT, b"\x03\0\0\0",
                  reply(0x0E) + b"\x02\x00" + bytes(32) + reply(0x03, b"\x01\x96", 6))
    protocol_seed("profiles-stored", OPERATION_PROFILES, bytes(4), stored)
    # Reports of 34 bytes (0x1_): one byte more after each payload.
    protocol_seed("profiles-empty-long-reports", 0x10 | OPERATION_PROFILES, bytes(4),
                  b"".join(reply(0x0E, b"\xff" * 16) + b"\x00" for _ in range(22)))
    protocol_seed("small", OPERATION_SMALL, bytes(4), reply(0x03, b"\x01\x95", 6) +
                  reply(0x18, struct.pack("<I", 0x1234ABCD)) + reply(0x16))
    protocol_seed("connect", OPERATION_CONNECT, bytes(4), reply(0x16) +
                  reply(0x03, b"\x01\x96", 6) + stored + memory_replies(b"ORMIC_DFU".ljust(16, b"\0")))


if __name__ == "__main__":
    protocol_seeds()
    font_seeds()
    ini_seeds()
    zip_seeds()
    png_seeds()
    bmp_seeds()
