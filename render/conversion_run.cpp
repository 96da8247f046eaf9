#include "render/conversion_run.h"

#include <algorithm>
#include <cstdint>

#include "canvas/open_picture.h"
#include "canvas/picture.h"
#include "canvas/picture_file.h"
#include "render/column_name.h"
#include "render/spreadsheet_link.h"

namespace {

// The run's own references to the spreadsheet, each released when replaced and, at the
// latest, when the run ends.
struct RunReferences {
  ComObject range;
  ComObject worksheet;
  ComObject workbook;
};

void PrepareWorkbook(ApplicationLink& application, WorkbookLink& workbook,
                     const std::string& outputPath) {
  workbook.CreateWorkbook(application);
  workbook.ActivateWorkbook();
  workbook.SelectSheet(1);
  application.SetApplicationCaption(outputPath);
  application.SetApplicationVisible(false);
}

void FillCell(ConversionWindow& window, WorkbookLink& workbook, RunReferences& run,
              int column, const std::string& row, int x, int y) {
  const std::string address = ColumnName(column) + row;
  workbook.SetRangeCell1(address);
  workbook.SetRangeCell2(address);
  ComObject range = workbook.GetRangeObject();
  ClearObject(run.range);
  run.range = std::move(range);

  ComObject interior = GetObjectProperty(run.range, "Interior");
  const ColourValue colour = window.CanvasPixel(x, y);
  // Passed on unchanged as a 32-bit integer: "no colour" goes out as -1.
  SetObjectProperty(interior, "Color", static_cast<std::int32_t>(colour));
  ClearObject(interior);
}

// A picture that was within the limits when it was opened may have been replaced since;
// its rows and columns are taken no further than the limits, so a file swapped for a huge
// one cannot turn the run into billions of requests or columns past ZZZ.
int WithinLimit(int size, int limit) { return std::clamp(size, 0, limit); }

void FillCells(ConversionWindow& window, WorkbookLink& workbook, RunReferences& run) {
  const std::string picture = window.SourcePicturePath();
  const int height = WithinLimit(PictureHeight(picture), kMaxPictureHeight);
  for (int r = 1; r <= height; ++r) {
    const int width = WithinLimit(PictureWidth(picture), kMaxPictureWidth);
    const std::string row = std::to_string(r);
    for (int c = 1; c <= width; ++c) FillCell(window, workbook, run, c, row, c - 1, r - 1);
    window.SetProgressText(RowProgressText(width, r));
    window.SetProgressPosition(CellsInHundreds(r, width));
    window.RepaintProgress();
  }
}

void SizeCells(ConversionWindow& window, const ComObject& worksheet) {
  ComObject cells = GetObjectProperty(worksheet, "Cells");
  SetObjectProperty(cells, "RowHeight", window.CellSizeItemText(window.SelectedCellSizeIndex()));
  ClearObject(cells);

  cells = GetObjectProperty(worksheet, "Cells");
  SetObjectProperty(cells, "ColumnWidth",
                    window.CellSizeItemValue(window.SelectedCellSizeIndex()) / 100.0);
  ClearObject(cells);
}

void SetDisplayAlerts(const ComObject& workbook, bool on) {
  ComObject application = GetObjectProperty(workbook, "Application");
  SetObjectProperty(application, "DisplayAlerts", on);
  ClearObject(application);
}

void QuitApplication(const ComObject& workbook) {
  ComObject application = GetObjectProperty(workbook, "Application");
  CallObjectMethod(application, "Quit");
  ClearObject(application);
}

}  // namespace

std::string RowProgressText(int width, int row) {
  return "当前填充行列：" + ColumnName(width) + "(" + std::to_string(width) +
         "):" + std::to_string(row);
}

void RunConversion(ConversionWindow& window) {
  window.SetOutputFileName(kProposedOutputName);
  if (window.SourcePicturePath().empty()) {
    if (window.AskYesNo(kNoPictureQuestion, kDefaultMessageTitle)) window.OpenPicture();
    return;
  }
  if (!window.ShowSaveDialog()) return;
  const std::string outputPath = window.OutputFileName();

  window.SetButtonsDisabled(true);
  ApplicationLink& application = window.ApplicationComponent();
  WorkbookLink& workbook = window.WorkbookComponent();
  if (!application.StartApplication()) {
    window.ShowMessage(kNoSpreadsheetMessage, kDefaultMessageTitle, MessageIcon::None);
    window.SetButtonsDisabled(false);
    return;
  }
  PrepareWorkbook(application, workbook, outputPath);

  RunReferences run;
  FillCells(window, workbook, run);
  run.worksheet = workbook.GetSheetObject();
  SizeCells(window, run.worksheet);
  run.workbook = workbook.GetWorkbookObject();
  SetDisplayAlerts(run.workbook, false);
  const bool saved = workbook.SaveSheetAs(outputPath);
  QuitApplication(run.workbook);
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();

  // Only a workbook that was written is reported as saved.
  if (saved) {
    window.ShowMessage(kSavedMessage + outputPath, kSavedTitle, MessageIcon::Information);
  } else {
    window.ShowMessage(kNotSavedMessage + outputPath, kNotSavedTitle, MessageIcon::Error);
  }
  window.SetButtonsDisabled(false);
  ClearObject(run.range);
  ClearObject(run.worksheet);
  ClearObject(run.workbook);
}
