#!/usr/bin/python3
"""Draws Tessarin's window icon and its two button pictures into this folder.

    /usr/bin/python3 resources/draw_pictures.py

tessarin.ico       the window icon, eleven images: 32 px in 2 colours; 48, 32, 16 px in
                   16 colours; the same three in 256 colours; 128, 48, 32, 16 px in 32-bit
                   colour with alpha. A green disc with a white tree (a triangular crown on
                   a short trunk) casting a long diagonal shadow.
open_picture.bmp   45 x 45, 24-bit: an open yellow folder with a green arrow curving up out
                   of it.
make_workbook.bmp  45 x 45, 24-bit: a green spreadsheet document, a large X tile on its left,
                   a green grid on its right and the word "excel" along its top.

Every picture is drawn four or more times larger and scaled down, so edges are smooth.
The icon container is written here byte by byte, so each image has exactly its bit depth.
Needs python3-pil and fonts-wqy-zenhei (both installed by scripts/setup).
"""

import math
import pathlib
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFont

HERE = pathlib.Path(__file__).resolve().parent
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"

# The button face the 24-bit button pictures sit on.
BUTTON_FACE = (239, 239, 239)


# ---------------------------------------------------------------- the icon picture

ICON_CANVAS = 512
DISC_GREEN = (46, 163, 79)
SHADOW_GREEN = (27, 112, 52)
TREE_WHITE = (255, 255, 255)


def tree_mask(size):
    """The tree: a triangular crown on a short trunk, a little left of and above centre."""
    mask = Image.new("L", (size, size), 0)
    draw = ImageDraw.Draw(mask)
    s = size / 512
    draw.polygon([(244 * s, 86 * s), (134 * s, 316 * s), (354 * s, 316 * s)], fill=255)
    draw.rectangle([220 * s, 310 * s, 268 * s, 390 * s], fill=255)
    return mask


def long_shadow(mask, length):
    """The shape dragged diagonally down and to the right by up to length pixels."""
    shadow = mask.copy()
    for step in range(2, length, 2):
        shadow = ImageChops.lighter(shadow, ImageChops.offset(mask, step, step))
    return shadow


def icon_master():
    """The icon at ICON_CANVAS pixels square, RGBA on a transparent background."""
    size = ICON_CANVAS
    disc = Image.new("L", (size, size), 0)
    ImageDraw.Draw(disc).ellipse([8, 8, size - 9, size - 9], fill=255)
    tree = tree_mask(size)
    # ImageChops.offset wraps around; pad first so nothing wraps back in.
    padded = Image.new("L", (size * 2, size * 2), 0)
    padded.paste(tree, (0, 0))
    shadow = long_shadow(padded, size).crop((0, 0, size, size))
    shadow = ImageChops.multiply(shadow, disc)

    picture = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    picture.paste(DISC_GREEN + (255,), (0, 0), disc)
    picture.paste(SHADOW_GREEN + (255,), (0, 0), shadow)
    picture.paste(TREE_WHITE + (255,), (0, 0), tree)
    return picture


# ---------------------------------------------------------------- the icon container

def row_bytes(bits_per_row):
    """Bitmap rows are padded to whole 32-bit words."""
    return (bits_per_row + 31) // 32 * 4


def and_mask(alpha):
    """The 1-bit transparency mask, bottom row first: 1 where the picture is transparent."""
    width, height = alpha.size
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray(row_bytes(width))
        for x in range(width):
            if alpha.getpixel((x, y)) < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        data += row
    return bytes(data)


def packed_indices(indices, bits):
    """Palette indices packed bits to a pixel, bottom row first."""
    width, height = indices.size
    data = bytearray()
    per_byte = 8 // bits
    for y in reversed(range(height)):
        row = bytearray(row_bytes(width * bits))
        for x in range(width):
            shift = 8 - bits * (x % per_byte + 1)
            row[x // per_byte] |= indices.getpixel((x, y)) << shift
        data += row
    return bytes(data)


def bitmap_header(width, height, bits, image_size, colours_used):
    # The height counts the colour bitmap and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, image_size,
                       0, 0, colours_used, 0)


def paletted_image(picture, palette, indices, bits):
    """An icon image of 1, 4 or 8 bits per pixel over its own palette."""
    width, height = picture.size
    count = 1 << bits
    palette = list(palette)[:count]
    palette += [(0, 0, 0)] * (count - len(palette))
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pixels = packed_indices(indices, bits)
    mask = and_mask(picture.getchannel("A"))
    return (bitmap_header(width, height, bits, len(pixels) + len(mask), 0)
            + colour_table + pixels + mask)


def true_colour_image(picture):
    """An icon image of 32 bits per pixel, blue, green, red, alpha, bottom row first."""
    width, height = picture.size
    pixels = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b, a = picture.getpixel((x, y))
            pixels += bytes((b, g, r, a))
    mask = and_mask(picture.getchannel("A"))
    return bitmap_header(width, height, 32, len(pixels) + len(mask), 0) + bytes(pixels) + mask


def scaled(master, size):
    return master.resize((size, size), Image.Resampling.LANCZOS)


def opaque_rgb(picture, background):
    """The picture's colours with transparent pixels set to background."""
    flat = Image.new("RGB", picture.size, background)
    flat.paste(picture.convert("RGB"), (0, 0), picture.getchannel("A").point(
        lambda a: 255 if a >= 128 else 0))
    return flat


