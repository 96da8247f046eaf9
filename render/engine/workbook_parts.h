#pragma once

#include <ctime>
#include <string_view>

#include "render/engine/fill_palette.h"
#include "render/engine/sheet_content.h"
#include "render/engine/xml_buffer.h"

// The parts of a one-sheet Office Open XML workbook, each as its text.

XmlBuffer ContentTypesPart();
XmlBuffer PackageRelationshipsPart();
XmlBuffer WorkbookRelationshipsPart();
XmlBuffer WorkbookPart(std::string_view sheetName);
// One solid fill and one cell format per palette colour; cell format k uses fill k + 1,
// after the two fills every workbook reserves.
XmlBuffer StylesPart(const FillPalette& palette);
// One cell per filled cell, styled with its fill's cell format; the sheet's row height
// on every row and its column width on every column.
XmlBuffer WorksheetPart(const SheetContent& sheet, const FillPalette& palette);
XmlBuffer CorePropertiesPart(std::time_t created);
XmlBuffer AppPropertiesPart(std::string_view sheetName);

// The width a column of `characters` width is stored with: Excel keeps the width in
// pixels of the default font's digits (7 pixels wide at 11 points) and stores it in 256ths
// of a digit. Below 1 character the padding shrinks with the width, so 0.08 is 1 pixel.
double StoredColumnWidth(double characters);
