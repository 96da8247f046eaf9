#include "app/program_handlers.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "app/color_picker.h"
#include "app/combo_box.h"
#include "app/draw_panel.h"
#include "app/edit_box.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/picture_button.h"
#include "app/process_bar.h"
#include "app/ui_fonts.h"

namespace {

std::string ToText(const QString& text) { return text.toStdString(); }
QString FromText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ProgramHandlers::ProgramHandlers(MainWindow& window, MessageBoxService& messages)
    : window_(window), messages_(messages) {
  canvas_.SetTextFont(WindowFont());
  DrawPanel& panel = *window_.画板1;
  panel.SetDisplayedImage(&canvas_.DisplayedImage());
  // The panel shows the surface's displayed image; a repaint the surface was asked for
  // happens when the panel next paints. The window system's own exposures only copy the
  // displayed image back to the screen (Qt keeps a backing store), so they never erase
  // what was drawn on the canvas.
  panel.SetPaintPreparation([this] { canvas_.RepaintIfRequested(); });
  canvas_.SetChangeListener([&panel] { panel.RepaintDrawingArea(); });
}

ProgramHandlers::~ProgramHandlers() {
  window_.画板1->SetPaintPreparation({});
  window_.画板1->SetDisplayedImage(nullptr);
}

void ProgramHandlers::OpenPicture() { ::OpenPicture(*this); }
void ProgramHandlers::RunConversion() { ::RunConversion(*this); }

void ProgramHandlers::CanvasMouseDown(std::uint16_t x, std::uint16_t y, int keyState) {
  editor_.CanvasMouseDown(x, y, keyState);
}
void ProgramHandlers::CanvasMouseMove(std::uint16_t x, std::uint16_t y, int keyState) {
  editor_.CanvasMouseMove(x, y, keyState);
}
void ProgramHandlers::CanvasMouseUp(std::uint16_t x, std::uint16_t y, int keyState) {
  editor_.CanvasMouseUp(x, y, keyState);
}
void ProgramHandlers::CanvasReleasedElsewhere() { editor_.LeftReleasedElsewhere(); }

// Opening a picture.

bool ProgramHandlers::ShowPictureDialog() { return window_.通用对话框2.Open(); }
std::string ProgramHandlers::SourcePicturePath() const {
  return ToText(window_.通用对话框2.FileName());
}
void ProgramHandlers::SetSourcePicturePath(const std::string& path) {
  window_.通用对话框2.SetFileName(FromText(path));
}
void ProgramHandlers::ShowMessage(const std::string& text, const std::string& title) {
  ShowMessageBox(messages_, FromText(text), FromText(title));
}
void ProgramHandlers::SetProgressMaximum(int maximum) { window_.进度条1->SetMaximum(maximum); }

// Editing.

bool ProgramHandlers::PictureLoaded() const { return !window_.通用对话框2.FileName().isEmpty(); }
bool ProgramHandlers::EditingEnabled() const { return window_.选择框1->isChecked(); }
bool ProgramHandlers::PenMode() const { return window_.单选框4->isChecked(); }
bool ProgramHandlers::TextMode() const { return window_.单选框6->isChecked(); }
ColourValue ProgramHandlers::PenColour() const { return window_.颜色选择器1->Colour(); }
std::string ProgramHandlers::TextToStamp() const { return ToText(window_.编辑框1->Text()); }

// The conversion.

void ProgramHandlers::SetOutputFileName(const std::string& name) {
  window_.通用对话框1.SetFileName(FromText(name));
}
std::string ProgramHandlers::OutputFileName() const {
  return ToText(window_.通用对话框1.FileName());
}
bool ProgramHandlers::ShowSaveDialog() { return window_.通用对话框1.Open(); }
bool ProgramHandlers::AskYesNo(const std::string& text, const std::string& title) {
  return ShowMessageBox(messages_, FromText(text), FromText(title), MessageButtons::YesNo) ==
         MessageAnswer::Yes;
}
void ProgramHandlers::ShowMessage(const std::string& text, const std::string& title,
                                  MessageIcon icon) {
  ShowMessageBox(messages_, FromText(text), FromText(title), MessageButtons::Ok, icon);
}
void ProgramHandlers::SetButtonsDisabled(bool disabled) {
  window_.按钮_制作->setDisabled(disabled);
  window_.按钮_打开->setDisabled(disabled);
}
void ProgramHandlers::SetProgressText(const std::string& text) {
  window_.标签1->setText(FromText(text));
}
void ProgramHandlers::SetProgressPosition(int position) { window_.进度条1->SetPosition(position); }
// The run holds the thread until it ends, so the two controls are painted right away
// instead of at the event loop's next turn, which the run never gives.
void ProgramHandlers::RepaintProgress() {
  window_.标签1->repaint();
  window_.进度条1->repaint();
}
int ProgramHandlers::SelectedCellSizeIndex() const { return window_.组合框1->SelectedIndex(); }
std::string ProgramHandlers::CellSizeItemText(int index) const {
  return ToText(window_.组合框1->ItemText(index));
}
int ProgramHandlers::CellSizeItemValue(int index) const {
  return window_.组合框1->ItemValue(index);
}
ColourValue ProgramHandlers::CanvasPixel(int x, int y) const {
  return canvas_.GetCanvasPixel(x, y);
}
ApplicationLink& ProgramHandlers::ApplicationComponent() { return window_.Excel程序1; }
WorkbookLink& ProgramHandlers::WorkbookComponent() { return window_.Excel工作簿1; }
