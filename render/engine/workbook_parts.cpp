#include "render/engine/workbook_parts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "canvas/colour_value.h"
#include "render/column_name.h"

namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kMainNamespace =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationshipsNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The default font's digit width in pixels (Calibri 11) and the padding around a column.
constexpr double kDigitWidth = 7;
constexpr double kColumnPadding = 5;
// The height of a row of the default font, in points, for a sheet without its own.
constexpr double kDefaultRowHeight = 15;

XmlBuffer Started() {
  XmlBuffer xml;
  xml.Append(kXmlDeclaration);
  return xml;
}

// A fixed-size piece of text copied whole in the sheet's inner loop; only `size` counts.
struct Token {
  char text[16];
  std::uint8_t size;
};

// `<c r="ADT` for each column: the start of a cell up to its row number.
std::vector<Token> CellOpenings(int columns) {
  std::vector<Token> openings(static_cast<std::size_t>(columns));
  for (int column = 1; column <= columns; ++column) {
    const std::string text = "<c r=\"" + ColumnName(column);
    Token& token = openings[static_cast<std::size_t>(column - 1)];
    std::memset(token.text, 0, sizeof token.text);
    std::memcpy(token.text, text.data(), text.size());
    token.size = static_cast<std::uint8_t>(text.size());
  }
  return openings;
}

// `" s="12"/>` for each cell format: the end of a cell after its row number.
std::vector<Token> CellClosings(std::size_t formats) {
  std::vector<Token> closings(formats);
  for (std::size_t format = 0; format < formats; ++format) {
    Token& token = closings[format];
    std::memset(token.text, 0, sizeof token.text);
    char* out = token.text;
    std::memcpy(out, "\" s=\"", 5);
    out = WriteDecimal(out + 5, format);
    std::memcpy(out, "\"/>", 3);
    token.size = static_cast<std::uint8_t>(out + 3 - token.text);
  }
  return closings;
}

// The smallest rectangle holding every filled cell, as "A1:C3"; "A1" for none.
void AppendUsedRange(XmlBuffer& xml, const SheetContent& sheet, const FillPalette& palette) {
  int firstRow = 0, lastRow = 0, firstColumn = sheet.columns + 1, lastColumn = 0;
  for (int row = 0; row < sheet.rows && !palette.cellFills.empty(); ++row) {
    const std::uint32_t* fills = palette.cellFills.data() + static_cast<std::size_t>(row) * sheet.columns;
    const std::uint32_t* end = fills + sheet.columns;
    const std::uint32_t* first = std::find_if(fills, end, [](std::uint32_t f) { return f != 0; });
    if (first == end) continue;
    const std::uint32_t* last = end;
    while (*(last - 1) == 0) --last;
    if (firstRow == 0) firstRow = row + 1;
    lastRow = row + 1;
    firstColumn = std::min(firstColumn, static_cast<int>(first - fills) + 1);
    lastColumn = std::max(lastColumn, static_cast<int>(last - fills));
  }
  if (firstRow == 0) {
    xml.Append("A1");
    return;
  }
  xml.Append(ColumnName(firstColumn));
  xml.AppendNumber(static_cast<std::uint64_t>(firstRow));
  if (firstRow != lastRow || firstColumn != lastColumn) {
    xml.Append(":");
    xml.Append(ColumnName(lastColumn));
    xml.AppendNumber(static_cast<std::uint64_t>(lastRow));
  }
}

bool RowsHidden(const SheetContent& sheet) { return sheet.rowHeight && *sheet.rowHeight <= 0; }

void AppendSheetFormat(XmlBuffer& xml, const SheetContent& sheet) {
  xml.Append("<sheetFormatPr defaultRowHeight=\"");
  if (sheet.rowHeight && !RowsHidden(sheet)) {
    xml.AppendDecimal(*sheet.rowHeight);
    xml.Append("\" customHeight=\"1\"/>");
  } else if (RowsHidden(sheet)) {
    xml.AppendDecimal(kDefaultRowHeight);
    xml.Append("\" zeroHeight=\"1\"/>");
  } else {
    xml.AppendDecimal(kDefaultRowHeight);
    xml.Append("\"/>");
  }
}

void AppendColumns(XmlBuffer& xml, const SheetContent& sheet) {
  if (!sheet.columnWidth) return;
  xml.Append("<cols><col min=\"1\" max=\"16384\" width=\"");
  const double width = StoredColumnWidth(*sheet.columnWidth);
  xml.AppendDecimal(width);
  xml.Append(width > 0 ? "\" customWidth=\"1\"/></cols>" : "\" hidden=\"1\" customWidth=\"1\"/></cols>");
}

