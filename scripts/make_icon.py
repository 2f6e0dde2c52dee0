#!/usr/bin/env python3
"""Writes src/resources/app.ico, the editor's 16 x 16, 16-colour icon: a yellow "Z" drawn as
pixel blocks on a dark blue tile with rounded corners. Run it again after changing the
picture below; the build only uses the file it writes."""
import pathlib
import struct

# One character per pixel, top row first. '.' is transparent.
PICTURE = [
    "................",
    "..bbbbbbbbbbbb..",
    ".bbbbbbbbbbbbbb.",
    ".bbYYYYYYYYYYbb.",
    ".bbYYYYYYYYYYbb.",
    ".bbbbbbbbbYYobb.",
    ".bbbbbbbbYYobbb.",
    ".bbbbbbbYYobbbb.",
    ".bbbbbbYYobbbbb.",
    ".bbbbbYYobbbbbb.",
    ".bbbbYYobbbbbbb.",
    ".bbbYYobbbbbbbb.",
    ".bbYYYYYYYYYYbb.",
    ".bbYYYYYYYYYYbb.",
    "..bbbbbbbbbbbb..",
    "................",
]
# Palette index per character (blue, green, red, reserved in the file).
COLOURS = {".": (0, 0, 0), "b": (0x80, 0x30, 0x10), "Y": (0x20, 0xD8, 0xF8), "o": (0x10, 0x60, 0xA0)}


def build() -> bytes:
    keys = list(COLOURS)
    palette = b"".join(bytes([*COLOURS[k], 0]) for k in keys) + bytes(4 * (16 - len(keys)))
    xor_rows, and_rows = [], []
    for row in reversed(PICTURE):  # bitmaps are stored bottom-up
        indices = [keys.index(c) for c in row]
        xor_rows.append(bytes(indices[i] << 4 | indices[i + 1] for i in range(0, 16, 2)))
        mask = sum(1 << (15 - i) for i, c in enumerate(row) if c == ".")
        and_rows.append(struct.pack(">H", mask) + bytes(2))  # rows padded to 4 bytes
    pixels = b"".join(xor_rows) + b"".join(and_rows)
    info = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    image = info + palette + pixels
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 16, 16, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


if __name__ == "__main__":
    target = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources" / "app.ico"
    target.write_bytes(build())
    print(target)
