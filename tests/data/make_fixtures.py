#!/usr/bin/python3
"""Writes the picture fixtures of the canvas tests and the fuzzers' seed corpora.

Run as /usr/bin/python3 tests/data/make_fixtures.py from the project root. Every fixture
<name>.<ext> whose pixels are known exactly comes with <name>.ppm, the pixels the program
must show (transparency already laid over white). Bitmaps, icons, cursors, most GIFs and
the monochrome PCX are encoded here by hand, so that each variant's fields are exactly
as intended; JPEG, PNG and the 8-bit PCX come from Pillow and ImageMagick.
"""
import io
import os
import random
import shutil
import struct
import subprocess
import zlib

from PIL import Image

from gif_codes import pack_codes, sub_blocks

ROOT = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(ROOT, "..", "..", "fuzz", "corpus")
WHITE = (255, 255, 255)

# ---------------------------------------------------------------- pixel patterns

PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def indexed_grid(width, height, colours, seed):
    rng = random.Random(seed)
    # Runs of equal indices, so that run-length encoders have something to do.
    grid = []
    for _ in range(height):
        row = []
        while len(row) < width:
            row += [rng.randrange(colours)] * rng.choice([1, 1, 2, 3, 5])
        grid.append(row[:width])
    return grid


def rgb_grid(width, height, seed):
    rng = random.Random(seed)
    return [[(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(width)]
            for _ in range(height)]


def colours_of(grid, palette):
    return [[palette[i] for i in row] for row in grid]


def over_white(r, g, b, a):
    return tuple((c * a + 255 * (255 - a) + 127) // 255 for c in (r, g, b))


# ---------------------------------------------------------------- output

def write(relative, data):
    path = os.path.join(ROOT, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def write_ppm(relative, rows):
    height, width = len(rows), len(rows[0])
    body = bytes(c for row in rows for pixel in row for c in pixel)
    write(relative, b"P6\n%d %d\n255\n" % (width, height) + body)


def fixture(relative, data, rows=None):
    write(relative, data)
    if rows is not None:
        write_ppm(os.path.splitext(relative)[0] + ".ppm", rows)


def seed(target, relative):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    shutil.copyfile(os.path.join(ROOT, relative), os.path.join(folder, relative.replace("/", "-")))


# ---------------------------------------------------------------- bitmaps

def pack_rows(rows_of_bytes, top_down):
    out = b""
    for row in (rows_of_bytes if top_down else reversed(rows_of_bytes)):
        out += row + b"\0" * (-len(row) % 4)
    return out


def index_row(row, bits):
    out, acc, n = bytearray(), 0, 0
    for index in row:
        acc = acc << bits | index
        n += bits
        if n == 8:
            out.append(acc)
            acc, n = 0, 0
    if n:
        out.append(acc << (8 - n))
    return bytes(out)


def info_header(width, height, bits, compression=0, colours=0, size=40, masks=()):
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0, 2835, 2835,
                         colours, 0)
    if size > 40:
        extra = b"".join(struct.pack("<I", m) for m in masks)
        header += extra + b"\0" * (size - len(header) - len(extra))
    return header


def bmp_file(dib_header, table, pixels, data_offset=None):
    offset = 14 + len(dib_header) + len(table) if data_offset is None else data_offset
    gap = b"\0" * (offset - 14 - len(dib_header) - len(table))
    body = dib_header + table + gap + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def quad_table(palette):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in palette)


def make_bitmaps():
    mono_palette = [(0, 0, 96), (255, 224, 0)]
    mono = indexed_grid(19, 5, 2, 1)
    fixture("bmp/bits1.bmp",
            bmp_file(info_header(19, 5, 1), quad_table(mono_palette),
                     pack_rows([index_row(r, 1) for r in mono], False)),
            colours_of(mono, mono_palette))

    grid16 = indexed_grid(13, 7, 16, 2)
    fixture("bmp/bits4.bmp",
            bmp_file(info_header(13, 7, 4), quad_table(PALETTE16),
                     pack_rows([index_row(r, 4) for r in grid16], False)),
            colours_of(grid16, PALETTE16))
    # A colour count of 16 for 8 bits: the table is 16 entries long, not 256.
    fixture("bmp/bits8-16colours.bmp",
            bmp_file(info_header(13, 7, 8, colours=16), quad_table(PALETTE16),
                     pack_rows([bytes(r) for r in grid16], False)),
            colours_of(grid16, PALETTE16))
    # An index past a short table shows black.
    past = [row[:] for row in grid16]
    past[0][0] = 200
    fixture("bmp/bits8-index-past-table.bmp",
            bmp_file(info_header(13, 7, 8, colours=16), quad_table(PALETTE16),
                     pack_rows([bytes(r) for r in past], False)),
            [[(0, 0, 0) if i == 200 else PALETTE16[i] for i in row] for row in past])

    rgb = rgb_grid(11, 6, 3)
    bgr_rows = [b"".join(bytes((b, g, r)) for r, g, b in row) for row in rgb]
    fixture("bmp/bits24.bmp", bmp_file(info_header(11, 6, 24), b"", pack_rows(bgr_rows, False)), rgb)
    fixture("bmp/bits24-top-down.bmp", bmp_file(info_header(11, -6, 24), b"", pack_rows(bgr_rows, True)), rgb)
    # Pixel data placed after a gap, where the data offset says.
    fixture("bmp/bits24-data-offset.bmp",
            bmp_file(info_header(11, 6, 24), b"", pack_rows(bgr_rows, False), data_offset=100), rgb)
    bgrx_rows = [b"".join(bytes((b, g, r, 0x5A)) for r, g, b in row) for row in rgb]
    fixture("bmp/bits32.bmp", bmp_file(info_header(11, 6, 32), b"", pack_rows(bgrx_rows, False)), rgb)

    def scaled(value, bits):
        largest = (1 << bits) - 1
        return (value * 255 + largest // 2) // largest

    rng = random.Random(4)
    words = [[rng.randrange(1 << 16) for _ in range(9)] for _ in range(5)]
    fixture("bmp/bits16-555.bmp",
            bmp_file(info_header(9, 5, 16), b"",
                     pack_rows([b"".join(struct.pack("<H", w & 0x7FFF) for w in row) for row in words], False)),
            [[(scaled(w >> 10 & 31, 5), scaled(w >> 5 & 31, 5), scaled(w & 31, 5)) for w in row] for row in words])
    fixture("bmp/bitfields16-565.bmp",
            bmp_file(info_header(9, 5, 16, compression=3),
                     struct.pack("<III", 0xF800, 0x07E0, 0x001F),
                     pack_rows([b"".join(struct.pack("<H", w) for w in row) for row in words], False)),
            [[(scaled(w >> 11, 5), scaled(w >> 5 & 63, 6), scaled(w & 31, 5)) for w in row] for row in words])
    # Red in the low byte and 10-bit channels, in a V5 header.
    dwords = [[rng.randrange(1 << 30) for _ in range(7)] for _ in range(4)]
    masks = (0x000003FF, 0x000FFC00, 0x3FF00000, 0)
    fixture("bmp/v5-bitfields32.bmp",
            bmp_file(info_header(7, 4, 32, compression=3, size=124, masks=masks), b"",
                     pack_rows([b"".join(struct.pack("<I", d) for d in row) for row in dwords], False)),
            [[(scaled(d & 1023, 10), scaled(d >> 10 & 1023, 10), scaled(d >> 20 & 1023, 10)) for d in row]
             for row in dwords])
    fixture("bmp/v4-bits24.bmp",
            bmp_file(info_header(11, 6, 24, size=108, masks=(0xFF0000, 0xFF00, 0xFF, 0)), b"",
                     pack_rows(bgr_rows, False)), rgb)

    core_grid = indexed_grid(10, 6, 16, 5)
    core_table = b"".join(bytes((b, g, r)) for r, g, b in PALETTE16)
    core = struct.pack("<IHHHH", 12, 10, 6, 1, 8)
    # 16 of 256 entries: the table ends where the pixels begin.
    fixture("bmp/core8-short-table.bmp",
            bmp_file(core, core_table, pack_rows([bytes(r) for r in core_grid], False)),
            colours_of(core_grid, PALETTE16))
    fixture("bmp/core24.bmp",
            bmp_file(struct.pack("<IHHHH", 12, 11, 6, 1, 24), b"", pack_rows(bgr_rows, False)), rgb)

    make_run_length_bitmaps()


def make_run_length_bitmaps():
    # 8 × 4, rows bottom first. Skipped pixels (delta, early end of line) stay white.
    #   bottom row: run of 3 × index 1, literal 2 3 4, then end of line (x 6, 7 skipped)
    #   next row:   literal 5 6 7 (odd count, padded), delta +2 right and +1 up
    #   third row:  from x 5: run of 9 × index 9 (cut at the row's end), end of line
    #   top row:    run of 8 × index 12, end of bitmap
    rle8 = bytes([3, 1, 0, 3, 2, 3, 4, 0, 0, 0,
                  0, 3, 5, 6, 7, 0, 0, 2, 2, 1,
                  9, 9, 0, 0,
                  8, 12, 0, 1])
    W = WHITE
    p = PALETTE16
    expected = [
        [p[12]] * 8,
        [W] * 5 + [p[9]] * 3,
        [p[5], p[6], p[7]] + [W] * 5,
        [p[1]] * 3 + [p[2], p[3], p[4]] + [W] * 2,
    ]
    fixture("bmp/rle8.bmp", bmp_file(info_header(8, 4, 8, compression=1, colours=16), quad_table(PALETTE16), rle8),
            expected)
    # The same picture in 4 bits: runs alternate the two nibbles of their byte.
    rle4 = bytes([4, 0x12, 0, 3, 0x34, 0x50, 0, 0,
                  0, 3, 0x67, 0x80, 0, 2, 2, 1,
                  9, 0x99, 0, 0,
                  8, 0xCC, 0, 1])
    expected4 = [
        [p[12]] * 8,
        [W] * 5 + [p[9]] * 3,
        [p[6], p[7], p[8]] + [W] * 5,
        [p[1], p[2], p[1], p[2], p[3], p[4], p[5]] + [W],
    ]
    fixture("bmp/rle4.bmp", bmp_file(info_header(8, 4, 4, compression=2), quad_table(PALETTE16), rle4), expected4)


def make_loader_only_bitmaps():
    """Bitmaps the decoder does not show but the bitmap loader measures."""
    rgb = rgb_grid(11, 6, 3)
    bgr_rows = [b"".join(bytes((b, g, r)) for r, g, b in row) for row in rgb]
    os2 = struct.pack("<IiiHH", 64, 11, 6, 1, 24) + b"\0" * 48
    write("bitmap-loader/os2-64-bits24.bmp", bmp_file(os2, b"", pack_rows(bgr_rows, False)))
    grid = indexed_grid(15, 3, 4, 6)
    write("bitmap-loader/bits2.bmp",
          bmp_file(info_header(15, 3, 2), quad_table(PALETTE16[:4]), pack_rows([index_row(r, 2) for r in grid], False)))
    write("bitmap-loader/bits64.bmp",
          bmp_file(info_header(5, 4, 64), b"", pack_rows([b"\x10\x20" * 4 * 5] * 4, False)))
    write("bitmap-loader/alphabitfields32.bmp",
          bmp_file(info_header(6, 3, 32, compression=6),
                   struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000),
                   pack_rows([b"\x01\x02\x03\x80" * 6] * 3, False)))
    png = io.BytesIO()
    Image.new("RGB", (21, 9), (10, 200, 30)).save(png, "PNG")
    write("bitmap-loader/embedded-png.bmp", bmp_file(info_header(21, 9, 0, compression=5), b"", png.getvalue()))
    jpeg = io.BytesIO()
    Image.new("RGB", (17, 12), (200, 20, 30)).save(jpeg, "JPEG")
    write("bitmap-loader/embedded-jpeg.bmp", bmp_file(info_header(17, 12, 0, compression=4), b"", jpeg.getvalue()))


# ---------------------------------------------------------------- icons and cursors

def icon_bitmap_image(colour_rows, bits, palette, mask_rows):
    """A bitmap icon image: the header with doubled height, table, colour rows, mask."""
    height, width = len(colour_rows), len(colour_rows[0])
    header = info_header(width, 2 * height, bits)
    table = quad_table(palette) if palette else b""
    if bits <= 8:
        colours = pack_rows([index_row(r, bits) for r in colour_rows], False)
    elif bits == 24:
        colours = pack_rows([b"".join(bytes((b, g, r)) for r, g, b in row) for row in colour_rows], False)
    else:
        colours = pack_rows([b"".join(bytes((b, g, r, a)) for r, g, b, a in row) for row in colour_rows], False)
    mask = pack_rows([index_row(r, 1) for r in mask_rows], False)
    return header + table + colours + mask


def icon_file(kind, images):
    """images: (entry width, entry height, colour count, data). An icon's entry gives planes
    and bits per pixel, a cursor's its hot spot."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for width, height, colours, data in images:
        bits = struct.unpack_from("<H", data, 14)[0] if data[:4] == b"\x28\0\0\0" else 32
        out += struct.pack("<BBBBHHII", width, height, colours, 0, 1 if kind == 1 else 3,
                           bits if kind == 1 else 4, len(data), offset + len(body))
        body += data
    return out + body


def no_mask(width, height):
    return [[0] * width for _ in range(height)]


def make_icons():
    grid16 = indexed_grid(16, 16, 16, 7)
    grid32_mono = indexed_grid(32, 32, 2, 8)
    palette256 = [(i, 255 - i, (i * 7) % 256) for i in range(256)]
    grid32_256 = indexed_grid(32, 32, 256, 9)
    rgb48 = rgb_grid(48, 48, 10)
    img16 = icon_bitmap_image(grid16, 4, PALETTE16, no_mask(16, 16))
    img32_mono = icon_bitmap_image(grid32_mono, 1, [(0, 0, 0), (255, 255, 255)], no_mask(32, 32))
    img32_256 = icon_bitmap_image(grid32_256, 8, palette256, no_mask(32, 32))
    img48 = icon_bitmap_image(rgb48, 24, None, no_mask(48, 48))
    # 32 wide with 2 colours does not qualify; 32 wide with count 0 (256 or more) does.
    fixture("icon/choice-first-32-wide.ico",
            icon_file(1, [(16, 16, 16, img16), (32, 32, 2, img32_mono), (32, 32, 0, img32_256), (48, 48, 0, img48)]),
            colours_of(grid32_256, palette256))
    fixture("icon/choice-last.ico",
            icon_file(1, [(32, 32, 2, img32_mono), (16, 16, 16, img16), (48, 48, 0, img48)]), rgb48)

    # 4 bits with a mask: set mask bits show white.
    grid = indexed_grid(20, 9, 16, 11)
    mask = indexed_grid(20, 9, 2, 12)
    fixture("icon/mask-4bits.ico", icon_file(1, [(20, 9, 16, icon_bitmap_image(grid, 4, PALETTE16, mask))]),
            [[WHITE if m else PALETTE16[i] for i, m in zip(row, mrow)] for row, mrow in zip(grid, mask)])

    rng = random.Random(13)
    rgba = [[(rng.randrange(256), rng.randrange(256), rng.randrange(256), rng.choice([0, 64, 200, 255]))
             for _ in range(10)] for _ in range(6)]
    # The mask says opaque everywhere: with opacity in the pixels, the mask is not used.
    fixture("icon/alpha-32bits.ico", icon_file(1, [(10, 6, 0, icon_bitmap_image(rgba, 32, None, no_mask(10, 6)))]),
            [[over_white(*p) for p in row] for row in rgba])
    # Opacity bytes all 0: an old-style 32-bit image whose mask says what is transparent.
    zero_alpha = [[(r, g, b, 0) for r, g, b, _ in row] for row in rgba]
    mask6 = indexed_grid(10, 6, 2, 14)
    fixture("icon/no-alpha-32bits.ico", icon_file(1, [(10, 6, 0, icon_bitmap_image(zero_alpha, 32, None, mask6))]),
            [[WHITE if m else (r, g, b) for (r, g, b, _), m in zip(row, mrow)] for row, mrow in zip(zero_alpha, mask6)])

    png_rgba = [[(rng.randrange(256), rng.randrange(256), rng.randrange(256), rng.choice([0, 128, 255]))
                 for _ in range(12)] for _ in range(7)]
    image = Image.new("RGBA", (12, 7))
    image.putdata([p for row in png_rgba for p in row])
    png = io.BytesIO()
    image.save(png, "PNG")
    fixture("icon/png-inside.ico", icon_file(1, [(12, 7, 0, png.getvalue())]),
            [[over_white(*p) for p in row] for row in png_rgba])

    cursor_grid = indexed_grid(16, 16, 2, 15)
    cursor_mask = indexed_grid(16, 16, 2, 16)
    fixture("cursor/mono.cur",
            icon_file(2, [(16, 16, 2, icon_bitmap_image(cursor_grid, 1, [(0, 0, 0), (255, 255, 255)], cursor_mask))]),
            [[WHITE if m else ((0, 0, 0), WHITE)[i] for i, m in zip(row, mrow)]
             for row, mrow in zip(cursor_grid, cursor_mask)])


# ---------------------------------------------------------------- GIF

def lzw_encode(indices, min_code_size, end_code=True):
    """Plain GIF LZW: clear first, codes widen as the table grows, clear when it is full.
    Without the end code, also says whether the zero bits that fill the last byte could
    be read as one more code."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    width = min_code_size + 1
    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    codes = [(clear, width)]
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        codes.append((table[current], width))
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            codes.append((clear, width))
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        current = (index,)
    if current:
        codes.append((table[current], width))
    if end_code:
        codes.append((end, width))
    packed = pack_codes(codes)
    if end_code:
        return packed
    # Whether the last byte has room left for one more code of the current width.
    spare = len(packed) * 8 - sum(bits for _, bits in codes)
    return packed, spare > 0 and spare >= width


def colour_table_bytes(palette):
    size = 2
    while size < len(palette):
        size *= 2
    entries = list(palette) + [(0, 0, 0)] * (size - len(palette))
    return b"".join(bytes(c) for c in entries), size.bit_length() - 2


def interlaced_order(height):
    return [y for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)) for y in range(start, height, step)]


