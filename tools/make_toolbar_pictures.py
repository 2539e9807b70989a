#!/usr/bin/env python3
"""Draws the default tool bar pictures and writes them as 4-bit Windows BMPs.

Every picture is a 24 x 24 raised button (white top/left edge, black and grey
bottom/right edge, silver face) with a glyph in the middle. Glyphs are drawn
as ASCII art or as pixel masks whose border is turned into a 1-px black
outline, so they stay crisp at 100 % and scale cleanly by whole factors.

Usage: make_toolbar_pictures.py [--show] [output-folder]
"""

import os
import struct
import sys

SIZE = 24

# The standard 16-colour VGA/Windows palette, in index order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# Art characters -> palette index. '.' leaves the button face showing.
INK = {
    "K": 0, "m": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, "S": 7,
    "D": 8, "R": 9, "L": 10, "Y": 11, "B": 12, "F": 13, "A": 14, "W": 15,
}

FACE, LIGHT, SHADOW, DARK = 7, 15, 8, 0


# --- glyph helpers ---------------------------------------------------------


def Art(text):
    """Turns a block of ASCII art into a list of equal-length rows."""
    rows = [line.strip() for line in text.strip().splitlines()]
    width = len(rows[0])
    for row in rows:
        assert len(row) == width, f"ragged art row: {row!r}"
        for ch in row:
            assert ch == "." or ch in INK, f"unknown ink {ch!r}"
    return rows