def two_colour_icon(master, size):
    """Black disc, white tree: the classic monochrome icon."""
    picture = scaled(master, size)
    luma = picture.convert("L")
    indices = luma.point(lambda v: 1 if v >= 200 else 0)
    return paletted_image(picture, [(0, 0, 0), (255, 255, 255)], indices, 1)


def reduced_colour_icon(master, size, colours, bits):
    """The picture over a palette of its own, chosen for its colours."""
    picture = scaled(master, size)
    flat = opaque_rgb(picture, DISC_GREEN)
    quantised = flat.quantize(colors=colours, method=Image.Quantize.MEDIANCUT,
                              dither=Image.Dither.NONE)
    raw = quantised.getpalette()[: colours * 3]
    palette = [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]
    return paletted_image(picture, palette, quantised, bits)


def write_icon(path, images):
    """images: (width, height, bits, colour count or 0, image bytes), in file order."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory = b""
    for width, height, bits, colour_count, data in images:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, colour_count, 0,
                                 1, bits, len(data), offset)
        offset += len(data)
    path.write_bytes(header + directory + b"".join(image[4] for image in images))


def draw_icon():
    master = icon_master()
    images = [(32, 32, 1, 2, two_colour_icon(master, 32))]
    for colours, bits in ((16, 4), (256, 8)):
        for size in (48, 32, 16):
            images.append((size, size, bits, colours % 256,
                           reduced_colour_icon(master, size, colours, bits)))
    for size in (128, 48, 32, 16):
        picture = scaled(master, size)
        images.append((size, size, 32, 0, true_colour_image(picture)))
        # The same image for the desktop's icon theme, one PNG per size.
        folder = HERE / "hicolor" / f"{size}x{size}"
        folder.mkdir(parents=True, exist_ok=True)
        picture.save(folder / "tessarin.png", format="PNG")
    write_icon(HERE / "tessarin.ico", images)


# ---------------------------------------------------------------- the button pictures

BUTTON = 45
SCALE = 4
OUTLINE = 5  # line width at the drawing scale


def button_canvas():
    size = BUTTON * SCALE
    picture = Image.new("RGB", (size, size), BUTTON_FACE)
    return picture, ImageDraw.Draw(picture)


def save_button(picture, name):
    picture.resize((BUTTON, BUTTON), Image.Resampling.LANCZOS).save(HERE / name, format="BMP")


def curved_arrow(draw, centre, radius, start, end, width, colour, edge):
    """An arc from angle start to end (degrees, clockwise from 3 o'clock) with a head."""
    cx, cy = centre
    box = [cx - radius, cy - radius, cx + radius, cy + radius]
    draw.arc(box, start, end, fill=edge, width=width + 6)
    draw.arc(box, start, end, fill=colour, width=width)
    angle = math.radians(end)
    tip_base = (cx + radius * math.cos(angle), cy + radius * math.sin(angle))
    forward = (-math.sin(angle), math.cos(angle))
    side = (math.cos(angle), math.sin(angle))
    reach, spread = 30, 26
    head = [
        (tip_base[0] + forward[0] * reach, tip_base[1] + forward[1] * reach),
        (tip_base[0] + side[0] * spread, tip_base[1] + side[1] * spread),
        (tip_base[0] - side[0] * spread, tip_base[1] - side[1] * spread),
    ]
    draw.polygon(head, fill=colour, outline=edge, width=3)


def draw_open_button():
    picture, draw = button_canvas()
    back, front, edge = (222, 164, 30), (255, 208, 72), (150, 100, 12)
    # The folder's back with its tab.
    draw.polygon([(14, 52), (66, 52), (78, 66), (150, 66), (150, 160), (14, 160)],
                 fill=back, outline=edge, width=OUTLINE)
    # The arrow rises from inside the folder, curving up and to the right.
    curved_arrow(draw, (152, 132), 74, 178, 252, 16, (40, 170, 60), (18, 100, 34))
    # The open front flap, tilted forward, hides the arrow's foot.
    draw.polygon([(12, 162), (146, 162), (172, 100), (40, 100)],
                 fill=front, outline=edge, width=OUTLINE)
    save_button(picture, "open_picture.bmp")


def draw_make_button():
    picture, draw = button_canvas()
    green, dark, light = (33, 140, 70), (16, 96, 46), (255, 255, 255)
    # The document with its green title band carrying the word.
    draw.rectangle([52, 14, 170, 166], fill=light, outline=green, width=OUTLINE)
    draw.rectangle([52, 14, 170, 52], fill=green)
    font = ImageFont.truetype(FONT, 34)
    draw.text((111, 33), "excel", font=font, fill=light, anchor="mm",
              stroke_width=1, stroke_fill=light)
    # The grid on the right.
    left, top, right, bottom = 98, 60, 162, 158
    for x in range(left, right + 1, 32):
        draw.line([(x, top), (x, bottom)], fill=green, width=4)
    for y in range(top, bottom + 1, 24):
        draw.line([(left, y), (right, y)], fill=green, width=4)
    # The large X tile over the document's left side.
    draw.rounded_rectangle([10, 62, 104, 156], radius=8, fill=dark, outline=(8, 64, 30),
                           width=3)
    draw.line([(30, 82), (84, 136)], fill=light, width=16)
    draw.line([(84, 82), (30, 136)], fill=light, width=16)
    save_button(picture, "make_workbook.bmp")


if __name__ == "__main__":
    draw_icon()
    draw_open_button()
    draw_make_button()