def gif_file(screen, global_palette, image_box, grid, local_palette=None, interlaced=False,
             transparent=None, version=b"GIF89a", min_code_size=None, data=None):
    out = version + struct.pack("<HH", *screen)
    if global_palette:
        table, bits = colour_table_bytes(global_palette)
        out += bytes([0x80 | bits, 0, 0]) + table
    else:
        out += b"\0\0\0"
    out += b"\x21\xFE" + sub_blocks(b"made by the fixture script")  # a comment to skip
    if transparent is not None:
        out += b"\x21\xF9\x04" + bytes([1]) + b"\0\0" + bytes([transparent]) + b"\0"
    left, top, width, height = image_box
    flags = 0x40 if interlaced else 0
    local = b""
    if local_palette:
        local, bits = colour_table_bytes(local_palette)
        flags |= 0x80 | bits
    out += b"\x2C" + struct.pack("<HHHH", left, top, width, height) + bytes([flags]) + local
    if min_code_size is None:
        min_code_size = max(2, (max(len(global_palette or []), len(local_palette or [])) - 1).bit_length())
    if data is None:
        rows = [grid[y] for y in (interlaced_order(height) if interlaced else range(height))]
        data = lzw_encode([i for row in rows for i in row], min_code_size)
    out += bytes([min_code_size]) + sub_blocks(data)
    return out + b"\x3B"


