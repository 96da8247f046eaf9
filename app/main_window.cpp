#include "app/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <utility>

#include "app/color_picker.h"
#include "app/combo_box.h"
#include "app/draw_panel.h"
#include "app/edit_box.h"
#include "app/picture_button.h"
#include "app/process_bar.h"
#include "app/program_pictures.h"
#include "app/ui_fonts.h"
#include "app/window_handlers.h"
#include "app/window_keyboard.h"
#include "render/cell_sizes.h"

namespace {

// Creates a control under parent, named and placed in parent's client coordinates.
template <typename Control, typename... Arguments>
Control* Place(QWidget* parent, const char* name, QRect geometry, Arguments&&... arguments) {
  auto* control = new Control(std::forward<Arguments>(arguments)..., parent);
  control->setObjectName(QString::fromUtf8(name));
  control->setGeometry(geometry);
  return control;
}

void AlignText(QLabel* label, Qt::Alignment alignment, bool wrap) {
  label->setAlignment(alignment);
  label->setWordWrap(wrap);
}

}  // namespace

MainWindow::MainWindow(FileDialogService& fileDialogs, ColourChooser& colourChooser,
                       const AutomationRegistry& spreadsheets, QWidget* parent)
    : QWidget(parent),
      通用对话框2(FileDialogMode::Open, QStringLiteral("*.jpg|*.jpg|*.*|*.*"), fileDialogs, this),
      通用对话框1(FileDialogMode::Save, QStringLiteral("*.xls|*.xls|*.*|*.*"), fileDialogs, this),
      Excel程序1(spreadsheets) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Tessarin by：Korvald"));
  // A fixed frame with the system menu and the close box, no minimise or maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setWindowIcon(ProgramIcon());
  setFont(WindowFont());

  CreateCanvasAndBars();
  CreateEditingGroup(colourChooser);
  CreateCellSizeGroup();
  CreateButtons();
  SetUpKeyboard();
  ConnectEvents();
}

MainWindow::~MainWindow() {
  if (qApp) qApp->removeEventFilter(keyboard_);
}

void MainWindow::CreateCanvasAndBars() {
  画板1 = Place<DrawPanel>(this, "画板1", QRect(0, 0, 800, 600));
  进度条1 = Place<ProcessBar>(this, "进度条1", QRect(0, 600, 800, 8));
  状态条1 = Place<QStatusBar>(this, "状态条1",
                              QRect(0, kClientHeight - kStatusBarHeight, kClientWidth,
                                    kStatusBarHeight));
  状态条1->setSizeGripEnabled(false);
}

void MainWindow::CreateEditingGroup(ColourChooser& colourChooser) {
  分组框3 = Place<QGroupBox>(this, "分组框3", QRect(808, 16, 96, 344), QStringLiteral("图片编辑"));
  分组框3->setAlignment(Qt::AlignLeft);

  选择框1 = Place<QCheckBox>(分组框3, "选择框1", QRect(16, 16, 72, 24), QStringLiteral("激活编辑"));
  单选框4 = Place<QRadioButton>(分组框3, "单选框4", QRect(16, 40, 64, 24), QStringLiteral("画笔"));
  标签1 = Place<QLabel>(分组框3, "标签1", QRect(16, 64, 64, 24), QStringLiteral("画笔颜色"));
  颜色选择器1 = Place<ColorPicker>(分组框3, "颜色选择器1", QRect(37, 88, 43, 24), colourChooser);
  单选框6 =
      Place<QRadioButton>(分组框3, "单选框6", QRect(16, 120, 72, 24), QStringLiteral("输入文字"));
  编辑框1 = Place<EditBox>(分组框3, "编辑框1", QRect(8, 144, 80, 80));
  标签2 = Place<QLabel>(
      分组框3, "标签2", QRect(8, 240, 80, 96),
      QStringLiteral("将要加入的文字填入文本框，单击画板中要插入文字的起始位置，文字就会被添加进去了"));

  AlignText(标签1, Qt::AlignLeft | Qt::AlignVCenter, /*wrap=*/false);
  AlignText(标签2, Qt::AlignLeft | Qt::AlignTop, /*wrap=*/true);

  auto* mode = new QButtonGroup(this);
  mode->setExclusive(true);
  mode->addButton(单选框4);
  mode->addButton(单选框6);
  单选框4->setChecked(true);
}

void MainWindow::CreateCellSizeGroup() {
  分组框2 =
      Place<QGroupBox>(this, "分组框2", QRect(808, 376, 96, 56), QStringLiteral("Eecel单元大小"));
  分组框2->setAlignment(Qt::AlignLeft);
  组合框1 = Place<ComboBox>(分组框2, "组合框1", QRect(8, 24, 48, 20));
  标签3 = Place<QLabel>(分组框2, "标签3", QRect(56, 24, 32, 24), QStringLiteral("像素"));
  AlignText(标签3, Qt::AlignLeft | Qt::AlignVCenter, /*wrap=*/false);

  for (const CellSize& size : kCellSizes) 组合框1->AddItem(QString::fromUtf8(size.text), size.value);
  组合框1->setCurrentIndex(0);
}

void MainWindow::CreateButtons() {
  const QSize picture(45, 45);
  按钮_打开 = Place<PictureButton>(this, "按钮_打开", QRect(808, 547, 45, 45), OpenButtonPicture(),
                                   picture);
  按钮_制作 = Place<PictureButton>(this, "按钮_制作", QRect(856, 547, 45, 45), MakeButtonPicture(),
                                   picture);
  按钮_打开->setDefault(true);
}

void MainWindow::SetUpKeyboard() {
  KeyboardControls controls;
  controls.window = this;
  controls.defaultButton = 按钮_打开;
  controls.textBox = 编辑框1;
  controls.tabOrder = {按钮_制作, 按钮_打开,   组合框1,     选择框1,
                       单选框4,   单选框6,     颜色选择器1, 编辑框1};
  controls.radioGroup = {单选框4, 单选框6};
  // Qt's own chain in the same order, for whatever moves the focus without a key.
  for (std::size_t i = 1; i < controls.tabOrder.size(); ++i)
    setTabOrder(controls.tabOrder[i - 1], controls.tabOrder[i]);
  // The first control of the order has the focus when the window opens.
  controls.tabOrder.front()->setFocus(Qt::OtherFocusReason);

  keyboard_ = new WindowKeyboard(std::move(controls), this);
  qApp->installEventFilter(keyboard_);
}

void MainWindow::ConnectEvents() {
  connect(按钮_打开, &QPushButton::clicked, this, [this] {
    if (handlers_) handlers_->OpenPicture();
  });
  connect(按钮_制作, &QPushButton::clicked, this, [this] {
    if (handlers_) handlers_->RunConversion();
  });
  connect(画板1, &DrawPanel::LeftButtonPressed, this, [this](auto x, auto y, int keyState) {
    if (handlers_) handlers_->CanvasMouseDown(x, y, keyState);
  });
  connect(画板1, &DrawPanel::MouseMoved, this, [this](auto x, auto y, int keyState) {
    if (handlers_) handlers_->CanvasMouseMove(x, y, keyState);
  });
  connect(画板1, &DrawPanel::LeftButtonReleasedElsewhere, this, [this] {
    if (handlers_) handlers_->CanvasReleasedElsewhere();
  });
  connect(画板1, &DrawPanel::LeftButtonReleased, this, [this](auto x, auto y, int keyState) {
    if (handlers_) handlers_->CanvasMouseUp(x, y, keyState);
  });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The status bar docks itself to the bottom edge.
  状态条1->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
}
