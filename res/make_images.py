#!/usr/bin/env python3
"""Writes the installer's pictures with plain Python, no imaging library.

  qlx957.ico  icon 128: a receipt printer, 32x32 and 16x16, 16 colours
  banner.bmp  bitmap 132: the progress window's banner, 186x165, 8 bits per pixel

The generated files are committed, so the build never needs Python; run this
script again (python3 res/make_images.py) only to change the pictures.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour palette, as (r, g, b); indexes below name colours.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREY, LIGHT_GREY, WHITE, GREEN, BLUE = 0, 8, 7, 15, 10, 4
TRANSPARENT = None


def printer_icon(size):
    """A receipt printer seen from the front, as rows of palette indexes."""
    s = size / 32.0
    pixels = [[TRANSPARENT] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                pixels[y][x] = colour

    box(9, 2, 23, 14, BLACK)  # paper coming out of the slot
    box(10, 2, 22, 14, WHITE)
    for line in (5, 8, 11):
        box(12, line, 20, line + 1, DARK_GREY)  # printed lines
    box(2, 13, 30, 30, BLACK)  # body outline
    box(3, 14, 29, 29, LIGHT_GREY)
    box(6, 13, 26, 16, DARK_GREY)  # paper slot
    box(3, 24, 29, 25, DARK_GREY)  # front seam
    box(23, 19, 27, 22, GREEN)  # power lamp
    box(5, 19, 14, 21, BLUE)  # maker's badge
    return pixels


def dib_rows(pixels, bits):
    """Bottom-up rows of a bitmap with `bits` per pixel, each padded to 4 bytes."""
    width = len(pixels[0])
    stride = (width * bits + 31) // 32 * 4
    rows = []
    for row in reversed(pixels):
        acc, nbits, out = 0, 0, bytearray()
        for value in row:
            acc = (acc << bits) | value
            nbits += bits
            if nbits == 8:
                out.append(acc)
                acc, nbits = 0, 0
        if nbits:
            out.append(acc << (8 - nbits))
        out.extend(b"\0" * (stride - len(out)))
        rows.append(bytes(out))
    return b"".join(rows)


def bitmap_info_header(width, height, bits, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours_used, 0)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def icon_image(size):
    pixels = printer_icon(size)
    colour = dib_rows([[0 if p is TRANSPARENT else p for p in row] for row in pixels], 4)
    mask = dib_rows([[1 if p is TRANSPARENT else 0 for p in row] for row in pixels], 1)
    # An icon's header counts the colour image and the mask together: twice the height.
    header = bitmap_info_header(size, size * 2, 4, len(colour) + len(mask), 0)
    return header + palette_bytes(VGA16) + colour + mask


def write_icon(path):
    images = [(32, icon_image(32)), (16, icon_image(16))]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
        data += image
    with open(path, "wb") as f:
        f.write(directory + entries + data)


BANNER_W, BANNER_H = 186, 165


def banner_palette():
    # 0..127: a blue ramp for the background; 128..255: greys for the printer.
    ramp = [(16 + i // 4, 40 + i // 2, 96 + i) for i in range(128)]
    greys = [(2 * i + 1, 2 * i + 1, 2 * i + 1) for i in range(128)]
    return ramp + greys


def banner_pixels():
    grey = lambda level: 128 + level  # 0 black .. 127 white
    pixels = [[y * 127 // (BANNER_H - 1) for _ in range(BANNER_W)] for y in range(BANNER_H)]

    def box(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                pixels[y][x] = colour

    box(63, 18, 123, 86, grey(20))  # receipt
    box(65, 18, 121, 86, grey(127))
    for line in range(28, 80, 9):
        box(71, line, 115 - (line % 3) * 6, line + 3, grey(60))
    box(28, 82, 158, 148, grey(10))  # printer body
    box(31, 85, 155, 145, grey(96))
    box(48, 82, 138, 92, grey(40))  # paper slot
    box(31, 128, 155, 131, grey(70))  # front seam
    box(132, 104, 146, 114, grey(127))  # lamp
    box(40, 104, 90, 112, 40)  # badge in the background blue
    return pixels


def write_banner(path):
    colour = dib_rows(banner_pixels(), 8)
    palette = palette_bytes(banner_palette())
    header = bitmap_info_header(BANNER_W, BANNER_H, 8, len(colour), 256)
    offset = 14 + len(header) + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(colour), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + header + palette + colour)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "qlx957.ico"))
    write_banner(os.path.join(HERE, "banner.bmp"))