def place(screen, box, grid, palette, transparent=None):
    rows = [[WHITE] * screen[0] for _ in range(screen[1])]
    left, top, width, height = box
    for y in range(height):
        for x in range(width):
            if left + x < screen[0] and top + y < screen[1] and grid[y][x] != transparent:
                rows[top + y][left + x] = palette[grid[y][x]]
    return rows


def make_gifs():
    grid = indexed_grid(13, 7, 16, 20)
    box = (0, 0, 13, 7)
    fixture("gif/plain87a.gif", gif_file((13, 7), PALETTE16, box, grid, version=b"GIF87a"),
            place((13, 7), box, grid, PALETTE16))
    fixture("gif/offset-on-larger-screen.gif", gif_file((20, 12), PALETTE16, (4, 3, 13, 7), grid),
            place((20, 12), (4, 3, 13, 7), grid, PALETTE16))
    # Partly off the screen: what lies outside is cut off.
    fixture("gif/image-past-screen.gif", gif_file((10, 5), PALETTE16, (3, 2, 13, 7), grid),
            place((10, 5), (3, 2, 13, 7), grid, PALETTE16))
    fixture("gif/transparent.gif", gif_file((13, 7), PALETTE16, box, grid, transparent=3),
            place((13, 7), box, grid, PALETTE16, transparent=3))
    local = [(i * 16, 255 - i * 16, 77) for i in range(16)]
    fixture("gif/local-table.gif", gif_file((13, 7), [(1, 2, 3)] * 2, box, grid, local_palette=local),
            place((13, 7), box, grid, local))
    tall = indexed_grid(9, 21, 16, 21)
    fixture("gif/interlaced.gif", gif_file((9, 21), PALETTE16, (0, 0, 9, 21), tall, interlaced=True),
            place((9, 21), (0, 0, 9, 21), tall, PALETTE16))
    # Noise in 256 colours fills the 4096-entry table, so the encoder clears it midway.
    rng = random.Random(22)
    noise = [[rng.randrange(256) for _ in range(64)] for _ in range(64)]
    palette256 = [(i, (i * 3) % 256, (i * 11) % 256) for i in range(256)]
    fixture("gif/full-table.gif", gif_file((64, 64), palette256, (0, 0, 64, 64), noise),
            place((64, 64), (0, 0, 64, 64), noise, palette256))
    # The data stops after about a third of the pixels, without an end code: the rest
    # shows white. The cut is chosen where the last byte's filling bits make no code.
    indices = [i for row in grid for i in row]
    cut = 30
    while True:
        data, stray_code = lzw_encode(indices[:cut], 4, end_code=False)
        if not stray_code:
            break
        cut += 1
    rows = place((13, 7), box, grid, PALETTE16)
    for n in range(cut, 13 * 7):
        rows[n // 13][n % 13] = WHITE
    fixture("gif/data-ends-early.gif", gif_file((13, 7), PALETTE16, box, grid, data=data), rows)

    # Pillow's own encoder, interlaced since the picture is at least 16 pixels high.
    pil_grid = indexed_grid(20, 17, 16, 23)
    image = Image.new("P", (20, 17))
    image.putpalette([c for p in PALETTE16 for c in p])
    image.putdata([i for row in pil_grid for i in row])
    out = io.BytesIO()
    image.save(out, "GIF", interlace=True)
    fixture("gif/pillow-interlaced.gif", out.getvalue(), colours_of(pil_grid, PALETTE16))


# ---------------------------------------------------------------- PCX

def pcx_header(version, bits, width, height, planes, bytes_per_line):
    header = bytes([0x0A, version, 1, bits]) + struct.pack("<HHHHHH", 0, 0, width - 1, height - 1, 72, 72)
    header += b"\0" * 48 + b"\0" + bytes([planes]) + struct.pack("<HH", bytes_per_line, 1)
    return header + b"\0" * (128 - len(header))


def pcx_runs(data):
    out, i = bytearray(), 0
    while i < len(data):
        n = 1
        while i + n < len(data) and data[i + n] == data[i] and n < 63:
            n += 1
        if n > 1 or data[i] >= 0xC0:
            out += bytes([0xC0 | n, data[i]])
        else:
            out.append(data[i])
        i += n
    return bytes(out)


def make_pcx():
    grid = indexed_grid(13, 7, 16, 30)
    palette = [(i, (i * 5) % 256, 255 - i) for i in range(256)]
    image = Image.new("P", (13, 7))
    image.putpalette([c for p in palette for c in p])
    image.putdata([i * 13 for row in grid for i in row])
    out = io.BytesIO()
    image.save(out, "PCX")
    fixture("pcx/pillow-256.pcx", out.getvalue(), [[palette[i * 13] for i in row] for row in grid])
    rgb = rgb_grid(11, 6, 31)
    image = Image.new("RGB", (11, 6))
    image.putdata([p for row in rgb for p in row])
    out = io.BytesIO()
    image.save(out, "PCX")
    fixture("pcx/pillow-rgb.pcx", out.getvalue(), rgb)

    mono = indexed_grid(21, 5, 2, 32)
    lines = b"".join(pcx_runs(index_row(r, 1) + b"\0") for r in mono)  # 3 bytes a row, padded to 4
    fixture("pcx/mono-v3.pcx", pcx_header(3, 1, 21, 5, 1, 4) + lines,
            [[((0, 0, 0), WHITE)[i] for i in row] for row in mono])

    # Runs that cross the end of a line carry on into the next: 4 lines of 6 indices, runs of 9.
    small_palette = [(0, 0, 0)] * 256
    small_palette[1], small_palette[2] = (250, 10, 10), (10, 10, 250)
    data = bytes([0xC9, 1, 0xC9, 2, 0xC6, 1])
    expected = [[small_palette[i] for i in ([1] * 9 + [2] * 9 + [1] * 6)[y * 6:(y + 1) * 6]] for y in range(4)]
    fixture("pcx/runs-across-lines.pcx",
            pcx_header(5, 8, 6, 4, 1, 6) + data + b"\x0C" + b"".join(bytes(c) for c in small_palette), expected)


# ---------------------------------------------------------------- JPEG and PNG

def photo_like(width, height, seed_value):
    """Smooth gradients with some noise, as a photograph has."""
    rng = random.Random(seed_value)
    return [[(int(255 * x / width) ^ rng.randrange(16), int(255 * y / height), (x * y) % 256)
             for x in range(width)] for y in range(height)]


def make_jpegs():
    rows = photo_like(37, 23, 40)
    image = Image.new("RGB", (37, 23))
    image.putdata([p for row in rows for p in row])
    for name, options in (("colour-420", {"quality": 85}),
                          ("colour-444", {"quality": 95, "subsampling": 0}),
                          ("progressive", {"quality": 80, "progressive": True})):
        out = io.BytesIO()
        image.save(out, "JPEG", **options)
        write(f"jpeg/{name}.jpg", out.getvalue())
    out = io.BytesIO()
    image.convert("L").save(out, "JPEG", quality=90)
    write("jpeg/grey.jpg", out.getvalue())
    # Four flat quarters in CMYK: cyan, magenta, yellow, and 50% black. Pillow writes Adobe's
    # inverted CMYK, the usual kind.
    cmyk = Image.new("CMYK", (16, 16))
    for y in range(16):
        for x in range(16):
            cmyk.putpixel((x, y), [(255, 0, 0, 0), (0, 255, 0, 0), (0, 0, 255, 0), (0, 0, 0, 128)][(y // 8) * 2 + x // 8])
    out = io.BytesIO()
    cmyk.save(out, "JPEG", quality=100)
    write("jpeg/cmyk.jpg", out.getvalue())


def make_pngs():
    rng = random.Random(50)
    rgba = [[(rng.randrange(256), rng.randrange(256), rng.randrange(256), rng.choice([0, 1, 100, 254, 255]))
             for _ in range(9)] for _ in range(5)]
    image = Image.new("RGBA", (9, 5))
    image.putdata([p for row in rgba for p in row])
    out = io.BytesIO()
    image.save(out, "PNG")
    fixture("png/rgba.png", out.getvalue(), [[over_white(*p) for p in row] for row in rgba])
    # ImageMagick writes the same pixels interlaced (Adam7).
    interlaced = subprocess.run(["/usr/bin/convert", "png:-", "-interlace", "PNG", "png32:-"],
                                input=out.getvalue(), capture_output=True, check=True).stdout
    fixture("png/rgba-interlaced.png", interlaced, [[over_white(*p) for p in row] for row in rgba])

    grid = indexed_grid(11, 4, 4, 51)
    palette = [(200, 0, 0), (0, 200, 0), (0, 0, 200), (90, 90, 90)]
    image = Image.new("P", (11, 4))
    image.putpalette([c for p in palette for c in p])
    image.putdata([i for row in grid for i in row])
    out = io.BytesIO()
    image.save(out, "PNG", bits=2, transparency=bytes([255, 0, 128, 255]))
    alphas = [255, 0, 128, 255]
    fixture("png/palette-2bits-trns.png", out.getvalue(),
            [[over_white(*palette[i], alphas[i]) for i in row] for row in grid])

    grey = [[rng.randrange(256) for _ in range(10)] for _ in range(3)]
    image = Image.new("I;16", (10, 3))
    image.putdata([g * 257 for row in grey for g in row])
    out = io.BytesIO()
    image.save(out, "PNG")
    fixture("png/grey-16bits.png", out.getvalue(), [[(g, g, g) for g in row] for row in grey])

    image = Image.new("1", (13, 2))
    bits = [[rng.randrange(2) for _ in range(13)] for _ in range(2)]
    image.putdata([b * 255 for row in bits for b in row])
    out = io.BytesIO()
    image.save(out, "PNG")
    fixture("png/grey-1bit.png", out.getvalue(), [[(255, 255, 255) if b else (0, 0, 0) for b in row] for row in bits])


# ---------------------------------------------------------------- damaged files

def make_damaged():
    """Files that must give no picture, each wrong in one way its name says."""
    grid = indexed_grid(13, 7, 16, 20)
    box = (0, 0, 13, 7)
    # With 16 colours: clear 16, end 17, first free code 18, codes 5 bits wide.
    write("damaged/gif-first-code-not-literal.gif",
          gif_file((13, 7), PALETTE16, box, grid, data=pack_codes([(16, 5), (18, 5), (17, 5)])))
    write("damaged/gif-code-past-table.gif",
          gif_file((13, 7), PALETTE16, box, grid, data=pack_codes([(16, 5), (3, 5), (19, 5), (17, 5)])))
    write("damaged/gif-no-colour-table.gif", gif_file((13, 7), None, box, grid, min_code_size=4))
    write("damaged/gif-huge-image-on-small-screen.gif",
          gif_file((13, 7), PALETTE16, (0, 0, 65535, 65535), grid, data=pack_codes([(16, 5), (17, 5)])))
    write("damaged/gif-zero-screen.gif", gif_file((0, 7), PALETTE16, box, grid))
    write("damaged/gif-code-size-12.gif", gif_file((13, 7), PALETTE16, box, grid, min_code_size=12, data=b"\0"))
    plain = gif_file((13, 7), PALETTE16, box, grid)
    trailer_first = plain[:13 + 48] + b"\x3B" + plain[13 + 48:]
    write("damaged/gif-trailer-before-image.gif", trailer_first)
    write("damaged/gif-cut-in-colour-table.gif", plain[:40])

    rgb = rgb_grid(11, 6, 3)
    bgr_rows = [b"".join(bytes((b, g, r)) for r, g, b in row) for row in rgb]
    good24 = bmp_file(info_header(11, 6, 24), b"", pack_rows(bgr_rows, False))
    write("damaged/bmp-pixels-one-byte-short.bmp", good24[:-3 - 1])  # the last row has 3 bytes of padding
    write("damaged/bmp-data-offset-past-end.bmp", good24[:10] + struct.pack("<I", len(good24) + 1) + good24[14:])
    write("damaged/bmp-data-offset-inside-header.bmp", good24[:10] + struct.pack("<I", 30) + good24[14:])
    for name, header in (("width-zero", info_header(0, 6, 24)), ("width-negative", info_header(-11, 6, 24)),
                         ("height-zero", info_header(11, 0, 24)), ("height-most-negative", info_header(11, -2**31, 24)),
                         ("bits-7", info_header(11, 6, 7)), ("compression-9", info_header(11, 6, 24, compression=9)),
                         ("header-size-41", info_header(11, 6, 24)[:0] + struct.pack("<I", 41) + info_header(11, 6, 24)[4:] + b"\0")):
        write(f"damaged/bmp-{name}.bmp", bmp_file(header, b"", pack_rows(bgr_rows, False)))
    planes2 = bytearray(info_header(11, 6, 24))
    planes2[12] = 2
    write("damaged/bmp-planes-2.bmp", bmp_file(bytes(planes2), b"", pack_rows(bgr_rows, False)))
    grid16 = indexed_grid(13, 7, 16, 2)
    # Colour count 0 asks for 256 entries, far more than the file holds.
    write("damaged/bmp-table-longer-than-file.bmp",
          bmp_file(info_header(13, 7, 8), quad_table(PALETTE16), b"", data_offset=14 + 40 + 64))
    write("damaged/bmp-mask-with-gap.bmp",
          bmp_file(info_header(2, 1, 16, compression=3), struct.pack("<III", 0xF00F, 0x07E0, 0x001F), b"\0" * 4))
    write("damaged/bmp-rle-top-down.bmp",
          bmp_file(info_header(8, -4, 8, compression=1), quad_table(PALETTE16), bytes([8, 1, 0, 1])))
    write("damaged/bmp-file-header-only.bmp", good24[:14])

    pcx = open(os.path.join(ROOT, "pcx/pillow-256.pcx"), "rb").read()
    write("damaged/pcx-no-palette-marker.pcx", pcx[:-769] + b"\x0B" + pcx[-768:])
    write("damaged/pcx-line-shorter-than-width.pcx", pcx[:66] + struct.pack("<H", 12) + pcx[68:])
    write("damaged/pcx-end-before-start.pcx", pcx[:4] + struct.pack("<HHHH", 5, 0, 4, 6) + pcx[12:])
    write("damaged/pcx-two-planes.pcx", pcx[:65] + b"\x02" + pcx[66:])
    write("damaged/pcx-header-cut.pcx", pcx[:100])

    icon = open(os.path.join(ROOT, "icon/mask-4bits.ico"), "rb").read()
    write("damaged/icon-image-past-end.ico", icon[:18] + struct.pack("<I", len(icon)) + icon[22:])
    write("damaged/icon-size-past-end.ico", icon[:14] + struct.pack("<I", len(icon)) + icon[18:])
    write("damaged/icon-directory-cut.ico", struct.pack("<HHH", 0, 1, 3) + icon[6:22])
    # A stored height of 1 leaves no row for the colours once halved.
    one_row = bytearray(icon_bitmap_image([[1, 2]], 4, PALETTE16, [[0, 0]]))
    one_row[8] = 1
    write("damaged/icon-half-height-zero.ico", icon_file(1, [(2, 1, 16, bytes(one_row))]))
    write("damaged/icon-colour-rows-cut.ico", icon_file(1, [(20, 9, 16, icon[22:22 + 40 + 64 + 30])]))


# ---------------------------------------------------------------- seeds

def make_seeds():
    shutil.rmtree(CORPUS, ignore_errors=True)
    groups = {"bmp": ["bmp"], "jpeg": ["jpeg"], "icon": ["icon", "cursor"], "gif": ["gif"], "pcx": ["pcx"],
              "png": ["png"], "bitmap_loader": ["bmp", "bitmap-loader"], "decode_picture": ["damaged"]}
    everything = []
    for target, folders in groups.items():
        for folder in folders:
            for name in sorted(os.listdir(os.path.join(ROOT, folder))):
                if not name.endswith(".ppm"):
                    seed(target, f"{folder}/{name}")
                    everything.append(f"{folder}/{name}")
    for relative in sorted(set(everything)):
        seed("decode_picture", relative)


if __name__ == "__main__":
    make_bitmaps()
    make_loader_only_bitmaps()
    make_icons()
    make_gifs()
    make_pcx()
    make_jpegs()
    make_pngs()
    make_damaged()
    make_seeds()
