#!/usr/bin/python3
"""Reads a workbook independently of Tessarin's code and prints what it holds, one fact a line.

    read_workbook.py openpyxl PATH [all | CELL...]   what openpyxl sees
    read_workbook.py parts PATH                      what the package parts say

The file is opened as a stream, so its name needs no workbook extension.
"""
import posixpath
import sys
import zipfile
import xml.etree.ElementTree as ElementTree

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
PACKAGE_RELATIONSHIPS = "{http://schemas.openxmlformats.org/package/2006/relationships}"
CONTENT_TYPES = "{http://schemas.openxmlformats.org/package/2006/content-types}"
RELATIONSHIP_ID = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id"


def flag(value):
    return "1" if value in (True, "1", "true") else "0"


def read_with_openpyxl(path, cells):
    import openpyxl

    with open(path, "rb") as stream:
        workbook = openpyxl.load_workbook(stream)
    for sheet in workbook.worksheets:
        print("sheet", sheet.title)
    sheet = workbook.worksheets[0]
    print("rows", sheet.max_row, "columns", sheet.max_column)
    sheet_format = sheet.sheet_format
    print("default-row-height", sheet_format.defaultRowHeight,
          "custom", flag(sheet_format.customHeight), "zero", flag(sheet_format.zeroHeight))
    for row in range(1, sheet.max_row + 1):
        dimension = sheet.row_dimensions[row]
        print("row", row, dimension.height, "hidden", flag(dimension.hidden))
    for dimension in sheet.column_dimensions.values():
        if dimension.customWidth or dimension.hidden:
            print("column", dimension.min, dimension.max, dimension.width,
                  "hidden", flag(dimension.hidden))
    if cells == ["all"]:
        cells = [cell.coordinate for line in sheet.iter_rows() for cell in line
                 if cell.has_style]
    for reference in cells:
        fill = sheet[reference].fill
        print("cell", reference, fill.patternType or "none",
              fill.fgColor.rgb if fill.patternType else "none")


def content_types(package):
    types = ElementTree.fromstring(package.read("[Content_Types].xml"))
    defaults = {d.get("Extension"): d.get("ContentType") for d in types.iter(CONTENT_TYPES + "Default")}
    overrides = {o.get("PartName"): o.get("ContentType") for o in types.iter(CONTENT_TYPES + "Override")}
    for name in package.namelist():
        if name == "[Content_Types].xml":
            continue
        extension = name.rsplit(".", 1)[-1]
        yield name, overrides.get("/" + name, defaults.get(extension, "unknown"))


def relationships(package, source):
    """The relationships of part `source` ("" for the package): (id, type, target part)."""
    folder, base = posixpath.split(source)
    rels_name = posixpath.join(folder, "_rels", base + ".rels")
    if rels_name not in package.namelist():
        return []
    found = []
    for rel in ElementTree.fromstring(package.read(rels_name)).iter(PACKAGE_RELATIONSHIPS + "Relationship"):
        target = posixpath.normpath(posixpath.join(folder, rel.get("Target"))).lstrip("/")
        found.append((rel.get("Id"), rel.get("Type").rsplit("/", 1)[-1], target))
    return found


def fill_text(fill):
    pattern = fill.find(MAIN + "patternFill")
    if pattern is None or pattern.get("patternType", "none") == "none":
        return "none"
    colour = pattern.find(MAIN + "fgColor")
    return pattern.get("patternType") + " " + (colour.get("rgb") if colour is not None else "none")


def read_parts(path):
    with open(path, "rb") as stream, zipfile.ZipFile(stream) as package:
        for name, content_type in content_types(package):
            print("part", name, content_type)
        workbook_name = None
        for _, kind, target in relationships(package, ""):
            print("rel", "/", kind, target)
            if kind == "officeDocument":
                workbook_name = target
        workbook_rels = {rid: (kind, target) for rid, kind, target in relationships(package, workbook_name)}
        for kind, target in sorted(workbook_rels.values()):
            print("rel", workbook_name, kind, target)
        styles_name = next(t for k, t in workbook_rels.values() if k == "styles")
        styles = ElementTree.fromstring(package.read(styles_name))
        fills = [fill_text(f) for f in styles.find(MAIN + "fills")]
        formats = [fills[int(xf.get("fillId", "0"))] for xf in styles.find(MAIN + "cellXfs")]
        print("formats", len(formats))
        workbook = ElementTree.fromstring(package.read(workbook_name))
        for sheet in workbook.find(MAIN + "sheets"):
            print("sheet", sheet.get("name"))
        first_sheet = workbook.find(MAIN + "sheets")[0]
        sheet = ElementTree.fromstring(package.read(workbook_rels[first_sheet.get(RELATIONSHIP_ID)][1]))
        print("dimension", sheet.find(MAIN + "dimension").get("ref"))
        sheet_format = sheet.find(MAIN + "sheetFormatPr")
        print("sheet-format", float(sheet_format.get("defaultRowHeight")),
              "custom", flag(sheet_format.get("customHeight")), "zero", flag(sheet_format.get("zeroHeight")))
        for column in sheet.iter(MAIN + "col"):
            print("column", column.get("min"), column.get("max"), float(column.get("width")),
                  "custom", flag(column.get("customWidth")), "hidden", flag(column.get("hidden")))
        for row in sheet.iter(MAIN + "row"):
            print("row", row.get("r"), float(row.get("ht", "nan")), "custom", flag(row.get("customHeight")),
                  "hidden", flag(row.get("hidden")))
            for cell in row.iter(MAIN + "c"):
                print("cell", cell.get("r"), formats[int(cell.get("s", "0"))])


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "openpyxl":
        read_with_openpyxl(path, sys.argv[3:])
    elif mode == "parts":
        read_parts(path)
    else:
        sys.exit("unknown mode " + mode)


if __name__ == "__main__":
    main()
