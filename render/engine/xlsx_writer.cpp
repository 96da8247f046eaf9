#include "render/engine/xlsx_writer.h"

#include <ctime>
#include <new>
#include <vector>

#include "render/engine/deflated_part.h"
#include "render/engine/fill_palette.h"
#include "render/engine/replacing_file.h"
#include "render/engine/workbook_parts.h"
#include "render/engine/zip_container.h"

namespace {

// The largest sheet a workbook can hold: XFD1048576.
constexpr int kMostRows = 1048576;
constexpr int kMostColumns = 16384;

// libdeflate's fastest level: the sheet's markup repeats so much that higher levels save
// little space for much more time.
constexpr int kDeflateLevel = 1;

std::vector<DeflatedPart> DeflatedParts(const SheetContent& sheet, const FillPalette& palette) {
  const std::string sheetName = sheet.name.empty() ? "Sheet1" : sheet.name;
  std::vector<DeflatedPart> parts;
  auto add = [&](const char* name, const XmlBuffer& text) {
    parts.push_back(DeflatePart(name, text.view(), kDeflateLevel));
  };
  add("[Content_Types].xml", ContentTypesPart());
  add("_rels/.rels", PackageRelationshipsPart());
  add("docProps/app.xml", AppPropertiesPart(sheetName));
  add("docProps/core.xml", CorePropertiesPart(std::time(nullptr)));
  add("xl/workbook.xml", WorkbookPart(sheetName));
  add("xl/_rels/workbook.xml.rels", WorkbookRelationshipsPart());
  add("xl/styles.xml", StylesPart(palette));
  add("xl/worksheets/sheet1.xml", WorksheetPart(sheet, palette));
  return parts;
}

SaveOutcome Failed(std::string why) { return {false, std::move(why)}; }

}  // namespace

SaveOutcome WriteWorkbook(const std::string& path, const SheetContent& sheet) {
  if (sheet.rows < 0 || sheet.columns < 0 || sheet.rows > kMostRows ||
      sheet.columns > kMostColumns) {
    return Failed("The sheet is larger than a workbook can hold (1048576 rows, 16384 columns).");
  }
  try {
    ReplacingFile file(path);
    if (!file.ok()) return Failed(file.error());
    const std::vector<DeflatedPart> parts = DeflatedParts(sheet, BuildFillPalette(sheet));
    if (!WriteZipContainer(file, parts) || !file.Commit()) {
      return Failed(!file.error().empty()
                        ? file.error()
                        : "The workbook could not be saved as \"" + path +
                              "\": the zip container could not be written.");
    }
    return {true, {}};
  } catch (const std::bad_alloc&) {
    return Failed("The workbook could not be saved as \"" + path +
                  "\": there is not enough memory.");
  }
}
