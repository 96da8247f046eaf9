#include "render/engine/xlsx_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "render/column_name.h"
#include "tests/support/acting_as_ordinary_user.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/text_of.h"
#include "tests/support/workbook_reader.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kGrey = 0x808080;
constexpr std::uint32_t kTeal = 0x808000, kOrange = 0x0080FF;

// 3 rows × 4 columns with two cells left unfilled:
//   red    green  .      blue
//   white  black  red    grey
//   .      teal   teal   orange
const std::vector<std::uint32_t> kSmallFills = {kRed,   kGreen, kNoFill, kBlue,  kWhite, kBlack,
                                                kRed,   kGrey,  kNoFill, kTeal,  kTeal,  kOrange};

SheetContent SmallSheet(std::optional<double> rowHeight, std::optional<double> columnWidth) {
  SheetContent sheet;
  sheet.rows = 3;
  sheet.columns = 4;
  sheet.fills = kSmallFills.data();
  sheet.rowHeight = rowHeight;
  sheet.columnWidth = columnWidth;
  return sheet;
}

std::string CellReference(int row, int column) { return ColumnName(column) + std::to_string(row); }

// What each filled cell should read as: "solid FFRRGGBB", by reference.
std::map<std::string, std::string> ExpectedFills(const SheetContent& sheet) {
  std::map<std::string, std::string> fills;
  for (int row = 1; row <= sheet.rows; ++row) {
    for (int column = 1; column <= sheet.columns; ++column) {
      const std::uint32_t fill = sheet.fills[(row - 1) * sheet.columns + column - 1];
      if (fill != kNoFill) fills[CellReference(row, column)] = "solid " + ArgbText(fill);
    }
  }
  return fills;
}

// What openpyxl read for each styled cell, by reference.
std::map<std::string, std::string> FillsRead(const WorkbookFacts& facts) {
  std::map<std::string, std::string> fills;
  for (const std::string& cell : facts.Values("cell")) {
    const std::size_t space = cell.find(' ');
    fills[cell.substr(0, space)] = cell.substr(space + 1);
  }
  return fills;
}


void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// ---------------------------------------------------------------------------------------
// The five cell sizes a user can choose: rows so many points high, columns so many pixels
// wide, even below one character.

struct CellSize {
  double points;
  double characters;
  int pixels;  // the column's width on screen with the default font
  friend void PrintTo(const CellSize& size, std::ostream* out) { *out << size.points << " pt"; }
};

class CellSizes : public ::testing::TestWithParam<CellSize> {
 protected:
  ScratchFolder folder_;
};

TEST_P(CellSizes, ReadBackWithEveryFillRowHeightAndColumnWidth) {
  const CellSize size = GetParam();
  const SheetContent sheet = SmallSheet(size.points, size.characters);
  const std::string path = folder_ / "cells.xlsx";
  const SaveOutcome outcome = WriteWorkbook(path, sheet);
  ASSERT_TRUE(outcome.written) << outcome.error;

  const WorkbookFacts facts = ReadWorkbook("openpyxl", path, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("sheet"), ElementsAre("Sheet1"));
  EXPECT_EQ(FillsRead(facts), ExpectedFills(sheet));

  const std::vector<std::string> defaultHeight = Words(facts.Values("default-row-height").at(0));
  EXPECT_DOUBLE_EQ(std::stod(defaultHeight[0]), size.points);
  EXPECT_EQ(defaultHeight[2], "1") << "the height is the sheet's own, not the font's";
  const std::vector<std::string> rows = facts.Values("row");
  ASSERT_EQ(rows.size(), 3u);
  for (const std::string& row : rows) EXPECT_DOUBLE_EQ(std::stod(Words(row)[1]), size.points) << row;

  const std::vector<std::string> columns = facts.Values("column");
  ASSERT_EQ(columns.size(), 1u);
  const std::vector<std::string> column = Words(columns[0]);
  EXPECT_EQ(column[0], "1");
  EXPECT_EQ(column[1], "16384");
  const double width = std::stod(column[2]);
  EXPECT_LT(width, 1.0);
  // Excel draws a stored width w as w × 7 pixels (7: the default font's digit width).
  EXPECT_EQ(std::lround(width * 7), size.pixels);
}

