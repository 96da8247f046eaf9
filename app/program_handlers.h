#pragma once
// The program's handlers of the window's events, given to the window at start-up. They
// own the canvas surface and the editing state, and reach the window's controls through
// the small interfaces the handlers are written against.

#include "app/window_handlers.h"
#include "canvas/canvas_editing.h"
#include "canvas/canvas_surface.h"
#include "canvas/open_picture.h"
#include "render/conversion_run.h"

class MainWindow;
class MessageBoxService;

class ProgramHandlers final : public WindowHandlers,
                              private PictureOpeningWindow,
                              private EditingControls,
                              private ConversionWindow {
 public:
  ProgramHandlers(MainWindow& window, MessageBoxService& messages);
  ~ProgramHandlers() override;

  // The window's events.
  void OpenPicture() override;
  void RunConversion() override;
  void CanvasMouseDown(std::uint16_t x, std::uint16_t y, int keyState) override;
  void CanvasMouseMove(std::uint16_t x, std::uint16_t y, int keyState) override;
  void CanvasMouseUp(std::uint16_t x, std::uint16_t y, int keyState) override;
  void CanvasReleasedElsewhere() override;

  CanvasSurface& Canvas() override { return canvas_; }
  std::int32_t MousePressed() const { return editor_.MousePressed; }

 private:
  // Opening a picture.
  bool ShowPictureDialog() override;
  std::string SourcePicturePath() const override;
  void SetSourcePicturePath(const std::string& path) override;
  void ShowMessage(const std::string& text, const std::string& title) override;
  void SetProgressMaximum(int maximum) override;

  // Editing.
  bool PictureLoaded() const override;
  bool EditingEnabled() const override;
  bool PenMode() const override;
  bool TextMode() const override;
  ColourValue PenColour() const override;
  std::string TextToStamp() const override;

  // The conversion.
  void SetOutputFileName(const std::string& name) override;
  std::string OutputFileName() const override;
  bool ShowSaveDialog() override;
  bool AskYesNo(const std::string& text, const std::string& title) override;
  void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
  void SetButtonsDisabled(bool disabled) override;
  void SetProgressText(const std::string& text) override;
  void SetProgressPosition(int position) override;
  void RepaintProgress() override;
  int SelectedCellSizeIndex() const override;
  std::string CellSizeItemText(int index) const override;
  int CellSizeItemValue(int index) const override;
  ColourValue CanvasPixel(int x, int y) const override;
  ApplicationLink& ApplicationComponent() override;
  WorkbookLink& WorkbookComponent() override;

  MainWindow& window_;
  MessageBoxService& messages_;
  CanvasSurface canvas_;
  CanvasEditor editor_{*this};
};