// What follows the row number in every <row>: its height, or that it is hidden.
std::string RowAttributes(const SheetContent& sheet) {
  if (!sheet.rowHeight) return "\">";
  if (RowsHidden(sheet)) return "\" hidden=\"1\">";
  XmlBuffer height;
  height.AppendDecimal(*sheet.rowHeight);
  return "\" ht=\"" + std::string(height.view()) + "\" customHeight=\"1\">";
}

// The rows that hold a filled cell, each cell as <c r="B7" s="3"/>. The inner loop copies
// three prepared tokens per cell, which keeps 480,000 cells to a few milliseconds.
void AppendSheetData(XmlBuffer& xml, const SheetContent& sheet, const FillPalette& palette) {
  xml.Append("<sheetData>");
  if (palette.cellFills.empty()) {
    xml.Append("</sheetData>");
    return;
  }
  const std::vector<Token> openings = CellOpenings(sheet.columns);
  const std::vector<Token> closings = CellClosings(palette.colours.size() + 1);
  const std::string rowAttributes = RowAttributes(sheet);
  constexpr std::size_t kMostCellBytes = 2 * sizeof(Token) + 8;
  for (int row = 1; row <= sheet.rows; ++row) {
    const std::uint32_t* fills =
        palette.cellFills.data() + static_cast<std::size_t>(row - 1) * sheet.columns;
    if (std::all_of(fills, fills + sheet.columns, [](std::uint32_t f) { return f == 0; })) {
      continue;
    }
    char rowNumber[8] = {};
    const auto rowNumberSize = static_cast<std::size_t>(WriteDecimal(rowNumber, static_cast<std::uint64_t>(row)) - rowNumber);
    xml.Append("<row r=\"");
    xml.Append(std::string_view(rowNumber, rowNumberSize));
    xml.Append(rowAttributes);
    char* out = xml.Reserve(static_cast<std::size_t>(sheet.columns) * kMostCellBytes);
    for (int column = 0; column < sheet.columns; ++column) {
      const std::uint32_t fill = fills[column];
      if (fill == 0) continue;
      const Token& opening = openings[static_cast<std::size_t>(column)];
      std::memcpy(out, opening.text, sizeof opening.text);
      out += opening.size;
      std::memcpy(out, rowNumber, sizeof rowNumber);
      out += rowNumberSize;
      const Token& closing = closings[fill];
      std::memcpy(out, closing.text, sizeof closing.text);
      out += closing.size;
    }
    xml.Commit(out);
    xml.Append("</row>");
  }
  xml.Append("</sheetData>");
}

// "FFRRGGBB": Excel's ARGB text, opaque, from a 0x00BBGGRR colour.
void AppendArgb(XmlBuffer& xml, ColourValue colour) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::uint8_t channels[] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
  char text[8] = {'F', 'F'};
  for (int c = 0; c < 3; ++c) {
    text[2 + 2 * c] = kHex[channels[c] >> 4];
    text[3 + 2 * c] = kHex[channels[c] & 0xF];
  }
  xml.Append(std::string_view(text, sizeof text));
}

}  // namespace

double StoredColumnWidth(double characters) {
  if (!(characters > 0)) return 0;
  const double pixels = characters < 1
                            ? std::floor(characters * (kDigitWidth + kColumnPadding) + 0.5)
                            : std::floor(characters * kDigitWidth + 0.5) + kColumnPadding;
  return std::floor(pixels / kDigitWidth * 256) / 256;
}

XmlBuffer ContentTypesPart() {
  XmlBuffer xml = Started();
  xml.Append(
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
      "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
      "<Override PartName=\"/xl/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
      "<Override PartName=\"/docProps/core.xml\" "
      "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
      "<Override PartName=\"/docProps/app.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
      "</Types>");
  return xml;
}

XmlBuffer PackageRelationshipsPart() {
  XmlBuffer xml = Started();
  xml.Append(
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
      "Target=\"xl/workbook.xml\"/>"
      "<Relationship Id=\"rId2\" "
      "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
      "Target=\"docProps/core.xml\"/>"
      "<Relationship Id=\"rId3\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties\" "
      "Target=\"docProps/app.xml\"/>"
      "</Relationships>");
  return xml;
}

XmlBuffer WorkbookRelationshipsPart() {
  XmlBuffer xml = Started();
  xml.Append(
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
      "Target=\"worksheets/sheet1.xml\"/>"
      "<Relationship Id=\"rId2\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
      "Target=\"styles.xml\"/>"
      "</Relationships>");
  return xml;
}

