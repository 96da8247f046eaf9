#!/usr/bin/python3
"""Writes tests/data/hostile/: crafted files that try to break the program as a whole.

Run as /usr/bin/python3 tests/data/make_hostile.py from the project root. Each file is
meant to reach the program through its open button and its command line, and the test
that sends it there (tests/hostile_file_test.cpp) compares what happens with the outcome
written next to it in hostile/outcomes.txt, one line a file:

    NAME too-large           refused: it claims more than 800 x 600 pixels
    NAME no-picture          holds no picture the program can read
    NAME picture W H         a picture of W x H pixels

The outcomes follow the rules the decoders keep: a header that lies gives no picture; a
size beyond 800 x 600 is measured from the header alone and refused; pixel data that
merely ends early still gives the full picture for the formats that stream their pixels
(JPEG, GIF, run-length bitmaps, PCX), while uncompressed bitmaps and PNG need all of it.
"""
import io
import os
import struct
import zlib

from PIL import Image

from gif_codes import pack_codes, sub_blocks

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "hostile")
outcomes = []


def write(name, data, outcome):
    with open(os.path.join(ROOT, name), "wb") as f:
        f.write(data)
    outcomes.append(f"{name} {outcome}")


def picture(width, height):
    return f"picture {width} {height}"


TOO_LARGE = "too-large"
NO_PICTURE = "no-picture"

# ---------------------------------------------------------------- bitmaps


def bmp(width, height, bits, colours=0, compression=0, pixels=b"", table=b"", data_offset=None):
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, 0, 2835, 2835, colours, 0)
    offset = 14 + 40 + len(table) if data_offset is None else data_offset
    body = header + table + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def grey_table(count):
    return b"".join(bytes((i, i, i, 0)) for i in range(count))


def make_bitmaps():
    # 16 x 8, 8 bits with a full table: file header 14, info header 40, table 1024, pixels 128.
    pixels = bytes((x * 16 + y) & 0xFF for y in range(8) for x in range(16))
    whole = bmp(16, 8, 8, pixels=pixels, table=grey_table(256))
    for name, keep in (("after-file-header", 14), ("in-info-header", 30), ("after-info-header", 54),
                       ("in-colour-table", 54 + 512), ("after-colour-table", 54 + 1024),
                       ("in-pixels", 54 + 1024 + 64), ("one-byte-short", len(whole) - 1)):
        write(f"bmp-cut-{name}.bmp", whole[:keep], NO_PICTURE)
    # Run-length pixels stream: cut after the first of eight runs, the picture keeps its size.
    runs = b"".join(bytes((16, y * 30)) + b"\0\0" for y in range(8)) + b"\0\1"
    rle = bmp(16, 8, 8, compression=1, pixels=runs, table=grey_table(256))
    write("bmp-rle8-cut-in-runs.bmp", rle[:14 + 40 + 1024 + 4], picture(16, 8))
    # Runs far longer than the row and a delta that jumps past the picture's corner.
    overflow = bytes((255, 7)) * 64 + b"\0\2\xff\xff" + bytes((255, 9)) * 64 + b"\0\1"
    write("bmp-rle8-runs-overflow.bmp", bmp(16, 8, 8, compression=1, pixels=overflow, table=grey_table(256)),
          picture(16, 8))

    write("bmp-width-zero.bmp", bmp(0, 8, 24, pixels=b"\0" * 64), NO_PICTURE)
    write("bmp-height-zero.bmp", bmp(16, 0, 24, pixels=b"\0" * 64), NO_PICTURE)
    # Uncompressed pixels of 65535 x 65535 would be 12 GB: the file plainly does not hold them.
    write("bmp-65535x65535-uncompressed.bmp", bmp(65535, 65535, 24, pixels=b"\0" * 64), NO_PICTURE)
    # A decompression bomb: run-length data may be any length, so the header's size counts.
    write("bmp-65535x65535-rle8-bomb.bmp",
          bmp(65535, 65535, 8, compression=1, pixels=bytes((255, 1)) * 4096 + b"\0\1", table=grey_table(256)),
          TOO_LARGE)
    write("bmp-width-2147483647.bmp", bmp(2**31 - 1, 1, 8, colours=2, compression=1, pixels=b"\0\1", table=grey_table(2)),
          TOO_LARGE)
    # A colour count past what 8 bits can index: the table is taken at its largest, 256.
    write("bmp-colour-count-4294967295.bmp", bmp(16, 8, 8, colours=2**32 - 1, pixels=pixels, table=grey_table(256)),
          picture(16, 8))
    write("bmp-data-offset-4294967295.bmp", bmp(16, 8, 8, pixels=pixels, table=grey_table(256), data_offset=2**32 - 1),
          NO_PICTURE)