def FromMask(mask, fill, outline="K"):
    """Paints a '#' mask with `fill`; mask pixels touching the outside
    (4-neighbourhood) become the outline, which keeps diagonal edges 1 px."""
    h, w = len(mask), len(mask[0])

    def Inside(x, y):
        return 0 <= x < w and 0 <= y < h and mask[y][x] == "#"

    rows = []
    for y in range(h):
        row = ""
        for x in range(w):
            if not Inside(x, y):
                row += "."
            elif all(Inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row += fill
            else:
                row += outline
        rows.append(row)
    return rows


def Mask(width, height, test):
    """Builds a '#' mask from a predicate on pixel coordinates."""
    return ["".join("#" if test(x, y) else "." for x in range(width)) for y in range(height)]


def MirrorH(art):
    return [row[::-1] for row in art]


def Overlay(base, top, left=0, upper=0):
    """Draws `top` over `base`; '.' in `top` is see-through."""
    rows = [list(r) for r in base]
    for y, row in enumerate(top):
        for x, ch in enumerate(row):
            if ch != ".":
                rows[upper + y][left + x] = ch
    return ["".join(r) for r in rows]


def Blank(width, height):
    return ["." * width for _ in range(height)]


def TriangleMask(width, height):
    """Right-pointing triangle; the tip is two rows tall when height is even,
    so the shape stays mirror-symmetric about its middle."""
    half = height / 2.0

    def Test(x, y):
        reach = width * (1.0 - abs(y + 0.5 - half) / half)
        return x + 0.5 <= reach + 0.25

    return Mask(width, height, Test)


def DiscMask(diameter, slack=0.5):
    c = (diameter - 1) / 2.0
    r2 = (diameter / 2.0) ** 2 - slack
    return Mask(diameter, diameter, lambda x, y: (x - c) ** 2 + (y - c) ** 2 <= r2)


# --- glyphs ---------------------------------------------------------------

ARROW_LEFT = Art("""
    ......KK........
    .....KBK........
    ....KBBK........
    ...KBBBKKKKKKKKK
    ..KBBBBBBBBBBBBK
    .KBBBBBBBBBBBBBK
    KBBBBBBBBBBBBBBK
    KBBBBBBBBBBBBBBK
    .KBBBBBBBBBBBBBK
    ..KBBBBBBBBBBBBK
    ...KBBBKKKKKKKKK
    ....KBBK........
    .....KBK........
    ......KK........
""")

STOP_SIGN = Art("""
    .....KKKKKK.....
    ....KWWWWWWK....
    ...KWRRRRRRWK...
    ..KWRRRRRRRRWK..
    .KWRRRRRRRRRRWK.
    KWRRRRRRRRRRRRWK
    KWRRRRRRRRRRRRWK
    KWRRRRRRRRRRRRWK
    KWRRRRRRRRRRRRWK
    KWRRRRRRRRRRRRWK
    KWRRRRRRRRRRRRWK
    .KWRRRRRRRRRRWK.
    ..KWRRRRRRRRWK..
    ...KWRRRRRRWK...
    ....KWWWWWWK....
    .....KKKKKK.....
""")

PAGE = Art("""
    KKKKKKKKKKKKK...
    KWWWWWWWWWWWKK..
    KWWWWWWWWWWWKWK.
    KWWWWWWWWWWWKKKK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KWWWWWWWWWWWWWWK
    KKKKKKKKKKKKKKKK
""")

# Two arcs chasing each other clockwise round the page, each ending in an
# arrow head; the pair looks the same after a half turn.
CIRCLING_ARROWS = Art("""
    .......g......
    .......gg.....
    .....ggggg....
    ...ggggggg....
    ..ggg..gg.....
    ..gg...g..gg..
    .gg........gg.
    .gg........gg.
    .gg........gg.
    .gg........gg.
    ..gg..g...gg..
    .....gg..ggg..
    ....ggggggg...
    ....ggggg.....
    .....gg.......
    ......g.......
""")

HOUSE = Art("""
    .......KK.......
    ......KRRK......
    .....KRRRRK.....
    ....KRRRRRRK....
    ...KRRRRRRRRK...
    ..KRRRRRRRRRRK..
    .KRRRRRRRRRRRRK.
    KRRRRRRRRRRRRRRK
    KKKKKKKKKKKKKKKK
    ..KYYYYYYYYYYK..
    ..KYYYYYYYYYYK..
    ..KYYYKKKKYYYK..
    ..KYYYKmmKYYYK..
    ..KYYYKmmKYYYK..
    ..KYYYKmmKYYYK..
    ..KKKKKKKKKKKK..
""")

# Steps of 1 and 2 pixels alternate, giving a near-equilateral slope.
PLAY = Art("""
    KK..........
    KLK.........
    KLLKK.......
    KLLLLK......
    KLLLLLKK....
    KLLLLLLLK...
    KLLLLLLLLKK.
    KLLLLLLLLLLK
    KLLLLLLLLLLK
    KLLLLLLLLKK.
    KLLLLLLLK...
    KLLLLLKK....
    KLLLLK......
    KLLKK.......
    KLK.........
    KK..........
""")

QUESTION = Art("""
    ...KKKKKK...
    ..KBBBBBBK..
    .KBBBBBBBBK.
    .KBBKKKKBBK.
    .KKKK..KBBK.
    ......KBBBK.
    .....KBBBK..
    ....KBBBK...
    ....KBBK....
    ....KBBK....
    ....KKKK....
    ............
    ....KKKK....
    ....KBBK....
    ....KBBK....
    ....KKKK....
""")

HAND = Art("""
    .....KK.........
    ....KWWK........
    ....KWWK........
    ....KWWK........
    ....KWWKKK......
    ....KWWKWWKKK...
    ....KWWKWWKWWKK.
    .KK.KWWKWWKWWKWK
    KWWKKWWKWWKWWKWK
    KWWWKWWWWWWWWWWK
    .KWWKWWWWWWWWWWK
    .KWWWWWWWWWWWWWK
    ..KWWWWWWWWWWWWK
    ..KWWWWWWWWWWWK.
    ...KWWWWWWWWWWK.
    ...KWWWWWWWWWWK.
    ....KWWWWWWWWK..
    ....KKKKKKKKKK..
""")


def Reload():
    return Overlay(PAGE, CIRCLING_ARROWS, 1, 1)


def Cross():
    mask = Mask(16, 16, lambda x, y: abs(x - y) <= 2 or abs(x + y - 15) <= 2)
    return FromMask(mask, "R")


def Disc():
    return FromMask(DiscMask(16), "t")


def Play():
    return PLAY


def Pause():
    bar = ["#####"] * 16
    mask = [b + "...." + b for b in bar]
    return FromMask(mask, "B")


def SkipNext():
    """Two right-pointing triangles against a bar (mirrored for previous)."""
    tri = FromMask(TriangleMask(7, 14), "B")
    bar = FromMask(["####"] * 14, "B")
    art = Blank(18, 14)
    art = Overlay(art, tri, 0, 0)
    art = Overlay(art, tri, 6, 0)
    return Overlay(art, bar, 14, 0)


TOOL_NAV = [
    ("back", ARROW_LEFT),
    ("forward", MirrorH(ARROW_LEFT)),
    ("stop", STOP_SIGN),
    ("reload", Reload()),
    ("home", HOUSE),
    ("play", Play()),
    ("quit", Cross()),
    ("config", Disc()),
    ("help", QUESTION),
]

TOOL_RUN = [
    ("play", Play()),
    ("pause", Pause()),
    ("previous", MirrorH(SkipNext())),
    ("next", SkipNext()),
    ("quit", Cross()),
    ("config", Disc()),
    ("navigation", HAND),
    ("help", QUESTION),
]


# --- button and file output -----------------------------------------------


def Button(glyph):
    """Returns SIZE rows of palette indices: raised button with `glyph` centred."""
    px = [[FACE] * SIZE for _ in range(SIZE)]
    last = SIZE - 1
    for i in range(SIZE):
        px[0][i] = LIGHT
        px[i][0] = LIGHT
    for i in range(1, SIZE - 1):
        px[last - 1][i] = SHADOW
        px[i][last - 1] = SHADOW
    for i in range(SIZE):
        px[last][i] = DARK
        px[i][last] = DARK

    h, w = len(glyph), len(glyph[0])
    # The face runs from 1 to SIZE-3; centre on the whole picture so the
    # glyph sits in the middle of the button as seen, bevel included.
    left, top = (SIZE - w) // 2, (SIZE - h) // 2
    assert left >= 2 and top >= 2 and left + w <= SIZE - 2 and top + h <= SIZE - 2, "glyph too big"
    for y, row in enumerate(glyph):
        for x, ch in enumerate(row):
            if ch != ".":
                px[top + y][left + x] = INK[ch]
    return px


def WriteBmp(path, px):
    """Writes an uncompressed 4-bit BMP (bottom-up rows, padded to 4 bytes)."""
    height, width = len(px), len(px[0])
    rowBytes = ((width * 4 + 31) // 32) * 4
    body = bytearray()
    for row in reversed(px):
        line = bytearray(rowBytes)
        for x, index in enumerate(row):
            if x % 2 == 0:
                line[x // 2] |= index << 4
            else:
                line[x // 2] |= index
        body += line
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(body), 2835, 2835, 16, 16)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + palette + body)


def FileName(bar, index, name):
    return f"{bar.lower()}-{index}-{name}.bmp"


def WriteQrc(path, entries):
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">', '  <qresource prefix="/toolbars">']
    for alias, fileName in entries:
        lines.append(f'    <file alias="{alias}">{fileName}</file>')
    lines += ["  </qresource>", "</RCC>", ""]
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(lines))


def Main(argv):
    show = "--show" in argv
    args = [a for a in argv if a != "--show"]
    here = os.path.dirname(os.path.abspath(__file__))
    outDir = args[0] if args else os.path.join(here, "..", "src", "toolbars", "pictures")
    os.makedirs(outDir, exist_ok=True)

    entries = []
    for bar, glyphs in (("ToolNav", TOOL_NAV), ("ToolRun", TOOL_RUN)):
        for index, (name, glyph) in enumerate(glyphs):
            fileName = FileName(bar, index, name)
            WriteBmp(os.path.join(outDir, fileName), Button(glyph))
            entries.append((f"{bar}/{index}", fileName))
            if show:
                print(f"{fileName}  ({len(glyph[0])}x{len(glyph)})")
                print("\n".join("  " + row for row in glyph))
    WriteQrc(os.path.join(outDir, "pictures.qrc"), entries)
    print(f"wrote {len(entries)} pictures to {os.path.normpath(outDir)}")


if __name__ == "__main__":
    Main(sys.argv[1:])