XmlBuffer WorkbookPart(std::string_view sheetName) {
  XmlBuffer xml = Started();
  xml.Append("<workbook xmlns=\"");
  xml.Append(kMainNamespace);
  xml.Append("\" xmlns:r=\"");
  xml.Append(kRelationshipsNamespace);
  xml.Append(
      "\"><fileVersion appName=\"xl\"/><workbookPr/>"
      "<bookViews><workbookView/></bookViews><sheets><sheet name=\"");
  xml.AppendEscaped(sheetName);
  xml.Append("\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
  return xml;
}

XmlBuffer StylesPart(const FillPalette& palette) {
  const std::size_t colours = palette.colours.size();
  XmlBuffer xml = Started();
  constexpr std::size_t kLongestFillAndFormat = 192, kFrame = 1024;
  xml.Reserve(colours * kLongestFillAndFormat + kFrame);
  xml.Append("<styleSheet xmlns=\"");
  xml.Append(kMainNamespace);
  xml.Append(
      "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>"
      "</font></fonts><fills count=\"");
  xml.AppendNumber(colours + 2);
  xml.Append(
      "\"><fill><patternFill patternType=\"none\"/></fill>"
      "<fill><patternFill patternType=\"gray125\"/></fill>");
  for (const std::uint32_t colour : palette.colours) {
    xml.Append("<fill><patternFill patternType=\"solid\"><fgColor rgb=\"");
    AppendArgb(xml, colour);
    xml.Append("\"/><bgColor indexed=\"64\"/></patternFill></fill>");
  }
  xml.Append(
      "</fills><borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border>"
      "</borders><cellStyleXfs count=\"1\">"
      "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
      "<cellXfs count=\"");
  xml.AppendNumber(colours + 1);
  xml.Append("\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>");
  for (std::size_t fill = 2; fill < colours + 2; ++fill) {
    xml.Append("<xf numFmtId=\"0\" fontId=\"0\" fillId=\"");
    xml.AppendNumber(fill);
    xml.Append("\" borderId=\"0\" xfId=\"0\" applyFill=\"1\"/>");
  }
  xml.Append(
      "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
      "</cellStyles><dxfs count=\"0\"/><tableStyles count=\"0\" "
      "defaultTableStyle=\"TableStyleMedium9\" defaultPivotStyle=\"PivotStyleLight16\"/>"
      "</styleSheet>");
  return xml;
}

XmlBuffer WorksheetPart(const SheetContent& sheet, const FillPalette& palette) {
  XmlBuffer xml = Started();
  // Room for the longest text the cells can take, so the buffer never moves; pages that
  // stay unwritten cost no memory.
  constexpr std::size_t kLongestCell = 28, kLongestRow = 64, kFrame = 1024;
  xml.Reserve(palette.cellFills.size() * kLongestCell + static_cast<std::size_t>(sheet.rows) * kLongestRow + kFrame);
  xml.Append("<worksheet xmlns=\"");
  xml.Append(kMainNamespace);
  xml.Append("\" xmlns:r=\"");
  xml.Append(kRelationshipsNamespace);
  xml.Append("\"><dimension ref=\"");
  AppendUsedRange(xml, sheet, palette);
  xml.Append("\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>");
  AppendSheetFormat(xml, sheet);
  AppendColumns(xml, sheet);
  AppendSheetData(xml, sheet, palette);
  xml.Append(
      "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
      "footer=\"0.3\"/></worksheet>");
  return xml;
}

XmlBuffer CorePropertiesPart(std::time_t created) {
  std::tm utc{};
  gmtime_r(&created, &utc);
  char stamp[32];
  const std::size_t stampSize = std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  const std::string_view when(stamp, stampSize);
  XmlBuffer xml = Started();
  xml.Append(
      "<cp:coreProperties "
      "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
      "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
      "<dc:creator></dc:creator><cp:lastModifiedBy></cp:lastModifiedBy>"
      "<dcterms:created xsi:type=\"dcterms:W3CDTF\">");
  xml.Append(when);
  xml.Append("</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">");
  xml.Append(when);
  xml.Append("</dcterms:modified></cp:coreProperties>");
  return xml;
}

XmlBuffer AppPropertiesPart(std::string_view sheetName) {
  XmlBuffer xml = Started();
  xml.Append(
      "<Properties "
      "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
      "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
      "<Application>Microsoft Excel</Application><DocSecurity>0</DocSecurity>"
      "<ScaleCrop>false</ScaleCrop><HeadingPairs><vt:vector size=\"2\" baseType=\"variant\">"
      "<vt:variant><vt:lpstr>Worksheets</vt:lpstr></vt:variant>"
      "<vt:variant><vt:i4>1</vt:i4></vt:variant></vt:vector></HeadingPairs>"
      "<TitlesOfParts><vt:vector size=\"1\" baseType=\"lpstr\"><vt:lpstr>");
  xml.AppendEscaped(sheetName);
  xml.Append(
      "</vt:lpstr></vt:vector></TitlesOfParts><LinksUpToDate>false</LinksUpToDate>"
      "<SharedDoc>false</SharedDoc><HyperlinksChanged>false</HyperlinksChanged>"
      "<AppVersion>12.0000</AppVersion></Properties>");
  return xml;
}