# ---------------------------------------------------------------- JPEG


def jpeg_segments(data):
    """(marker, start, end) of each segment up to and including the first scan's header."""
    at, found = 2, []
    while at < len(data):
        marker = data[at + 1]
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        found.append((marker, at, at + 2 + length))
        at += 2 + length
        if marker == 0xDA:
            break
    return found


def photo(width, height):
    image = Image.new("RGB", (width, height))
    image.putdata([(x * 255 // width, y * 255 // height, (x * y) & 0xFF) for y in range(height) for x in range(width)])
    return image


def jpeg_bytes(image, **options):
    out = io.BytesIO()
    image.save(out, "JPEG", **options)
    return out.getvalue()


def with_sof_size(data, width, height):
    for marker, start, _ in jpeg_segments(data):
        if marker in (0xC0, 0xC1, 0xC2):
            return data[:start + 5] + struct.pack(">HH", height, width) + data[start + 9:]
    raise ValueError("no frame header")


def make_jpegs():
    whole = jpeg_bytes(photo(40, 24), quality=90)
    names = {0xE0: "app0", 0xDB: "quantisation-table", 0xC0: "frame-header", 0xC4: "huffman-table"}
    seen = set()
    for marker, _, end in jpeg_segments(whole):
        if marker == 0xDA:
            break
        name = names[marker]
        if name not in seen:  # after the first segment of each kind: the decoder meets no scan
            seen.add(name)
            write(f"jpeg-cut-after-{name}.jpg", whole[:end], NO_PICTURE)
    scan_start = jpeg_segments(whole)[-1][2]
    write("jpeg-cut-after-soi.jpg", whole[:2], NO_PICTURE)
    write("jpeg-cut-after-scan-header.jpg", whole[:scan_start], picture(40, 24))
    write("jpeg-cut-in-scan.jpg", whole[:(scan_start + len(whole)) // 2], picture(40, 24))
    write("jpeg-no-end-marker.jpg", whole[:-2], picture(40, 24))

    # libjpeg takes sides up to 65500: larger ones are no JPEG it can read.
    write("jpeg-65500x65500.jpg", with_sof_size(whole, 65500, 65500), TOO_LARGE)
    write("jpeg-65535x65535.jpg", with_sof_size(whole, 65535, 65535), NO_PICTURE)
    write("jpeg-width-zero.jpg", with_sof_size(whole, 0, 24), NO_PICTURE)
    # A segment that claims 65533 bytes more than the file holds: the data runs out in it.
    app = b"\xff\xe1\xff\xff" + b"Exif\0\0"
    write("jpeg-segment-past-end.jpg", whole[:2] + app, NO_PICTURE)

    cmyk = Image.new("CMYK", (24, 16))
    cmyk.putdata([(x * 10, y * 15, 255 - x * 10, 40) for y in range(16) for x in range(24)])
    cmyk_bytes = jpeg_bytes(cmyk, quality=90)
    write("jpeg-4-components-cmyk.jpg", cmyk_bytes, picture(24, 16))
    # The same four components marked as YCCK by Adobe's transform flag.
    adobe = cmyk_bytes.find(b"Adobe")
    ycck = bytearray(cmyk_bytes)
    ycck[adobe + 11] = 2
    write("jpeg-4-components-ycck.jpg", bytes(ycck), picture(24, 16))
    # The 16-bit component count of a frame header says 4 where only one component follows.
    grey = jpeg_bytes(photo(24, 16).convert("L"), quality=90)
    sof = next(start for marker, start, _ in jpeg_segments(grey) if marker == 0xC0)
    write("jpeg-4-components-claimed-1-given.jpg", grey[:sof + 9] + b"\x04" + grey[sof + 10:], NO_PICTURE)

    # A progressive file with 5000 more scans: a first pass over the high frequencies, again
    # and again. libjpeg takes each for a damaged progression it warns about and decodes
    # anyway, a full pass over the 800 x 600 picture each time.
    progressive = jpeg_bytes(photo(800, 600).convert("L"), quality=20, progressive=True)
    scans = [at for at in range(len(progressive) - 1) if progressive[at:at + 2] == b"\xff\xda"]
    start, end = next((a, b) for a, b in zip(scans, scans[1:]) if progressive[a + 7] > 0 and progressive[a + 9] >> 4 == 0)
    write("jpeg-endless-scans.jpg", progressive[:-2] + progressive[start:end] * 5000 + b"\xff\xd9", NO_PICTURE)


# ---------------------------------------------------------------- GIF


def same_width_codes(codes, width):
    return pack_codes([(code, width) for code in codes])


def growing_runs(min_code_size, count):
    """A clear code, a literal, then `count` codes each naming the string before it plus one
    more pixel of the same colour: runs of 1, 2, 3 ... pixels, code widths growing as the
    table does."""
    clear = 1 << min_code_size
    width, next_code = min_code_size + 1, clear + 2
    codes = [(clear, width), (3, width)]
    for code in range(next_code, next_code + count):
        codes.append((code, width))
        next_code += 1
        if next_code == 1 << width and width < 12:
            width += 1
    return pack_codes(codes)


def gif(screen, image_box, data, table_entries=16, min_code_size=4, terminate=True):
    table = b"".join(bytes((i * 16, 255 - i * 16, 80)) for i in range(table_entries))
    out = b"GIF89a" + struct.pack("<HH", *screen) + bytes([0xF0 | (table_entries.bit_length() - 2), 0, 0]) + table
    out += b"\x2C" + struct.pack("<HHHH", *image_box) + b"\0" + bytes([min_code_size])
    out += sub_blocks(data) if terminate else b"".join(
        bytes([255]) + data[i:i + 255] for i in range(0, len(data) - 254, 255))
    return out + (b"\x3B" if terminate else b"")


def make_gifs():
    # 16 colours: clear 16, end 17. Codes stay 5 bits wide while at most 14 follow each clear
    # (the table then ends at code 31), so every stream here is packed 5 bits a code.
    literals = same_width_codes([16] + [i % 16 for i in range(12)] + [17], 5)
    whole = gif((12, 1), (0, 0, 12, 1), literals)
    for name, keep in (("after-signature", 6), ("after-screen", 13), ("in-colour-table", 13 + 24),
                       ("after-colour-table", 13 + 48), ("in-image-descriptor", 13 + 48 + 5)):
        write(f"gif-cut-{name}.gif", whole[:keep], NO_PICTURE)
    write("gif-cut-in-image-data.gif", whole[:13 + 48 + 10 + 1 + 4], picture(12, 1))
    write("gif-no-trailer.gif", whole[:-1], picture(12, 1))

    # The LZW stream never ends: nothing but clear codes, 300 kB of them, with no end
    # code and no pixel. Then a stream that goes on long past the image's last pixel.
    write("gif-lzw-endless-clear-codes.gif", gif((40, 30), (0, 0, 40, 30), same_width_codes([16] * 500_000, 5)),
          picture(40, 30))
    write("gif-lzw-past-last-pixel.gif",
          gif((40, 30), (0, 0, 40, 30), same_width_codes(([16] + [3] * 14) * 20_000, 5)), picture(40, 30))
    # Data sub-blocks that never reach their terminating empty block: the file ends first.
    write("gif-sub-blocks-never-terminated.gif",
          gif((40, 30), (0, 0, 40, 30), same_width_codes(([16] + [5] * 14) * 4_000, 5), terminate=False), picture(40, 30))

    write("gif-65535x65535-screen.gif", gif((65535, 65535), (0, 0, 12, 1), literals), TOO_LARGE)
    # An 800 x 600 screen whose image claims 65535 x 65535, fed endless literals.
    write("gif-65535x65535-image-on-screen.gif",
          gif((800, 600), (0, 0, 65535, 65535), same_width_codes(([16] + [7] * 14) * 10_000, 5)), NO_PICTURE)
    # A 40 x 30 screen whose image claims 3200 x 2400, sixteen times the largest picture,
    # filled by 6 kB of codes that each stand for one pixel more than the one before.
    write("gif-image-16-times-largest-picture.gif", gif((40, 30), (0, 0, 3200, 2400), growing_runs(4, 4078)),
          picture(40, 30))
    write("gif-zero-screen.gif", gif((0, 0), (0, 0, 12, 1), literals), NO_PICTURE)
    # The global table flag says 256 colours; the file ends after the first few of them.
    write("gif-colour-table-past-end.gif", b"GIF89a" + struct.pack("<HH", 12, 1) + b"\xF7\0\0" + b"\x10" * 30,
          NO_PICTURE)
    # Extensions without end before the image: twenty thousand empty comments.
    many = b"GIF89a" + struct.pack("<HH", 12, 1) + whole[10:13 + 48] + b"\x21\xFE\0" * 20_000 + whole[13 + 48:]
    write("gif-twenty-thousand-extensions.gif", many, picture(12, 1))


# ---------------------------------------------------------------- PCX


def pcx_header(width, height, bits=8, planes=1, bytes_per_line=None, version=5):
    if bytes_per_line is None:
        bytes_per_line = (width * bits + 7) // 8
    header = bytes([0x0A, version, 1, bits]) + struct.pack("<HHHHHH", 0, 0, width - 1, height - 1, 72, 72)
    header += b"\0" * 48 + b"\0" + bytes([planes]) + struct.pack("<HH", bytes_per_line, 1)
    return header + b"\0" * (128 - len(header))


PCX_PALETTE = b"\x0C" + b"".join(bytes((i, 255 - i, i // 2)) for i in range(256))


def make_pcx():
    runs = b"".join(bytes((0xC0 | 16, y * 20)) for y in range(8))
    whole = pcx_header(16, 8) + runs + PCX_PALETTE
    write("pcx-cut-in-header.pcx", whole[:64], NO_PICTURE)
    write("pcx-cut-after-header.pcx", whole[:128], NO_PICTURE)
    # The 256-colour table sits at the end: a file cut anywhere has lost it.
    write("pcx-cut-in-runs.pcx", whole[:128 + 6], NO_PICTURE)
    write("pcx-cut-in-palette.pcx", whole[:-100], NO_PICTURE)
    mono = pcx_header(16, 8, bits=1, version=3) + bytes((0xC0 | 2, 0xAA)) * 8
    write("pcx-mono-cut-in-runs.pcx", mono[:128 + 6], picture(16, 8))

    # Runs of 63 that overflow every row and go on long past the picture's last line.
    write("pcx-runs-overflow-rows.pcx", pcx_header(10, 6) + bytes((0xFF, 0x55)) * 10_000 + PCX_PALETTE,
          picture(10, 6))
    write("pcx-mono-runs-overflow-rows.pcx", pcx_header(10, 6, bits=1, version=3) + bytes((0xFF, 0x0F)) * 10_000,
          picture(10, 6))
    write("pcx-65535x65535-bomb.pcx", pcx_header(65535, 65535) + bytes((0xFF, 1)) * 4096 + PCX_PALETTE, TOO_LARGE)
    write("pcx-bytes-per-line-zero.pcx", pcx_header(16, 8, bytes_per_line=0) + runs + PCX_PALETTE, NO_PICTURE)
    # A line of 65535 bytes for a picture 16 pixels wide: held once, and the runs run out early.
    write("pcx-bytes-per-line-65535.pcx", pcx_header(16, 8, bytes_per_line=65535) + runs + PCX_PALETTE,
          picture(16, 8))


# ---------------------------------------------------------------- icons and cursors


def icon_image(width, height):
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 24, 0, 0, 0, 0, 0, 0)
    stride = (width * 3 + 3) // 4 * 4
    mask_stride = (width + 31) // 32 * 4
    return header + b"\x40" * (stride * height) + b"\0" * (mask_stride * height)


def icon(kind, entries, images):
    out = struct.pack("<HHH", 0, kind, len(entries))
    for width, height, size, offset in entries:
        out += struct.pack("<BBBBHHII", width & 0xFF, height & 0xFF, 0, 0, 1, 24, size, offset)
    return out + b"".join(images)


def png_bytes(width, height, idat=None, extra_chunks=()):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    if idat is None:
        rows = (b"\0" + b"".join(bytes((x * 9 % 256, y * 20 % 256, 99)) for x in range(width)) for y in range(height))
        idat = zlib.compress(b"".join(rows))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + b"".join(chunk(k, d) for k, d in extra_chunks) +
            chunk(b"IDAT", idat) + chunk(b"IEND", b""))


def make_icons():
    image = icon_image(16, 8)
    whole = icon(1, [(16, 8, len(image), 22)], [image])
    write("ico-cut-after-directory.ico", whole[:6], NO_PICTURE)
    write("ico-cut-after-entry.ico", whole[:22], NO_PICTURE)
    write("ico-cut-after-image-header.ico", whole[:22 + 40], NO_PICTURE)
    write("ico-cut-in-mask.ico", whole[:-2], NO_PICTURE)
    write("ico-offset-past-end.ico", icon(1, [(16, 8, len(image), 0xFFFFFFF0)], [image]), NO_PICTURE)
    write("ico-size-4294967295.ico", icon(1, [(16, 8, 0xFFFFFFFF, 22)], [image]), NO_PICTURE)
    # 65535 entries announced, one given.
    write("ico-65535-entries-one-given.ico", struct.pack("<HHH", 0, 1, 65535) + whole[6:], NO_PICTURE)
    write("cur-offset-past-end.cur", icon(2, [(16, 8, len(image), len(whole))], [image]), NO_PICTURE)
    # An embedded PNG that claims 65535 x 65535 over a megabyte of deflated nothing.
    bomb = png_bytes(65535, 65535, idat=zlib.compress(b"\0" * (64 << 20), 9))
    write("ico-png-65535x65535-bomb.ico", icon(1, [(0, 0, len(bomb), 22)], [bomb]), TOO_LARGE)


# ---------------------------------------------------------------- PNG


def make_pngs():
    whole = png_bytes(20, 10)
    ihdr_end = 8 + 25
    idat_start = ihdr_end
    idat_end = len(whole) - 12
    write("png-cut-after-signature.png", whole[:8], NO_PICTURE)
    write("png-cut-in-header-chunk.png", whole[:8 + 12], NO_PICTURE)
    write("png-cut-after-header-chunk.png", whole[:ihdr_end], NO_PICTURE)
    write("png-cut-in-image-data.png", whole[:(idat_start + idat_end) // 2], NO_PICTURE)
    write("png-no-end-chunk.png", whole[:idat_end], picture(20, 10))
    # A chunk claiming two gigabytes in a file of a few dozen bytes.
    write("png-chunk-length-past-end.png", whole[:ihdr_end] + struct.pack(">I", 0x7FFFFFFF) + b"tEXt" + b"x" * 8,
          NO_PICTURE)
    # Decompression bombs: a claimed 65535 x 65535, and image data that inflates to 64 MB
    # for a picture that needs 90 kB.
    write("png-65535x65535-bomb.png", png_bytes(65535, 65535, idat=zlib.compress(b"\0" * (64 << 20), 9)), TOO_LARGE)
    write("png-image-data-bomb.png", png_bytes(200, 150, idat=zlib.compress(b"\0" * (64 << 20), 9)),
          picture(200, 150))
    # Compressed text and colour profile chunks that inflate to 64 MB each.
    bomb = zlib.compress(b"\0" * (64 << 20), 9)
    write("png-text-bomb.png", png_bytes(20, 10, extra_chunks=[(b"zTXt", b"Comment\0\0" + bomb)]), picture(20, 10))
    write("png-profile-bomb.png", png_bytes(20, 10, extra_chunks=[(b"iCCP", b"icc\0\0" + bomb)]), picture(20, 10))


# ---------------------------------------------------------------- no picture at all


def make_others():
    write("empty.jpg", b"", NO_PICTURE)
    write("five-bytes.bmp", b"BM\0\0\0", NO_PICTURE)
    write("zeros.bmp", b"\0" * 4096, NO_PICTURE)
    write("text.jpg", "这不是图片，只是一段文字。\n".encode() * 20, NO_PICTURE)


if __name__ == "__main__":
    os.makedirs(ROOT, exist_ok=True)
    for old in os.listdir(ROOT):
        os.remove(os.path.join(ROOT, old))
    make_bitmaps()
    make_jpegs()
    make_gifs()
    make_pcx()
    make_icons()
    make_pngs()
    make_others()
    with open(os.path.join(ROOT, "outcomes.txt"), "w") as f:
        f.write("".join(line + "\n" for line in sorted(outcomes)))
