#include "render/conversion_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "canvas/canvas_surface.h"
#include "canvas/read_file_bytes.h"
#include "render/automation/automation_object.h"
#include "render/cell_sizes.h"
#include "render/engine/spreadsheet_server.h"
#include "render/spreadsheet_link.h"
#include "tests/support/acting_as_ordinary_user.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/case_names.h"
#include "tests/support/recording_server.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/workbook_reader.h"
#include "tests/support/text_of.h"

namespace {

// Table cases print as their label in failure messages.
template <typename Case>
  requires requires(const Case& table) { table.label; }
void PrintTo(const Case& table, std::ostream* out) {
  *out << table.label;
}

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr ColourValue kRed = MakeColourValue(255, 0, 0);
constexpr ColourValue kGreen = MakeColourValue(0, 128, 0);
constexpr ColourValue kBlue = MakeColourValue(0, 0, 255);
constexpr ColourValue kYellow = MakeColourValue(255, 255, 0);

// A window for the conversion run: it answers the dialogs as scripted, shows the picture on
// a real canvas surface, and writes every call it gets into a timeline. With a recording
// server it first copies the requests that reached the server since its last call, so the
// timeline shows window calls and spreadsheet requests in the order they happened.
class ScriptedWindow final : public ConversionWindow {
 public:
  explicit ScriptedWindow(const AutomationRegistry& registry, RecordingServer* server = nullptr)
      : application_(registry), server_(server) {}

  // The picture the open button loaded: its path, and the canvas showing it as after the
  // window's next paint.
  void LoadPicture(const std::string& path) {
    picture_ = path;
    canvas_.SetCanvasPicture(ReadFileBytes(path));
    canvas_.RepaintIfRequested();
  }
  CanvasSurface& Canvas() { return canvas_; }

  // The save dialog's answer: the path the user confirms, or nothing for a cancel.
  std::optional<std::string> saveAs;
  // The answer to the missing-picture question; the picture that a Yes then opens.
  bool answerYes = false;
  std::string pictureOpenedOnYes;
  int cellSizeIndex = 0;
  // Called after each row's progress, with the server's log up to that point.
  std::function<void()> afterRow;

  const std::vector<std::string>& Timeline() {
    CopyRequests();
    return timeline_;
  }
  const std::vector<std::string>& ProgressTexts() const { return texts_; }
  const std::vector<int>& ProgressPositions() const { return positions_; }

  // ConversionWindow.
  void SetOutputFileName(const std::string& name) override {
    Note("SetOutputFileName " + name);
    outputFileName_ = name;
  }
  std::string OutputFileName() const override { return outputFileName_; }
  bool ShowSaveDialog() override {
    Note("ShowSaveDialog");
    if (saveAs) outputFileName_ = *saveAs;
    return saveAs.has_value();
  }
  std::string SourcePicturePath() const override { return picture_; }
  void OpenPicture() override {
    Note("OpenPicture");
    LoadPicture(pictureOpenedOnYes);
  }
  bool AskYesNo(const std::string& text, const std::string& title) override {
    Note("AskYesNo " + text + " | " + title);
    return answerYes;
  }
  void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override {
    const char* icons[] = {"none", "information", "error"};
    Note("ShowMessage " + text + " | " + title + " | " + icons[static_cast<int>(icon)]);
  }
  void SetButtonsDisabled(bool disabled) override {
    Note(disabled ? "SetButtonsDisabled true" : "SetButtonsDisabled false");
  }
  void SetProgressText(const std::string& text) override {
    Note("SetProgressText " + text);
    texts_.push_back(text);
  }
  void SetProgressPosition(int position) override {
    Note("SetProgressPosition " + std::to_string(position));
    positions_.push_back(position);
  }
  void RepaintProgress() override {
    Note("RepaintProgress");
    if (afterRow) afterRow();
  }
  int SelectedCellSizeIndex() const override { return cellSizeIndex; }
  std::string CellSizeItemText(int index) const override { return kCellSizes.at(index).text; }
  int CellSizeItemValue(int index) const override { return kCellSizes.at(index).value; }
  ColourValue CanvasPixel(int x, int y) const override { return canvas_.GetCanvasPixel(x, y); }
  ApplicationLink& ApplicationComponent() override { return application_; }
  WorkbookLink& WorkbookComponent() override { return workbook_; }

