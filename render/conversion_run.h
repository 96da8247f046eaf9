#pragma once

#include <string>

#include "canvas/colour_value.h"
#include "canvas/message_kinds.h"

class ApplicationLink;
class WorkbookLink;

// What the conversion run reads and changes of the window it runs in.
class ConversionWindow {
 public:
  virtual ~ConversionWindow() = default;

  // The save dialog: its file name (what it proposes; after a confirmed dialog, the full
  // path of the chosen file) and its opening, true when the user confirmed.
  virtual void SetOutputFileName(const std::string& name) = 0;
  virtual std::string OutputFileName() const = 0;
  virtual bool ShowSaveDialog() = 0;

  // The source picture path, empty when no picture is loaded, and the open button's
  // action, run exactly as its click would run it.
  virtual std::string SourcePicturePath() const = 0;
  virtual void OpenPicture() = 0;

  // Message boxes: a question with Yes and No (true only for Yes), and a notice with OK.
  virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;
  virtual void ShowMessage(const std::string& text, const std::string& title,
                           MessageIcon icon) = 0;

  // The open and make buttons, disabled together for the length of a run.
  virtual void SetButtonsDisabled(bool disabled) = 0;

  // Progress after each row: the label's text and the progress bar's position, then a
  // repaint of the two so the person watching sees them while the run holds the thread.
  virtual void SetProgressText(const std::string& text) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void RepaintProgress() = 0;

  // The cell-size list: the selected index, and an item's text and value.
  virtual int SelectedCellSizeIndex() const = 0;
  virtual std::string CellSizeItemText(int index) const = 0;
  virtual int CellSizeItemValue(int index) const = 0;

  // The colour the canvas shows at (x, y), kNoColour outside its drawing area.
  virtual ColourValue CanvasPixel(int x, int y) const = 0;

  // The window's two spreadsheet components, Excel程序1 and Excel工作簿1.
  virtual ApplicationLink& ApplicationComponent() = 0;
  virtual WorkbookLink& WorkbookComponent() = 0;
};

inline constexpr const char* kProposedOutputName = "作品-";
inline constexpr const char* kNoPictureQuestion = "你还没有选择源图片，现在是否选择？";
inline constexpr const char* kNoSpreadsheetMessage = "你都没有装Excel你让我搞什么？？";
inline constexpr const char* kSavedMessage = "保存转换文件到：\r\n";
inline constexpr const char* kSavedTitle = "转换完成";
inline constexpr const char* kNotSavedMessage = "文件没有保存，无法写入：\r\n";
inline constexpr const char* kNotSavedTitle = "转换失败";

// The make button's click: renders what the canvas shows, one cell per pixel of the source
// picture, into a new workbook saved under the name the user chooses.
void RunConversion(ConversionWindow& window);

// The progress text after row `row` of a picture `width` pixels wide, e.g.
// "当前填充行列：ADT(800):1".
std::string RowProgressText(int width, int row);