INSTANTIATE_TEST_SUITE_P(Chosen, CellSizes,
                         ::testing::Values(CellSize{1, 0.08, 1}, CellSize{2, 0.15, 2},
                                           CellSize{3, 0.23, 3}, CellSize{4, 0.31, 4},
                                           CellSize{5, 0.38, 5}),
                         [](const auto& named) {
                           return "size" + std::to_string(static_cast<int>(named.param.points));
                         });

TEST(Sizes, ZeroHidesEveryRowAndColumn) {
  ScratchFolder folder;
  const std::string path = folder / "hidden.xlsx";
  ASSERT_TRUE(WriteWorkbook(path, SmallSheet(0.0, 0.0)).written);
  const WorkbookFacts facts = ReadWorkbook("openpyxl", path, {"A1"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_EQ(Words(facts.Values("default-row-height").at(0))[4], "1");
  for (const std::string& row : facts.Values("row")) EXPECT_EQ(Words(row)[3], "1") << row;
  ASSERT_EQ(facts.Values("column").size(), 1u);
  EXPECT_EQ(Words(facts.Values("column")[0])[4], "1");
  EXPECT_THAT(facts.Values("cell"), ElementsAre("A1 solid " + ArgbText(kRed)));
}

TEST(Sizes, UnsetSizesLeaveTheDefaults) {
  ScratchFolder folder;
  const std::string path = folder / "defaults.xlsx";
  ASSERT_TRUE(WriteWorkbook(path, SmallSheet(std::nullopt, std::nullopt)).written);
  const WorkbookFacts facts = ReadWorkbook("openpyxl", path);
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_EQ(Words(facts.Values("default-row-height").at(0))[2], "0");
  for (const std::string& row : facts.Values("row")) EXPECT_EQ(Words(row)[1], "None") << row;
  EXPECT_THAT(facts.Values("column"), IsEmpty());
}

// ---------------------------------------------------------------------------------------
// File names: used exactly as given, whatever their extension or characters.

struct FileName {
  const char* label;
  const char* name;
  friend void PrintTo(const FileName& file, std::ostream* out) { *out << file.label; }
};

class FileNames : public ::testing::TestWithParam<FileName> {
 protected:
  ScratchFolder folder_;
};

TEST_P(FileNames, AreUsedExactlyAsGiven) {
  const std::string name = GetParam().name;
  const SheetContent sheet = SmallSheet(2, 0.15);
  const SaveOutcome outcome = WriteWorkbook(folder_ / name, sheet);
  ASSERT_TRUE(outcome.written) << outcome.error;
  EXPECT_THAT(folder_.Names(), ElementsAre(name)) << "no extension added, no temporary left";
  const WorkbookFacts facts = ReadWorkbook("openpyxl", folder_ / name, {"D1", "B3"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("cell"),
              ElementsAre("D1 solid " + ArgbText(kBlue), "B3 solid " + ArgbText(kTeal)));
}

INSTANTIATE_TEST_SUITE_P(Kinds, FileNames,
                         ::testing::Values(FileName{"NoExtension", "作品-"},
                                           FileName{"ChineseAndSpaces", "我的 像素 画 1.xls"},
                                           FileName{"Xlsx", "plain.xlsx"},
                                           FileName{"MarkupCharacters", "odd&<name>'.xlsx"}),
                         [](const auto& named) { return named.param.label; });

// ---------------------------------------------------------------------------------------
// Sheets without fills still make a workbook that opens.

struct EmptySheet {
  const char* label;
  int rows;
  int columns;
  friend void PrintTo(const EmptySheet& sheet, std::ostream* out) { *out << sheet.label; }
};

class EmptySheets : public ::testing::TestWithParam<EmptySheet> {};

TEST_P(EmptySheets, GiveAWorkbookWithNoStyledCell) {
  ScratchFolder folder;
  const std::vector<std::uint32_t> holes(static_cast<std::size_t>(GetParam().rows * GetParam().columns),
                                         kNoFill);
  SheetContent sheet;
  sheet.rows = GetParam().rows;
  sheet.columns = GetParam().columns;
  sheet.fills = holes.empty() ? nullptr : holes.data();
  sheet.rowHeight = 4;
  sheet.columnWidth = 0.31;
  const std::string path = folder / "empty.xlsx";
  const SaveOutcome outcome = WriteWorkbook(path, sheet);
  ASSERT_TRUE(outcome.written) << outcome.error;
  const WorkbookFacts facts = ReadWorkbook("openpyxl", path, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("sheet"), ElementsAre("Sheet1"));
  EXPECT_THAT(facts.Values("cell"), IsEmpty());
  EXPECT_DOUBLE_EQ(std::stod(Words(facts.Values("default-row-height").at(0))[0]), 4.0);
  EXPECT_EQ(facts.Values("column").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EmptySheets,
                         ::testing::Values(EmptySheet{"NoCells", 0, 0},
                                           EmptySheet{"OnlyUnfilledCells", 2, 3}),
                         [](const auto& named) { return named.param.label; });

// ---------------------------------------------------------------------------------------
// The colour limit: a sheet keeps every colour up to 64,000 and is reduced above it.

// 40 × 40 × 40 colours 6 apart, then `extra` more between them, row by row in 320 columns.
std::vector<std::uint32_t> GridColours(int extra) {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t blue = 0; blue < 40; ++blue) {
    for (std::uint32_t green = 0; green < 40; ++green) {
      for (std::uint32_t red = 0; red < 40; ++red) {
        colours.push_back(red * 6 | green * 6 << 8 | blue * 6 << 16);
      }
    }
  }
  for (int i = 0; i < extra; ++i) colours.push_back(colours[static_cast<std::size_t>(i) * 7] + 0x030303);
  colours.resize((colours.size() + 319) / 320 * 320, kNoFill);
  return colours;
}

struct ColourCount {
  const char* label;
  int extra;
  bool exact;
  friend void PrintTo(const ColourCount& count, std::ostream* out) { *out << count.label; }
};

class ColourLimit : public ::testing::TestWithParam<ColourCount> {};

TEST_P(ColourLimit, KeepsEveryColourUpTo64000AndReducesBeyond) {
  ScratchFolder folder;
  const std::vector<std::uint32_t> fills = GridColours(GetParam().extra);
  SheetContent sheet;
  sheet.columns = 320;
  sheet.rows = static_cast<int>(fills.size() / 320);
  sheet.fills = fills.data();
  const std::string path = folder / "many.xlsx";
  ASSERT_TRUE(WriteWorkbook(path, sheet).written);

  const WorkbookFacts facts = ReadWorkbook("parts", path);
  ASSERT_EQ(facts.exitCode, 0);
  const int formats = std::stoi(facts.Values("formats").at(0));
  EXPECT_LE(formats, 64001) << "the default format and at most 64,000 colours";
  const std::map<std::string, std::string> expected = ExpectedFills(sheet);
  const std::map<std::string, std::string> read = FillsRead(facts);
  ASSERT_EQ(read.size(), expected.size());
  int largestError = 0;
  for (const auto& [reference, fill] : expected) {
    const std::string& got = read.at(reference);
    for (int c = 0; c < 3; ++c) {
      const int wanted = std::stoi(fill.substr(8 + 2 * c, 2), nullptr, 16);
      const int written = std::stoi(got.substr(8 + 2 * c, 2), nullptr, 16);
      largestError = std::max(largestError, std::abs(wanted - written));
    }
  }
  if (GetParam().exact) {
    EXPECT_EQ(formats, 64001);
    EXPECT_EQ(largestError, 0);
  } else {
    EXPECT_GT(largestError, 0);
    EXPECT_LE(largestError, 3) << "only colours 3 apart needed merging";
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, ColourLimit,
                         ::testing::Values(ColourCount{"AtTheLimit", 0, true},
                                           ColourCount{"JustOver", 1, false},
                                           ColourCount{"WellOver", 6000, false}),
                         [](const auto& named) { return named.param.label; });

// ---------------------------------------------------------------------------------------
// A save that fails leaves no trace: the old file as it was, no temporary beside it.

class FailedSave : public ::testing::Test {
 protected:
  // A folder holding one earlier file, `old.xlsx`.
  void SetUp() override {
    folder_ = scratch_ / "saves";
    mkdir(folder_.c_str(), 0755);
    target_ = folder_ + "/old.xlsx";
    WriteText(target_, kOldContent);
  }

  void ExpectOldFileIntact() {
    EXPECT_EQ(FileText(target_), kOldContent);
    EXPECT_THAT(scratch_.Names(folder_), ElementsAre("old.xlsx")) << "no temporary left behind";
  }

  static constexpr const char* kOldContent = "the workbook saved yesterday";
  ScratchFolder scratch_;
  std::string folder_;  // inside scratch_, holding the earlier file
  std::string target_;
};

TEST_F(FailedSave, IntoAMissingFolderSaysSoAndCreatesNothing) {
  const SaveOutcome outcome = WriteWorkbook(folder_ + "/missing/new.xlsx", SmallSheet(1, 0.08));
  EXPECT_FALSE(outcome.written);
  EXPECT_THAT(outcome.error, HasSubstr("does not exist"));
  ExpectOldFileIntact();
}

TEST_F(FailedSave, IntoAReadOnlyFolderKeepsTheOldFile) {
  chmod(folder_.c_str(), 0555);
  SaveOutcome outcome;
  {
    ActingAsOrdinaryUser ordinary;
    outcome = WriteWorkbook(target_, SmallSheet(1, 0.08));
  }
  chmod(folder_.c_str(), 0755);
  EXPECT_FALSE(outcome.written);
  EXPECT_THAT(outcome.error, HasSubstr("no permission to write"));
  ExpectOldFileIntact();
}

TEST_F(FailedSave, WhenTheDiskFillsKeepsTheOldFile) {
  // A file size limit fails the writes part-way, as a full disk would.
  std::vector<std::uint32_t> fills(200 * 200);
  for (std::size_t i = 0; i < fills.size(); ++i) fills[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  SheetContent sheet;
  sheet.rows = sheet.columns = 200;
  sheet.fills = fills.data();
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 64 * 1024;
  auto* previous = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  const SaveOutcome outcome = WriteWorkbook(target_, sheet);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(outcome.written);
  EXPECT_THAT(outcome.error, HasSubstr("larger than the disk or the system allows"));
  ExpectOldFileIntact();
}

TEST_F(FailedSave, OverAFolderKeepsTheFolder) {
  const std::string inner = folder_ + "/inner";
  mkdir(inner.c_str(), 0755);
  const SaveOutcome outcome = WriteWorkbook(inner, SmallSheet(1, 0.08));
  EXPECT_FALSE(outcome.written);
  EXPECT_THAT(outcome.error, HasSubstr("belongs to a folder"));
  struct stat status {};
  EXPECT_TRUE(stat(inner.c_str(), &status) == 0 && S_ISDIR(status.st_mode));
  EXPECT_EQ(FileText(target_), kOldContent);
}

TEST(Save, WithoutAFileNameIsRefused) {
  const SaveOutcome outcome = WriteWorkbook("", SmallSheet(1, 0.08));
  EXPECT_FALSE(outcome.written);
  EXPECT_THAT(outcome.error, HasSubstr("no file name"));
}

// ---------------------------------------------------------------------------------------
// A save that succeeds replaces the old file and leaves permissions as a plain write would.

mode_t PermissionsOf(const std::string& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 07777;
}

TEST(Save, ReplacesAnEarlierFileKeepingItsPermissions) {
  ScratchFolder folder;
  const std::string path = folder / "again.xlsx";
  WriteText(path, "not a workbook");
  chmod(path.c_str(), 0604);
  const SaveOutcome outcome = WriteWorkbook(path, SmallSheet(3, 0.23));
  ASSERT_TRUE(outcome.written) << outcome.error;
  EXPECT_EQ(PermissionsOf(path), 0604u);
  EXPECT_THAT(folder.Names(), ElementsAre("again.xlsx"));
  const WorkbookFacts facts = ReadWorkbook("openpyxl", path, {"A2"});
  EXPECT_THAT(facts.Values("cell"), ElementsAre("A2 solid " + ArgbText(kWhite)));
}

TEST(Save, GivesANewFileTheUsualPermissions) {
  ScratchFolder folder;
  const mode_t previous = umask(027);
  const SaveOutcome outcome = WriteWorkbook(folder / "new.xlsx", SmallSheet(3, 0.23));
  umask(previous);
  ASSERT_TRUE(outcome.written) << outcome.error;
  EXPECT_EQ(PermissionsOf(folder / "new.xlsx"), 0666u & ~027u);
}

TEST(Save, ThroughALinkReplacesTheFileItPointsTo) {
  ScratchFolder folder;
  const std::string real = folder / "real.xlsx";
  WriteText(real, "not a workbook");
  ASSERT_EQ(symlink("real.xlsx", (folder / "link.xlsx").c_str()), 0);
  ASSERT_TRUE(WriteWorkbook(folder / "link.xlsx", SmallSheet(3, 0.23)).written);
  struct stat status {};
  ASSERT_EQ(lstat((folder / "link.xlsx").c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(ReadWorkbook("openpyxl", real, {"C2"}).Values("cell"),
            std::vector<std::string>{"C2 solid " + ArgbText(kRed)});
}

}  // namespace
