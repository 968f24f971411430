#!/usr/bin/env python3
"""Draws the toolbar strips and the program icon: 24-bit BMP strips of four square buttons
(normal, hot, disabled) on magenta, drawn at 24 pixels for 100 % and again at 30, 36 and 48 for
125, 150 and 200 %, and an icon of the sizes the shell asks for at those scales. Run it after
changing the art; its output is committed so the build needs no Python."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGENTA = (255, 0, 255)
SIZE = 24  # the art's own grid; other sizes scale its coordinates, never the pixels
STRIP_SIZES = (24, 30, 36, 48)
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)


def blank(w, h, colour=MAGENTA):
    return [[colour for _ in range(w)] for _ in range(h)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1 + 1)):
        for x in range(max(0, x0), min(len(img[0]), x1 + 1)):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    rect(img, x0, y0, x1, y0, colour)
    rect(img, x0, y1, x1, y1, colour)
    rect(img, x0, y0, x0, y1, colour)
    rect(img, x1, y0, x1, y1, colour)


def disc(img, cx, cy, r, colour):
    for y in range(len(img)):
        for x in range(len(img[0])):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                img[y][x] = colour


def clock_face(img, ox, oy, r, rim, face, hand):
    cx, cy = ox + r, oy + r
    disc(img, cx, cy, r, rim)
    disc(img, cx, cy, r - 2, face)
    rect(img, cx, cy - (r - 4), cx, cy, hand)
    rect(img, cx, cy, cx + (r - 5), cy, hand)


def scaled(n):
    """Drawing calls in the 24-pixel grid land on an n-pixel image: each coordinate scaled,
    the last pixel of a span kept so that one-pixel lines stay at least one pixel wide."""
    s = n / SIZE

    def span(a0, a1):
        lo = int(round(a0 * s))
        return lo, max(lo, int(round((a1 + 1) * s)) - 1)

    def r(img, x0, y0, x1, y1, colour):
        (x0, x1), (y0, y1) = span(x0, x1), span(y0, y1)
        rect(img, x0, y0, x1, y1, colour)

    def d(img, cx, cy, radius, colour):
        disc(img, (cx + 0.5) * s - 0.5, (cy + 0.5) * s - 0.5, radius * s, colour)
    return r, d


def button(index, palette, n=SIZE):
    """One n x n button image; palette maps roles to colours."""
    img = blank(n, n)
    rect, disc = scaled(n)

    def frame(img, x0, y0, x1, y1, colour):
        rect(img, x0, y0, x1, y0, colour)
        rect(img, x0, y1, x1, y1, colour)
        rect(img, x0, y0, x0, y1, colour)
        rect(img, x1, y0, x1, y1, colour)
    ink, paper, accent = palette["ink"], palette["paper"], palette["accent"]
    if index in (0, 1, 2):
        # A calendar page: the schedule.
        rect(img, 3, 5, 18, 20, paper)
        frame(img, 3, 5, 18, 20, ink)
        rect(img, 3, 5, 18, 8, palette["header"])
        for gx in range(5, 17, 4):
            for gy in range(11, 19, 3):
                rect(img, gx, gy, gx + 1, gy + 1, ink)
    if index == 0:  # add: a plus sign
        rect(img, 15, 14, 23, 16, accent)
        rect(img, 18, 11, 20, 19, accent)
    elif index == 1:  # remove: a minus sign
        rect(img, 14, 14, 23, 16, palette["remove"])
    elif index == 2:  # change: a pencil
        for i in range(9):
            rect(img, 13 + i, 21 - i, 14 + i, 22 - i, palette["pencil"])
        rect(img, 12, 22, 13, 23, ink)
    elif index == 3:  # about: an "i" in a disc
        disc(img, 11, 12, 10, accent)
        rect(img, 10, 6, 12, 8, paper)
        rect(img, 10, 10, 12, 18, paper)
    return img


PALETTES = {
    "normal": dict(ink=(40, 40, 60), paper=(250, 250, 245), header=(70, 110, 190),
                   accent=(20, 150, 60), remove=(200, 40, 40), pencil=(230, 160, 30)),
    "hot": dict(ink=(20, 20, 40), paper=(255, 255, 255), header=(40, 130, 240),
                accent=(30, 190, 80), remove=(240, 50, 50), pencil=(255, 190, 40)),
    "disabled": dict(ink=(150, 150, 150), paper=(225, 225, 225), header=(180, 180, 180),
                     accent=(170, 170, 170), remove=(165, 165, 165), pencil=(190, 190, 190)),
}


def strip(palette, n):
    img = blank(n * 4, n)
    for i in range(4):
        b = button(i, palette, n)
        for y in range(n):
            img[y][i * n:(i + 1) * n] = b[y]
    return img


def bmp24(img):
    h, w = len(img), len(img[0])
    row_bytes = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up: the first stored pixel is bottom-left
        row = bytearray()
        for r, g, b in img[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54) + header + pixels


def icon_image(n):
    """A 32-bit BGRA icon image: a clock over a calendar page, transparent elsewhere."""
    img = [[None] * n for _ in range(n)]
    s = n / 32.0

    def fill(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), int(y1 * s) + 1):
            for x in range(int(x0 * s), int(x1 * s) + 1):
                if 0 <= x < n and 0 <= y < n:
                    img[y][x] = c
    fill(2, 4, 25, 29, (250, 250, 245))
    fill(2, 4, 25, 9, (70, 110, 190))
    fill(2, 4, 2, 29, (40, 40, 60)); fill(25, 4, 25, 29, (40, 40, 60))
    fill(2, 29, 25, 29, (40, 40, 60))
    r = 9 * s
    cx, cy = 22 * s, 22 * s
    for y in range(n):
        for x in range(n):
            d2 = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
            if d2 <= r * r:
                img[y][x] = (20, 120, 60) if d2 > (r - 1.5 * s) ** 2 else (255, 255, 255)
    fill(22, 15, 22.9, 22, (30, 30, 30))
    fill(22, 22, 27, 22.9, (30, 30, 30))
    pixels = bytearray()
    for y in range(n - 1, -1, -1):
        for c in img[y]:
            pixels += bytes((0, 0, 0, 0)) if c is None else bytes((c[2], c[1], c[0], 255))
    mask_row = ((n + 31) // 32) * 4
    mask = bytearray(mask_row * n)  # all zero: the alpha channel decides
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def ico(sizes):
    images = [icon_image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    for n in STRIP_SIZES:
        suffix = "" if n == SIZE else "_%d" % n
        for name, rid in (("normal", "toolbar"), ("hot", "toolbar_hot"),
                          ("disabled", "toolbar_disabled")):
            with open(os.path.join(HERE, rid + suffix + ".bmp"), "wb") as f:
                f.write(bmp24(strip(PALETTES[name], n)))
    with open(os.path.join(HERE, "scheduler.ico"), "wb") as f:
        f.write(ico(list(reversed(ICON_SIZES))))


if __name__ == "__main__":
    main()
