#!/usr/bin/python3
"""The picture the end-to-end test paints on, and the check of the workbook made from it.

    painted_picture.py make PATH
        Writes the 64 x 48 test picture as a 24-bit Windows bitmap.
    painted_picture.py colour X Y
        Prints the picture's colour at (X, Y) as #RRGGBB.
    painted_picture.py check WORKBOOK PEN STROKE_Y STROKE_X0 STROKE_X1 STEP TEXT_X TEXT_Y
        Checks with openpyxl that the workbook has one cell per pixel, that the cells near
        every point of the pen stroke (moves to X0 + STEP, ..., X1 on row STROKE_Y) carry the
        pen colour PEN (RRGGBB), that the text stamped at (TEXT_X, TEXT_Y) left black cells
        there and nowhere else, and that every other cell carries the picture's colour.

Cells between 5 and 8 pixels from a pen point may show either colour: the exact shape of
the mark is the canvas's own business, tested where it is built.
"""
import struct
import sys

WIDTH, HEIGHT = 64, 48
SURELY_PAINTED = 5  # pixels from a pen point
SURELY_UNPAINTED = 8
TEXT_BOX = (40, 18)  # width and height of the region a short stamp may cover


def colour(x, y):
    """Never pure red (the pen) and never black (the text): both stand out."""
    return (40 + (x * 3) % 180, 60 + (y * 4) % 150, 200 if x < WIDTH // 2 else 110)


def make(path):
    row_size = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(HEIGHT)):
        row = bytearray()
        for x in range(WIDTH):
            red, green, blue = colour(x, y)
            row += bytes((blue, green, red))
        pixels += row + bytes(row_size - len(row))
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def hex_text(rgb):
    return "%02X%02X%02X" % rgb


def check(workbook_path, pen, stroke_y, x0, x1, step, text_x, text_y):
    import openpyxl

    with open(workbook_path, "rb") as stream:
        sheet = openpyxl.load_workbook(stream).worksheets[0]
    faults = []
    if (sheet.max_row, sheet.max_column) != (HEIGHT, WIDTH):
        faults.append("%d rows x %d columns, expected %d x %d"
                      % (sheet.max_row, sheet.max_column, HEIGHT, WIDTH))
    points = [(x, stroke_y) for x in range(x0 + step, x1 + 1, step)]
    text_cells = 0
    for y in range(HEIGHT):
        for x in range(WIDTH):
            fill = sheet.cell(row=y + 1, column=x + 1).fill
            shown = fill.fgColor.rgb[2:] if fill.patternType == "solid" else "none"
            nearest = min(((x - px) ** 2 + (y - py) ** 2) ** 0.5 for px, py in points)
            in_text_box = (text_x <= x < text_x + TEXT_BOX[0]
                           and text_y <= y < text_y + TEXT_BOX[1])
            picture = hex_text(colour(x, y))
            if nearest <= SURELY_PAINTED:
                allowed = {pen}
            elif nearest <= SURELY_UNPAINTED:
                allowed = {pen, picture}
            elif in_text_box:
                allowed = {"000000", picture}
            else:
                allowed = {picture}
            if shown not in allowed:
                faults.append("cell (%d, %d) is %s, expected %s" % (x, y, shown, " or ".join(sorted(allowed))))
            text_cells += in_text_box and shown == "000000"
    if text_cells < 10:
        faults.append("only %d black cells where the text was stamped" % text_cells)
    for fault in faults[:20]:
        print(fault)
    if faults:
        print("%d faults" % len(faults))
        return 1
    print("%d pen points and %d black text cells as expected" % (len(points), text_cells))
    return 0


def main(arguments):
    command = arguments[0]
    if command == "make":
        make(arguments[1])
        return 0
    if command == "colour":
        print("#" + hex_text(colour(int(arguments[1]), int(arguments[2]))))
        return 0
    if command == "check":
        path, pen = arguments[1], arguments[2].upper()
        return check(path, pen, *map(int, arguments[3:9]))
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
