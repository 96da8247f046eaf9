#pragma once
// The program's one window: a fixed 910 × 631 client area holding the canvas, the
// editing and cell-size group boxes, the two picture buttons, the progress bar, the
// status bar and the two file dialogs. Handlers reach the controls by their names.

#include <QWidget>
#include <cstdint>

#include "app/common_dlg.h"
#include "render/spreadsheet_link.h"

class ColourChooser;
class ColorPicker;
class ComboBox;
class DrawPanel;
class EditBox;
class FileDialogService;
class PictureButton;
class ProcessBar;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QStatusBar;
class WindowHandlers;
class WindowKeyboard;

class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 910;
  static constexpr int kClientHeight = 631;
  static constexpr int kStatusBarHeight = 20;

  // Creates the window hidden, with every control in its start state. Its spreadsheet
  // component starts applications through `spreadsheets`, which must outlive the window.
  MainWindow(FileDialogService& fileDialogs, ColourChooser& colourChooser,
             const AutomationRegistry& spreadsheets = DefaultAutomationRegistry(),
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // The handlers of the buttons' clicks (and Enter) and of the canvas's mouse; not owned.
  // Without handlers the events do nothing.
  void SetHandlers(WindowHandlers* handlers) { handlers_ = handlers; }

  // The controls, named as in the window design.
  DrawPanel* 画板1 = nullptr;
  ProcessBar* 进度条1 = nullptr;
  QStatusBar* 状态条1 = nullptr;
  QGroupBox* 分组框3 = nullptr;
  QCheckBox* 选择框1 = nullptr;
  QRadioButton* 单选框4 = nullptr;
  QLabel* 标签1 = nullptr;
  ColorPicker* 颜色选择器1 = nullptr;
  QRadioButton* 单选框6 = nullptr;
  EditBox* 编辑框1 = nullptr;
  QLabel* 标签2 = nullptr;
  QGroupBox* 分组框2 = nullptr;
  ComboBox* 组合框1 = nullptr;
  QLabel* 标签3 = nullptr;
  PictureButton* 按钮_打开 = nullptr;
  PictureButton* 按钮_制作 = nullptr;
  CommonDlg 通用对话框2;  // the source picture
  CommonDlg 通用对话框1;  // the output workbook
  ApplicationLink Excel程序1;  // the spreadsheet application
  WorkbookLink Excel工作簿1;  // its workbook

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateCanvasAndBars();
  void CreateEditingGroup(ColourChooser& colourChooser);
  void CreateCellSizeGroup();
  void CreateButtons();
  void SetUpKeyboard();
  void ConnectEvents();

  WindowHandlers* handlers_ = nullptr;
  WindowKeyboard* keyboard_ = nullptr;
};
