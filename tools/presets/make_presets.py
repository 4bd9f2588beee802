#!/usr/bin/env python3
"""Builds the content of the preset server: tarnwick270/settings.xml and the .cs270 files it
lists, from the three factory profiles and a few tuned variants of them.

Usage: make_presets.py [OUTPUT_DIR]   (default: assets/presets beside this repository's tools/)

Any static web server can serve the output, e.g.
  python3 -m http.server --bind 127.0.0.1 --directory assets/presets 8000
makes the settings address http://127.0.0.1:8000/tarnwick270/settings.xml. The document's
"file" entries are relative, so the presets are fetched from wherever the document came from.

Tuned presets, each one factory record with these changes:
  rally.cs270     from factory profile 2: level High (0x7F7F) and first angle 8000
                  (about 33 degrees).
  paddles.cs270   from factory profile 1: the two rim paddles (slots 23 and 24) shift with LB
                  (code 15) and RB (code 14), parameter 1; level Low; rear light only (byte 0 low
                  nibble 0x3).
"""

import os
import struct
import sys
import zlib

FACTORY_HEX = [
    # Profile 1
    "0F 04 05 17 18 00 00 00 03 0D 04 12 10 11 0B 0A 0C 06 05 08"
    "07 0C 0B 0A 09 0F 10 02 0E 11 01 12 12 00 00 00 01 00 01 00"
    "01 00 00 00 00 00 00 00 01 00 01 00 01 00 01 00 01 00 01 00"
    "01 00 01 00 01 00 01 00 01 00 01 00 FF 00 01 00 01 00 FF 00"
    "01 00 00 80 FF 7F 00 00 B8 0B 00 00 FF 7F 00 00 40 40 00 00",
    # Profile 2
    "0F 04 05 17 18 00 00 00 03 0D 04 12 10 11 0A 0C 0B 06 05 08"
    "07 0C 0B 0A 09 14 0E 0F 14 01 0F 0C 0A 00 00 00 01 00 01 00"
    "01 00 00 00 00 00 00 00 01 00 01 00 01 00 01 00 01 00 01 00"
    "01 00 01 00 01 00 01 00 01 00 01 80 01 00 01 00 FF 7F 01 00"
    "01 00 01 00 01 00 00 00 7C 15 00 00 FF 7F 00 00 40 40 00 00",
    # Profile 3
    "0F 04 05 17 18 00 00 00 03 0D 04 12 10 11 0B 0A 0C 06 05 08"
    "07 0C 0B 0F 09 14 0F 09 14 0E 09 0A 0B 00 00 00 01 00 01 00"
    "01 00 00 00 00 00 00 00 01 00 01 00 01 00 01 00 01 00 01 00"
    "01 00 01 00 01 00 01 00 01 00 01 80 01 00 01 00 FF 7F 01 00"
    "01 00 01 00 01 00 00 00 70 17 00 00 FF 7F 00 00 40 40 00 00",
]

RECORD_SIZE = 100
MAGIC = b"CS27"

# Record offsets.
LIGHT_FLAGS = 0
SLOT_CODES = 8
SLOT_PARAMS = 36
ANGLE_A = 88
LEVEL = 96

LEVEL_LOW = 0x0000
LEVEL_HIGH = 0x7F7F
REAR_LIGHT = 0x03
CODE_LB = 15
CODE_RB = 14
LEFT_PADDLE_SLOT = 23
RIGHT_PADDLE_SLOT = 24

PRESET_TYPE_FACTORY = 1
PRESET_TYPE_TUNED = 2


def factory(index):
    record = bytearray.fromhex(FACTORY_HEX[index])
    assert len(record) == RECORD_SIZE
    return record


def crc(data):
    # Reflected 0xEDB88320 with the register starting at 0 and no final inversion: zlib's CRC-32
    # starts at and finishes with 0xFFFFFFFF, so undo both.
    return zlib.crc32(bytes(data), 0xFFFFFFFF) ^ 0xFFFFFFFF


def profile_file(record):
    return MAGIC + struct.pack("<III", 0, crc(record), RECORD_SIZE) + bytes(record)


def set_slot(record, slot, code, param):
    record[SLOT_CODES + slot] = code
    struct.pack_into("<h", record, SLOT_PARAMS + 2 * slot, param)


def rally():
    record = factory(1)
    struct.pack_into(">H", record, LEVEL, LEVEL_HIGH)
    struct.pack_into("<i", record, ANGLE_A, 8000)
    return record


def paddles():
    record = factory(0)
    set_slot(record, LEFT_PADDLE_SLOT, CODE_LB, 1)
    set_slot(record, RIGHT_PADDLE_SLOT, CODE_RB, 1)
    struct.pack_into(">H", record, LEVEL, LEVEL_LOW)
    record[LIGHT_FLAGS] = (record[LIGHT_FLAGS] & 0xF0) | REAR_LIGHT
    return record


# (file, name, note with "~" for line breaks, type, record)
PRESETS = [
    ("factory1.cs270", "Factory Profile 1",
     "The wheel's first factory profile.~Both lights on, level Med.",
     PRESET_TYPE_FACTORY, factory(0)),
    ("factory2.cs270", "Factory Profile 2",
     "The wheel's second factory profile.~Both lights on, level Med.",
     PRESET_TYPE_FACTORY, factory(1)),
    ("factory3.cs270", "Factory Profile 3",
     "The wheel's third factory profile.~Both lights on, level Med.",
     PRESET_TYPE_FACTORY, factory(2)),
    ("rally.cs270", "Rally",
     "Factory profile 2 with a wider first angle for gravel and snow.~Level High.",
     PRESET_TYPE_TUNED, rally()),
    ("paddles.cs270", "Paddle Shift",
     "Factory profile 1 with LB and RB on the rim paddles.~Level Low, rear light only.",
     PRESET_TYPE_TUNED, paddles()),
]

SETTINGS_HEAD = """<?xml version="1.0" encoding="UTF-8" ?>
<settings>
  <version>103</version>
  <download>http://presets.corsaro270.example/download/</download>
  <support>http://presets.corsaro270.example/support/</support>
  <presets>
"""
SETTINGS_PRESET = """    <preset>
      <name>{name}</name>
      <note>{note}</note>
      <type>{type}</type>
      <file>{file}</file>
    </preset>
"""
SETTINGS_TAIL = """  </presets>
</settings>
"""


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "presets")
    folder = os.path.join(root, "tarnwick270")
    os.makedirs(folder, exist_ok=True)
    settings = SETTINGS_HEAD
    for file, name, note, kind, record in PRESETS:
        with open(os.path.join(folder, file), "wb") as out:
            out.write(profile_file(record))
        settings += SETTINGS_PRESET.format(name=escape(name), note=escape(note), type=kind,
                                           file=escape(file))
    settings += SETTINGS_TAIL
    with open(os.path.join(folder, "settings.xml"), "w", encoding="utf-8", newline="\n") as out:
        out.write(settings)


if __name__ == "__main__":
    main()