 private:
  void CopyRequests() {
    if (server_ == nullptr) return;
    const std::vector<std::string>& requests = server_->Requests();
    timeline_.insert(timeline_.end(), requests.begin() + static_cast<long>(requestsCopied_),
                     requests.end());
    requestsCopied_ = requests.size();
  }
  void Note(const std::string& call) {
    CopyRequests();
    timeline_.push_back("window " + call);
  }

  ApplicationLink application_;
  WorkbookLink workbook_;
  RecordingServer* server_;
  CanvasSurface canvas_;
  std::string picture_;
  std::string outputFileName_;
  std::vector<std::string> timeline_;
  std::size_t requestsCopied_ = 0;
  std::vector<std::string> texts_;
  std::vector<int> positions_;
};

// Column letters for the small widths the tests use, worked out here independently.
std::string Letters(int column) {
  std::string letters;
  for (; column > 0; column = (column - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  }
  return letters;
}

// What openpyxl reports for a filled cell.
std::string FilledCell(int column, int row, ColourValue colour) {
  return Letters(column) + std::to_string(row) + " solid " + ArgbText(colour);
}

// Every test starts and ends with no automation object alive: whatever the run took from
// the spreadsheet, it gave back.
class ConversionRun : public ::testing::Test {
 protected:
  ConversionRun() { RegisterSpreadsheetEngine(engine_); }
  void SetUp() override { ASSERT_EQ(LiveAutomationObjects(), 0u); }
  void TearDown() override { EXPECT_EQ(LiveAutomationObjects(), 0u) << "a reference was kept"; }

  // A picture file in the scratch folder.
  std::string Picture(const std::string& name, int width, int height,
                      const std::function<ColourValue(int, int)>& colourAt) {
    const std::string path = folder_ / name;
    WriteBmp(path, width, height, colourAt);
    return path;
  }

  AutomationRegistry engine_;
  RecordingServer server_;
  ScratchFolder folder_;
};

// The requests that make a blank workbook ready, and those that size, save and quit.
std::vector<std::string> PreparingRequests(const std::string& path) {
  return {"Application.Workbooks get() @0",
          "Workbooks.Add method(missing) @0",
          "Workbook.Sheets get() @0",
          "Sheets.Item get(int 1) @0",
          "Workbook.Activate method() @0",
          "Sheets.Item get(int 1) @0",
          "Application.Caption put(= \"" + path + "\") @0",
          "Application.Visible put(= bool 0) @0"};
}

std::vector<std::string> CellRequests(const std::string& address, ColourValue colour) {
  return {"Worksheet.Range get(\"" + address + "\", \"" + address + "\") @0",
          "Range.Interior get() @1024",
          "Interior.Color put(= int " + std::to_string(static_cast<int>(colour)) + ") @1024"};
}

std::vector<std::string> RowDone(const std::string& text, int position) {
  return {"window SetProgressText " + text,
          "window SetProgressPosition " + std::to_string(position), "window RepaintProgress"};
}

std::vector<std::string> FinishingRequests(const std::string& path) {
  return {"Worksheet.Cells get() @1024",
          "Range.RowHeight put(= \"1\") @1024",
          "Worksheet.Cells get() @1024",
          "Range.ColumnWidth put(= double 0.08) @1024",
          "Workbook.Application get() @1024",
          "Application.DisplayAlerts put(= bool 0) @1024",
          "Worksheet.SaveAs method(\"" + path +
              "\", missing, missing, missing, missing, missing, missing, missing, missing) @0",
          "Workbook.Application get() @1024",
          "Application.Quit method() @1024"};
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(ConversionRun, OnePixelTakesEveryStepInOrder) {
  ScriptedWindow window(server_.Registry(), &server_);
  window.LoadPicture(Picture("one.bmp", 1, 1, [](int, int) { return kRed; }));
  const std::string output = folder_ / "作品-1.xls";
  window.saveAs = output;

  RunConversion(window);

  EXPECT_THAT(window.Timeline(),
              ElementsAreArray(Joined({
                  {"window SetOutputFileName 作品-", "window ShowSaveDialog",
                   "window SetButtonsDisabled true"},
                  PreparingRequests(output),
                  CellRequests("A1", kRed),
                  RowDone("当前填充行列：A(1):1", 0),
                  FinishingRequests(output),
                  {"window ShowMessage 保存转换文件到：\r\n" + output + " | 转换完成 | information",
                   "window SetButtonsDisabled false"},
              })));
}

TEST_F(ConversionRun, TwoByTwoFillsRowByRowWithTheCanvasColours) {
  // red   green
  // blue  yellow
  const ColourValue grid[2][2] = {{kRed, kGreen}, {kBlue, kYellow}};
  ScriptedWindow window(server_.Registry(), &server_);
  window.LoadPicture(Picture("four.bmp", 2, 2, [&grid](int x, int y) { return grid[y][x]; }));
  const std::string output = folder_ / "作品-4.xls";
  window.saveAs = output;

  RunConversion(window);

  EXPECT_THAT(window.Timeline(),
              ElementsAreArray(Joined({
                  {"window SetOutputFileName 作品-", "window ShowSaveDialog",
                   "window SetButtonsDisabled true"},
                  PreparingRequests(output),
                  CellRequests("A1", kRed),
                  CellRequests("B1", kGreen),
                  RowDone("当前填充行列：B(2):1", 0),
                  CellRequests("A2", kBlue),
                  CellRequests("B2", kYellow),
                  RowDone("当前填充行列：B(2):2", 0),
                  FinishingRequests(output),
                  {"window ShowMessage 保存转换文件到：\r\n" + output + " | 转换完成 | information",
                   "window SetButtonsDisabled false"},
              })));
  const WorkbookFacts facts = ReadWorkbook("openpyxl", output, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("cell"),
              ElementsAre(FilledCell(1, 1, kRed), FilledCell(2, 1, kGreen), FilledCell(1, 2, kBlue),
                          FilledCell(2, 2, kYellow)));
}

// Pictures of telling sizes: the progress after each row, and every cell of the workbook.
struct SizeCase {
  const char* label;
  int width;
  int height;
  std::vector<int> positions;
  const char* lastText;
};

class PictureSizes : public ConversionRun, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PictureSizes, ReportProgressAndFillEveryCellOnce) {
  const SizeCase& size = GetParam();
  const auto colourAt = [](int x, int y) { return MakeColourValue(x * 8, y * 30, 200); };
  ScriptedWindow window(engine_);
  window.LoadPicture(Picture("picture.bmp", size.width, size.height, colourAt));
  const std::string output = folder_ / "out.xls";
  window.saveAs = output;

  RunConversion(window);

  EXPECT_EQ(window.ProgressPositions(), size.positions);
  ASSERT_EQ(window.ProgressTexts().size(), static_cast<std::size_t>(size.height));
  EXPECT_EQ(window.ProgressTexts().back(), size.lastText);
  const WorkbookFacts facts = ReadWorkbook("openpyxl", output, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  std::vector<std::string> cells;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) cells.push_back(FilledCell(x + 1, y + 1, colourAt(x, y)));
  }
  EXPECT_EQ(facts.Values("cell"), cells);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PictureSizes,
    ::testing::Values(SizeCase{"ThirtyBySeven", 30, 7, {0, 0, 0, 1, 1, 1, 2},
                               "当前填充行列：AD(30):7"},
                      SizeCase{"TwentySixWide", 26, 2, {0, 0}, "当前填充行列：Z(26):2"},
                      SizeCase{"TwentySevenWide", 27, 2, {0, 0}, "当前填充行列：AA(27):2"}),
    CaseLabel());

// The largest picture: 480,000 cells, the last of them ADT600. Only the last row's requests
// are kept, so the log stays small.
TEST_F(ConversionRun, LargestPictureEndsAtADT600WithTheBarFull) {
  ScriptedWindow window(server_.Registry());
  window.LoadPicture(Picture("largest.bmp", 800, 600, [](int, int) { return kGreen; }));
  window.saveAs = folder_ / "largest.xls";
  std::vector<std::string> lastRow;
  window.afterRow = [&] {
    lastRow = server_.Requests();
    server_.ClearRequests();
  };

  RunConversion(window);

  ASSERT_EQ(window.ProgressTexts().size(), 600u);
  EXPECT_EQ(window.ProgressTexts().front(), "当前填充行列：ADT(800):1");
  EXPECT_EQ(window.ProgressTexts().back(), "当前填充行列：ADT(800):600");
  EXPECT_EQ(window.ProgressPositions().back(), 4800);
  ASSERT_EQ(lastRow.size(), 800u * 3);
  EXPECT_EQ(lastRow[0], "Worksheet.Range get(\"A600\", \"A600\") @0");
  EXPECT_EQ(lastRow[lastRow.size() - 3], "Worksheet.Range get(\"ADT600\", \"ADT600\") @0");
  // Row 600 lies below the canvas's drawing area: every pixel of it goes out as -1.
  EXPECT_THAT(lastRow.back(), HasSubstr("Interior.Color put(= int -1)"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "largest.xls"));
}

// Columns 799 and 800, and rows 599 and 600, lie past the canvas's 798 × 598 drawing area.
// The canvas reports no colour there; the run passes that on as -1, which the spreadsheet
// refuses as a colour, so those cells stay unfilled.
struct BorderCase {
  const char* label;
  int width;
  int height;
  const char* firstOutside;  // the first cell outside the drawing area
  int filledColumns;
  int filledRows;
};

class PastTheDrawingArea : public ConversionRun,
                           public ::testing::WithParamInterface<BorderCase> {};

TEST_P(PastTheDrawingArea, CellsAreLeftUnfilled) {
  const BorderCase& border = GetParam();
  ScriptedWindow window(server_.Registry(), &server_);
  window.LoadPicture(Picture("wide.bmp", border.width, border.height, [](int, int) { return kBlue; }));
  const std::string output = folder_ / "out.xls";
  window.saveAs = output;

  RunConversion(window);

  const std::vector<std::string> requests = server_.Requests();
  const std::string outside = border.firstOutside;
  const auto range = std::find(requests.begin(), requests.end(),
                               "Worksheet.Range get(\"" + outside + "\", \"" + outside + "\") @0");
  ASSERT_LT(range + 2, requests.end());
  EXPECT_EQ(range[2], "Interior.Color put(= int -1) @1024 -> DISP_E_EXCEPTION");

  const WorkbookFacts facts = ReadWorkbook("openpyxl", output, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  const std::vector<std::string> cells = facts.Values("cell");
  EXPECT_EQ(cells.size(), static_cast<std::size_t>(border.filledColumns * border.filledRows));
  EXPECT_EQ(cells.back(), FilledCell(border.filledColumns, border.filledRows, kBlue));
}

INSTANTIATE_TEST_SUITE_P(Edges, PastTheDrawingArea,
                         ::testing::Values(BorderCase{"Columns799And800", 800, 2, "ADS1", 798, 2},
                                           BorderCase{"Rows599And600", 3, 600, "A599", 3, 598}),
                         CaseLabel());

// The five items of the cell-size list: the row height goes as the item's text, the column
// width as its value / 100; the file then holds that height and a column that many pixels
// wide (what the spreadsheet shows as the width asked for).
struct CellSizeCase {
  const char* label;
  int index;
  const char* rowHeight;
  const char* columnWidth;
  int columnPixels;
};

class CellSizes : public ConversionRun, public ::testing::WithParamInterface<CellSizeCase> {};

TEST_P(CellSizes, ComeFromTheSelectedItem) {
  const CellSizeCase& size = GetParam();
  ScriptedWindow window(server_.Registry(), &server_);
  window.LoadPicture(Picture("p.bmp", 2, 1, [](int, int) { return kRed; }));
  window.cellSizeIndex = size.index;
  const std::string output = folder_ / "sized.xls";
  window.saveAs = output;

  RunConversion(window);

  EXPECT_THAT(server_.Requests(),
              ::testing::IsSupersetOf(
                  {std::string("Range.RowHeight put(= \"") + size.rowHeight + "\") @1024",
                   std::string("Range.ColumnWidth put(= double ") + size.columnWidth + ") @1024"}));
  const WorkbookFacts facts = ReadWorkbook("openpyxl", output);
  ASSERT_EQ(facts.exitCode, 0);
  ASSERT_EQ(facts.Values("default-row-height").size(), 1u);
  EXPECT_DOUBLE_EQ(std::stod(Words(facts.Values("default-row-height")[0])[0]),
                   std::stod(size.rowHeight));
  ASSERT_EQ(facts.Values("column").size(), 1u);
  const std::vector<std::string> column = Words(facts.Values("column")[0]);
  EXPECT_EQ(column[0] + ":" + column[1], "1:16384") << "every column has the width";
  EXPECT_EQ(std::lround(std::stod(column[2]) * 7), size.columnPixels) << "7 pixels a character";
}

INSTANTIATE_TEST_SUITE_P(List, CellSizes,
                         ::testing::Values(CellSizeCase{"Item1AtStart", 0, "1", "0.08", 1},
                                           CellSizeCase{"Item2", 1, "2", "0.15", 2},
                                           CellSizeCase{"Item3", 2, "3", "0.23", 3},
                                           CellSizeCase{"Item4", 3, "4", "0.31", 4},
                                           CellSizeCase{"Item5", 4, "5", "0.38", 5}),
                         CaseLabel());

TEST_F(ConversionRun, PaintedPixelIsRenderedInItsPaintedColour) {
  ScriptedWindow window(engine_);
  window.LoadPicture(Picture("blue.bmp", 3, 3, [](int, int) { return kBlue; }));
  window.Canvas().DrawCanvasPoint(1, 1, kYellow);
  const std::string output = folder_ / "painted.xls";
  window.saveAs = output;

  RunConversion(window);

  const WorkbookFacts facts = ReadWorkbook("openpyxl", output, {"A1", "B2", "C3"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("cell"), ElementsAre(FilledCell(1, 1, kBlue), FilledCell(2, 2, kYellow),
                                                FilledCell(3, 3, kBlue)));
}

// Without a picture the run only asks whether to choose one; a Yes opens one, and still
// no workbook is made.
struct NoPictureCase {
  const char* label;
  bool answerYes;
  std::vector<std::string> calls;
};

class WithoutAPicture : public ConversionRun,
                        public ::testing::WithParamInterface<NoPictureCase> {};

TEST_P(WithoutAPicture, OnlyTheQuestionIsAsked) {
  ScriptedWindow window(server_.Registry(), &server_);
  window.answerYes = GetParam().answerYes;
  window.pictureOpenedOnYes = Picture("chosen.bmp", 2, 2, [](int, int) { return kRed; });
  window.saveAs = folder_ / "never.xls";

  RunConversion(window);

  EXPECT_EQ(window.Timeline(), GetParam().calls);
  EXPECT_EQ(window.OutputFileName(), "作品-");
  EXPECT_EQ(window.SourcePicturePath().empty(), !GetParam().answerYes);
  EXPECT_EQ(folder_.Names(), std::set<std::string>{"chosen.bmp"});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WithoutAPicture,
    ::testing::Values(NoPictureCase{"No", false,
                                    {"window SetOutputFileName 作品-",
                                     "window AskYesNo 你还没有选择源图片，现在是否选择？ | 信息："}},
                      NoPictureCase{"YesOpensOne", true,
                                    {"window SetOutputFileName 作品-",
                                     "window AskYesNo 你还没有选择源图片，现在是否选择？ | 信息：",
                                     "window OpenPicture"}}),
    CaseLabel());

TEST_F(ConversionRun, CancelledSaveDialogStartsNothing) {
  ScriptedWindow window(server_.Registry(), &server_);
  window.LoadPicture(Picture("p.bmp", 2, 2, [](int, int) { return kRed; }));

  RunConversion(window);

  EXPECT_THAT(window.Timeline(),
              ElementsAre("window SetOutputFileName 作品-", "window ShowSaveDialog"));
}

TEST_F(ConversionRun, WithoutASpreadsheetApplicationSaysSoAndEnablesTheButtons) {
  const AutomationRegistry noSpreadsheet;
  ScriptedWindow window(noSpreadsheet);
  window.LoadPicture(Picture("p.bmp", 2, 2, [](int, int) { return kRed; }));
  window.saveAs = folder_ / "never.xls";

  RunConversion(window);

  EXPECT_THAT(window.Timeline(),
              ElementsAre("window SetOutputFileName 作品-", "window ShowSaveDialog",
                          "window SetButtonsDisabled true",
                          "window ShowMessage 你都没有装Excel你让我搞什么？？ | 信息： | none",
                          "window SetButtonsDisabled false"));
  EXPECT_EQ(folder_.Names(), std::set<std::string>{"p.bmp"});
}

// A picture moved away after it was opened measures 0 × 0: no cell is filled, and an empty
// workbook is saved.
TEST_F(ConversionRun, PictureGoneSinceOpeningGivesAnEmptyWorkbook) {
  ScriptedWindow window(server_.Registry(), &server_);
  const std::string picture = Picture("p.bmp", 2, 2, [](int, int) { return kRed; });
  window.LoadPicture(picture);
  std::filesystem::remove(picture);
  const std::string output = folder_ / "empty.xls";
  window.saveAs = output;

  RunConversion(window);

  EXPECT_THAT(window.ProgressTexts(), IsEmpty());
  EXPECT_THAT(server_.Requests(), Not(::testing::Contains(HasSubstr("Worksheet.Range"))));
  EXPECT_EQ(window.Timeline().end()[-2],
            "window ShowMessage 保存转换文件到：\r\n" + output + " | 转换完成 | information");
  const WorkbookFacts facts = ReadWorkbook("openpyxl", output, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("cell"), IsEmpty());
}

// A picture swapped for a larger one after it was opened is rendered no further than the
// largest picture the program takes: 800 columns (ADT) and 600 rows.
TEST_F(ConversionRun, PictureSwappedForALargerOneStopsAtTheLimits) {
  ScriptedWindow window(engine_);
  const std::string picture = Picture("p.bmp", 2, 2, [](int, int) { return kRed; });
  window.LoadPicture(picture);
  WriteBmp(picture, 900, 700, kRed);
  window.saveAs = folder_ / "limited.xls";

  RunConversion(window);

  ASSERT_EQ(window.ProgressTexts().size(), 600u);
  EXPECT_EQ(window.ProgressTexts().back(), "当前填充行列：ADT(800):600");
  EXPECT_EQ(window.ProgressPositions().back(), 4800);
}

// A workbook that cannot be written is reported as not saved, never as saved, and whatever
// was at the path before is left as it was.
struct SaveFailureCase {
  const char* label;
  std::function<std::string(const ScratchFolder&)> prepareTarget;  // gives the output path
};

class SaveFailure : public ConversionRun, public ::testing::WithParamInterface<SaveFailureCase> {};

TEST_P(SaveFailure, ShowsTheErrorNamingThePathAndDamagesNothing) {
  ScriptedWindow window(engine_);
  window.LoadPicture(Picture("p.bmp", 2, 2, [](int, int) { return kRed; }));
  const std::string output = GetParam().prepareTarget(folder_);
  const std::string before = FileText(output);
  const std::string outputFolder = std::filesystem::path(output).parent_path().string();
  const bool folderThere = std::filesystem::exists(outputFolder);
  const std::set<std::string> namesBefore = folderThere ? folder_.Names(outputFolder) : std::set<std::string>{};
  window.saveAs = output;

  {
    const ActingAsOrdinaryUser ordinaryUser;
    RunConversion(window);
  }

  EXPECT_EQ(window.Timeline().end()[-2],
            "window ShowMessage 文件没有保存，无法写入：\r\n" + output + " | 转换失败 | error");
  EXPECT_EQ(window.Timeline().back(), "window SetButtonsDisabled false");
  EXPECT_THAT(window.Timeline(), Not(::testing::Contains(HasSubstr("保存转换文件到"))));
  EXPECT_EQ(FileText(output), before);
  EXPECT_EQ(std::filesystem::exists(outputFolder), folderThere);
  if (folderThere) {
    EXPECT_EQ(folder_.Names(outputFolder), namesBefore) << "a file was left behind";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SaveFailure,
    ::testing::Values(
        SaveFailureCase{"FolderMissing",
                        [](const ScratchFolder& folder) { return folder / "missing/作品-1.xls"; }},
        SaveFailureCase{"ReadOnlyFolderWithAnEarlierFile",
                        [](const ScratchFolder& folder) {
                          std::filesystem::create_directory(folder / "locked");
                          const std::string path = folder / "locked/作品-1.xls";
                          std::ofstream(path) << "an earlier workbook";
                          chmod((folder / "locked").c_str(), 0555);
                          return path;
                        }}),
    CaseLabel());

}  // namespace
