// Workbooks saved through SpreadsheetLink, read back by an independent reader (openpyxl).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "render/column_name.h"
#include "render/engine/spreadsheet_server.h"
#include "render/spreadsheet_link.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/text_of.h"
#include "tests/support/workbook_reader.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::int32_t kOffCanvas = -1;  // what the canvas reports outside its drawing area

// 3 columns × 2 rows, as the conversion would colour them:
//   red   green  (off the canvas: refused, left unfilled)
//   blue  white  black
constexpr int kColumns = 3;
const std::vector<std::int32_t> kPicture = {0x0000FF, 0x00FF00, kOffCanvas,
                                            0xFF0000, 0xFFFFFF, 0x000000};


// Starts the engine and makes a workbook, colours the picture, sizes the cells and saves
// them the way the conversion does; gives SaveSheetAs's answer. Every reference is released.
class ConversionLikeRun {
 public:
  explicit ConversionLikeRun(const AutomationRegistry& registry) : application_(registry) {}

  bool Save(const std::string& path, const std::string& rowHeight, double columnWidth,
            bool turnAlertsOff = true) {
    EXPECT_TRUE(application_.StartApplication());
    workbook_.CreateWorkbook(application_);
    workbook_.ActivateWorkbook();
    workbook_.SelectSheet(1);
    application_.SetApplicationCaption(path);
    application_.SetApplicationVisible(false);
    ComObject range;
    for (std::size_t i = 0; i < kPicture.size(); ++i) {
      const int row = static_cast<int>(i) / kColumns + 1;
      const int column = static_cast<int>(i) % kColumns + 1;
      const std::string address = ColumnName(column) + std::to_string(row);
      workbook_.SetRangeCell1(address);
      workbook_.SetRangeCell2(address);
      ComObject cell = workbook_.GetRangeObject();
      ClearObject(range);
      range = cell;
      ComObject interior = GetObjectProperty(range, "Interior");
      SetObjectProperty(interior, "Color", kPicture[i]);
      ClearObject(interior);
    }
    ComObject sheet = workbook_.GetSheetObject();
    ComObject cells = GetObjectProperty(sheet, "Cells");
    SetObjectProperty(cells, "RowHeight", rowHeight);
    ClearObject(cells);
    cells = GetObjectProperty(sheet, "Cells");
    SetObjectProperty(cells, "ColumnWidth", columnWidth);
    ClearObject(cells);
    ComObject book = workbook_.GetWorkbookObject();
    ComObject app = GetObjectProperty(book, "Application");
    if (turnAlertsOff) SetObjectProperty(app, "DisplayAlerts", false);
    ClearObject(app);
    const bool saved = workbook_.SaveSheetAs(path);
    app = GetObjectProperty(book, "Application");
    CallObjectMethod(app, "Quit");
    ClearObject(app);
    workbook_.ReleaseWorkbook();
    application_.ReleaseApplication();
    ClearObject(range);
    ClearObject(sheet);
    ClearObject(book);
    EXPECT_EQ(LiveAutomationObjects(), 0u);
    return saved;
  }

 private:
  ApplicationLink application_;
  WorkbookLink workbook_;
};

class SavedWorkbook : public ::testing::Test {
 protected:
  SavedWorkbook() { RegisterSpreadsheetEngine(registry_); }

  AutomationRegistry registry_;
  ScratchFolder folder_;
};

// One of the five cell sizes of the window's list: the row height as its text, the column
// width as its value / 100, and how many pixels wide the columns then are.
struct CellSize {
  const char* rowHeight;
  double columnWidth;
  int pixels;
  friend void PrintTo(const CellSize& size, std::ostream* out) {
    *out << '"' << size.rowHeight << '"';
  }
};

class SavedCellSizes : public SavedWorkbook, public ::testing::WithParamInterface<CellSize> {};

TEST_P(SavedCellSizes, ReadBackWithTheirFillsRowHeightAndColumnWidth) {
  const CellSize size = GetParam();
  const std::string path = folder_ / "cells.xls";
  ASSERT_TRUE(ConversionLikeRun(registry_).Save(path, size.rowHeight, size.columnWidth));

  const WorkbookFacts facts = ReadWorkbook("openpyxl", path, {"A1", "B1", "C1", "A2", "B2", "C2"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("sheet"), ElementsAre("Sheet1"));
  EXPECT_THAT(facts.Values("cell"),
              ElementsAre("A1 solid FFFF0000", "B1 solid FF00FF00", "C1 none none",
                          "A2 solid FF0000FF", "B2 solid FFFFFFFF", "C2 solid FF000000"));
  EXPECT_DOUBLE_EQ(std::stod(Words(facts.Values("default-row-height").at(0))[0]),
                   std::stod(size.rowHeight));
  const std::vector<std::string> columns = facts.Values("column");
  ASSERT_EQ(columns.size(), 1u);
  const std::vector<std::string> column = Words(columns[0]);
  EXPECT_EQ(column[0] + ":" + column[1], "1:16384") << "every column has the width";
  EXPECT_EQ(std::lround(std::stod(column[2]) * 7), size.pixels) << "7 pixels per character";
}

INSTANTIATE_TEST_SUITE_P(Chosen, SavedCellSizes,
                         ::testing::Values(CellSize{"1", 0.08, 1}, CellSize{"2", 0.15, 2},
                                           CellSize{"3", 0.23, 3}, CellSize{"4", 0.31, 4},
                                           CellSize{"5", 0.38, 5}),
                         [](const auto& named) {
                           return std::string("size") + named.param.rowHeight;
                         });

TEST_F(SavedWorkbook, KeepsExactlyTheFileNameGiven) {
  for (const char* name : {"作品-1", "我的 作品 (2).xls"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(ConversionLikeRun(registry_).Save(folder_ / name, "1", 0.08));
    const WorkbookFacts facts = ReadWorkbook("openpyxl", folder_ / name, {"B2"});
    ASSERT_EQ(facts.exitCode, 0);
    EXPECT_THAT(facts.Values("cell"), ElementsAre("B2 solid FFFFFFFF"));
  }
  EXPECT_THAT(folder_.Names(), ElementsAre("作品-1", "我的 作品 (2).xls"));
}

TEST_F(SavedWorkbook, AFailedSaveIsReportedAndLeavesNoFile) {
  EXPECT_FALSE(ConversionLikeRun(registry_).Save(folder_ / "missing/作品.xls", "1", 0.08));
  EXPECT_THAT(folder_.Names(), IsEmpty());
}

TEST_F(SavedWorkbook, ReplacesAFileOnlyOnceAlertsAreOff) {
  const std::string path = folder_ / "作品.xls";
  std::ofstream(path) << "an older file";
  // With alerts on, replacing would need someone to confirm it.
  EXPECT_FALSE(ConversionLikeRun(registry_).Save(path, "1", 0.08, /*turnAlertsOff=*/false));
  EXPECT_EQ(FileText(path), "an older file");
  EXPECT_TRUE(ConversionLikeRun(registry_).Save(path, "1", 0.08));
  EXPECT_EQ(ReadWorkbook("openpyxl", path).exitCode, 0);
}

}  // namespace
