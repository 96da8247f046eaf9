#pragma once

#include <string>

#include "canvas/message_kinds.h"

class CanvasSurface;

// What opening a picture needs of the window: the picture dialog, a message box, the
// progress bar's maximum and the canvas.
class PictureOpeningWindow {
 public:
  virtual ~PictureOpeningWindow() = default;
  // Shows the picture dialog; true when the user confirmed a file.
  virtual bool ShowPictureDialog() = 0;
  // The picture dialog's file name: the source picture path, empty when none is loaded.
  virtual std::string SourcePicturePath() const = 0;
  virtual void SetSourcePicturePath(const std::string& path) = 0;
  // A message box with an OK button and no icon.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual CanvasSurface& Canvas() = 0;
};

inline constexpr const char* kPictureTooLargeMessage =
    "本程序限制图片最大为800*600像素的图片，请调整文件尺寸后重试";

// The open button's click: lets the user choose a picture, refuses one wider than 800 or
// higher than 600 pixels (emptying the source picture path), and otherwise puts it on the
// canvas and sets the progress bar's maximum to the number of cells in hundreds.
void OpenPicture(PictureOpeningWindow& window);

// trunc(height × width / 100), the number of cells of a picture in hundreds, computed in
// double precision and truncated toward zero.
int CellsInHundreds(int height, int width);
