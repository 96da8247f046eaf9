// Our workbooks must say what libxlsxwriter's say for the same content: the same parts with
// the same content types and relationships, the same sheet, cells, fills and sizes, and
// openpyxl must read both alike. Bytes may differ; meaning may not.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "render/engine/xlsx_writer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/workbook_reader.h"

namespace {

using ::testing::IsEmpty;

// libxlsxwriter takes 0xRRGGBB, and black as LXW_COLOR_BLACK since 0 means "no colour";
// the sheet holds 0x00BBGGRR.
lxw_color_t LibxlsxwriterColour(std::uint32_t colour) {
  const lxw_color_t rgb = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
  return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

// How the engine's "every row gets height h" and "every column gets width w" are said to
// libxlsxwriter: the default row height of the sheet, and one width over columns A to XFD.
bool WriteWithLibxlsxwriter(const std::string& path, const SheetContent& sheet) {
  lxw_workbook* workbook = workbook_new(path.c_str());
  if (workbook == nullptr) return false;
  lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.name.c_str());
  std::map<std::uint32_t, lxw_format*> formats;  // one per colour, as our writer keeps
  for (int row = 0; row < sheet.rows; ++row) {
    for (int column = 0; column < sheet.columns; ++column) {
      const std::uint32_t colour = sheet.fills[row * sheet.columns + column];
      if (colour == kNoFill) continue;
      lxw_format*& format = formats[colour];
      if (format == nullptr) {
        format = workbook_add_format(workbook);
        format_set_pattern(format, LXW_PATTERN_SOLID);
        format_set_bg_color(format, LibxlsxwriterColour(colour));
      }
      worksheet_write_blank(worksheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), format);
    }
  }
  if (sheet.rowHeight) worksheet_set_default_row(worksheet, *sheet.rowHeight, LXW_FALSE);
  if (sheet.columnWidth) worksheet_set_column(worksheet, 0, LXW_COL_MAX - 1, *sheet.columnWidth, nullptr);
  return workbook_close(workbook) == LXW_NO_ERROR;
}

// The facts in a stable order, less the theme part that libxlsxwriter adds and we leave out
// (our styles name their font and colours outright, so nothing refers to a theme).
std::vector<std::string> Comparable(std::vector<std::string> lines) {
  std::erase_if(lines, [](const std::string& line) { return line.find("theme") != std::string::npos; });
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> OnlyIn(const std::vector<std::string>& these,
                                const std::vector<std::string>& notThose) {
  std::vector<std::string> difference;
  std::set_difference(these.begin(), these.end(), notThose.begin(), notThose.end(),
                      std::back_inserter(difference));
  return difference;
}

struct Content {
  const char* label;
  int rows;
  int columns;
  std::optional<double> rowHeight;
  std::optional<double> columnWidth;
  friend void PrintTo(const Content& content, std::ostream* out) { *out << content.label; }
};

// A rows × columns picture of stripes, blocks and holes in a handful of colours.
std::vector<std::uint32_t> PatternFills(int rows, int columns) {
  const std::uint32_t palette[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFEDCBA, 0x000000, 0xFFFFFF};
  std::vector<std::uint32_t> fills(static_cast<std::size_t>(rows * columns));
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const int pick = (row / 2 + column * 3) % 9;
      fills[static_cast<std::size_t>(row * columns + column)] = pick < 7 ? palette[pick] : kNoFill;
    }
  }
  return fills;
}

class SameMeaningAsLibxlsxwriter : public ::testing::TestWithParam<Content> {
 protected:
  ScratchFolder folder_;
};

TEST_P(SameMeaningAsLibxlsxwriter, InPartsAndThroughOpenpyxl) {
  const Content content = GetParam();
  const std::vector<std::uint32_t> fills = PatternFills(content.rows, content.columns);
  SheetContent sheet;
  sheet.rows = content.rows;
  sheet.columns = content.columns;
  sheet.fills = fills.empty() ? nullptr : fills.data();
  sheet.rowHeight = content.rowHeight;
  sheet.columnWidth = content.columnWidth;
  const std::string ours = folder_ / "ours.xlsx";
  const std::string reference = folder_ / "reference.xlsx";
  const SaveOutcome outcome = WriteWorkbook(ours, sheet);
  ASSERT_TRUE(outcome.written) << outcome.error;
  ASSERT_TRUE(WriteWithLibxlsxwriter(reference, sheet));

  for (const char* mode : {"parts", "openpyxl"}) {
    const std::vector<std::string> extra = mode == std::string("openpyxl") ? std::vector<std::string>{"all"}
                                                                            : std::vector<std::string>{};
    const WorkbookFacts ourFacts = ReadWorkbook(mode, ours, extra);
    const WorkbookFacts referenceFacts = ReadWorkbook(mode, reference, extra);
    ASSERT_EQ(ourFacts.exitCode, 0) << mode;
    ASSERT_EQ(referenceFacts.exitCode, 0) << mode;
    ASSERT_FALSE(referenceFacts.lines.empty()) << mode;
    const std::vector<std::string> ourLines = Comparable(ourFacts.lines);
    const std::vector<std::string> referenceLines = Comparable(referenceFacts.lines);
    EXPECT_THAT(OnlyIn(ourLines, referenceLines), IsEmpty()) << "only in ours, read by " << mode;
    EXPECT_THAT(OnlyIn(referenceLines, ourLines), IsEmpty()) << "only in libxlsxwriter's, read by " << mode;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Contents, SameMeaningAsLibxlsxwriter,
    ::testing::Values(Content{"SmallestCells", 6, 5, 1.0, 0.08},
                      Content{"LargestCells", 6, 5, 5.0, 0.38},
                      Content{"CharacterWideColumns", 9, 30, 12.75, 10.0},
                      Content{"WideColumns", 4, 3, 30.5, 40.0},
                      Content{"DefaultSizes", 7, 4, std::nullopt, std::nullopt},
                      Content{"NoCells", 0, 0, 3.0, 0.23}),
    [](const auto& named) { return named.param.label; });

}  // namespace
