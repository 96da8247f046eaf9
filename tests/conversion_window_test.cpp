// The conversion through the real window: MainWindow, the program's handlers, the real
// controls, with the file dialogs and the message box answered by script (offscreen).

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/color_picker.h"
#include "app/combo_box.h"
#include "app/draw_panel.h"
#include "app/main_window.h"
#include "app/picture_button.h"
#include "app/process_bar.h"
#include "app/program_handlers.h"
#include "render/automation/automation_object.h"
#include "render/column_name.h"
#include "render/engine/spreadsheet_server.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/case_names.h"
#include "tests/support/program_run.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_server.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/workbook_reader.h"

namespace {

// Table cases print as their label in failure messages.
template <typename Case>
  requires requires(const Case& table) { table.label; }
void PrintTo(const Case& table, std::ostream* out) {
  *out << table.label;
}

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr ColourValue kYellow = MakeColourValue(255, 255, 0);

QString Q(const std::string& text) { return QString::fromStdString(text); }

// One line of what happened to the window, in order: a button disabled or enabled, or a
// message box shown (by its title).
class WindowEvents final : public QObject, public MessageBoxService {
 public:
  void Watch(QWidget& button, const std::string& name) {
    names_[&button] = name;
    button.installEventFilter(this);
  }

  ScriptedMessageBox script;
  std::vector<std::string> lines;

  std::function<void()> onShow;  // called as each box comes up

  MessageAnswer Show(const MessageRequest& request) override {
    lines.push_back("message " + request.title.toStdString());
    if (onShow) onShow();
    return script.Show(request);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange) {
      auto* button = static_cast<QWidget*>(watched);
      lines.push_back(names_[button] + (button->isEnabled() ? " enabled" : " disabled"));
    }
    return false;
  }

 private:
  std::map<QWidget*, std::string> names_;
};

class ConversionInWindow : public ::testing::Test {
 protected:
  ConversionInWindow() { RegisterSpreadsheetEngine(engine_); }

  // The program's window on `spreadsheets`, shown.
  void Start(const AutomationRegistry& spreadsheets) {
    window_ = std::make_unique<MainWindow>(fileDialogs_, colourChooser_, spreadsheets);
    handlers_ = std::make_unique<ProgramHandlers>(*window_, events_);
    window_->SetHandlers(handlers_.get());
    events_.Watch(*window_->按钮_制作, "make");
    events_.Watch(*window_->按钮_打开, "open");
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  // Opens `path` with the open button, and lets the canvas paint it.
  void OpenPicture(const std::string& path) {
    fileDialogs_.ConfirmWith(Q(path));
    QTest::mouseClick(window_->按钮_打开, Qt::LeftButton);
    for (int i = 0; i < 500 && handlers_->Canvas().RepaintRequested(); ++i) QTest::qWait(5);
    ASSERT_FALSE(handlers_->Canvas().RepaintRequested()) << "the canvas was never painted";
  }

  // A click on the make button whose save dialog confirms `output`.
  void Make(const std::string& output) {
    fileDialogs_.ConfirmWith(Q(output));
    QTest::mouseClick(window_->按钮_制作, Qt::LeftButton);
  }

  std::string Picture(const std::string& name, int width, int height,
                      const std::function<ColourValue(int, int)>& colourAt) {
    const std::string path = folder_ / name;
    WriteBmp(path, width, height, colourAt);
    return path;
  }

  void ExpectButtonsEnabled() {
    EXPECT_TRUE(window_->按钮_制作->isEnabled());
    EXPECT_TRUE(window_->按钮_打开->isEnabled());
  }

  AutomationRegistry engine_;
  ScratchFolder folder_;
  ScriptedFileDialog fileDialogs_;
  ScriptedColourChooser colourChooser_;
  WindowEvents events_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<ProgramHandlers> handlers_;  // let go of before the window
};

TEST_F(ConversionInWindow, RendersThePictureWithTheChosenCellSize) {
  // red    green  blue
  // white  black  yellow
  const ColourValue grid[2][3] = {
      {MakeColourValue(255, 0, 0), MakeColourValue(0, 255, 0), MakeColourValue(0, 0, 255)},
      {MakeColourValue(255, 255, 255), MakeColourValue(0, 0, 0), kYellow}};
  Start(engine_);
  OpenPicture(Picture("six.bmp", 3, 2, [&grid](int x, int y) { return grid[y][x]; }));
  window_->组合框1->setCurrentIndex(2);  // "3"
  const std::string output = folder_ / "作品-1.xls";
  events_.script.Answer(MessageAnswer::Ok);

  Make(output);

  EXPECT_THAT(events_.script.Asked(),
              ElementsAre(MessageRequest{Q("保存转换文件到：\r\n" + output), "转换完成",
                                         MessageButtons::Ok, MessageIcon::Information}));
  EXPECT_THAT(events_.lines, ElementsAre("make disabled", "open disabled", "message 转换完成",
                                         "make enabled", "open enabled"));
  ASSERT_EQ(fileDialogs_.Asked().size(), 2u);
  EXPECT_EQ(fileDialogs_.Asked()[1].mode, FileDialogMode::Save);
  EXPECT_EQ(fileDialogs_.Asked()[1].proposedFileName, "作品-");
  EXPECT_EQ(window_->标签1->text(), "当前填充行列：C(3):2");
  EXPECT_EQ(window_->进度条1->Position(), 0);
  EXPECT_EQ(LiveAutomationObjects(), 0u) << "the run kept a reference";

  const WorkbookFacts facts = ReadWorkbook("openpyxl", output, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  std::vector<std::string> cells;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      cells.push_back(ColumnName(x + 1) + std::to_string(y + 1) + " solid " + ArgbText(grid[y][x]));
    }
  }
  EXPECT_EQ(facts.Values("cell"), cells);
  // Item "3": rows 3 points high, columns 3 pixels wide (0.23 characters).
  ASSERT_EQ(facts.Values("default-row-height").size(), 1u);
  EXPECT_DOUBLE_EQ(std::stod(facts.Values("default-row-height")[0]), 3.0);
  ASSERT_EQ(facts.Values("column").size(), 1u);
  const std::string column = facts.Values("column")[0];
  ASSERT_THAT(column, ::testing::StartsWith("1 16384 "));
  EXPECT_EQ(std::lround(std::stod(column.substr(8)) * 7), 3) << "7 pixels a character";
}

// Records what the label and the progress bar showed each time they were painted.
class PaintWatch final : public QObject {
 public:
  PaintWatch(QLabel& label, ProcessBar& bar) : label_(label), bar_(bar) {
    label.installEventFilter(this);
    bar.installEventFilter(this);
  }
  std::vector<std::string> labelTexts;
  std::vector<int> barPositions;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    if (watched == &label_) labelTexts.push_back(label_.text().toStdString());
    if (watched == &bar_) barPositions.push_back(bar_.ShownPosition());
    return false;
  }

 private:
  QLabel& label_;
  ProcessBar& bar_;
};

// The run holds the thread until it ends, yet the person watching sees the label and the
// bar after every row; and no event waiting in the queue is handled before the run is over.
TEST_F(ConversionInWindow, ProgressIsPaintedAfterEveryRowWithoutTurningTheEventLoop) {
  Start(engine_);
  OpenPicture(Picture("p.bmp", 30, 7, [](int, int) { return kYellow; }));
  const PaintWatch paints(*window_->标签1, *window_->进度条1);
  bool queuedEventHandled = false;
  QMetaObject::invokeMethod(window_.get(), [&] { queuedEventHandled = true; }, Qt::QueuedConnection);
  bool handledBeforeTheMessage = true;
  events_.script.Answer(MessageAnswer::Ok);
  events_.onShow = [&] { handledBeforeTheMessage = queuedEventHandled; };

  Make(folder_ / "out.xls");

  std::vector<std::string> rows;
  for (int row = 1; row <= 7; ++row) rows.push_back("当前填充行列：AD(30):" + std::to_string(row));
  EXPECT_THAT(paints.labelTexts, ::testing::IsSupersetOf(rows));
  EXPECT_THAT(paints.barPositions, ::testing::IsSupersetOf({0, 1, 2}));
  EXPECT_FALSE(handledBeforeTheMessage) << "the run let the event loop turn";
}

TEST_F(ConversionInWindow, PenStrokeIsRenderedInThePenColour) {
  Start(engine_);
  OpenPicture(Picture("yellow.bmp", 40, 30, [](int, int) { return kYellow; }));
  const ColourValue pen = window_->颜色选择器1->Colour();
  ASSERT_NE(pen, kYellow);
  window_->选择框1->setChecked(true);
  window_->单选框4->setChecked(true);
  DrawPanel& canvas = *window_->画板1;
  const QPoint at = DrawPanel::DrawingArea().topLeft() + QPoint(20, 10);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(at), canvas.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&canvas, &event);
  }
  const std::string output = folder_ / "painted.xls";
  events_.script.Answer(MessageAnswer::Ok);

  Make(output);

  const WorkbookFacts facts = ReadWorkbook("openpyxl", output, {"U11", "A1", "AN30"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("cell"), ElementsAre("U11 solid " + ArgbText(pen),
                                                "A1 solid " + ArgbText(kYellow),
                                                "AN30 solid " + ArgbText(kYellow)));
}

TEST_F(ConversionInWindow, WithoutASpreadsheetApplicationSaysSo) {
  const AutomationRegistry noSpreadsheet;
  Start(noSpreadsheet);
  OpenPicture(Picture("p.bmp", 2, 2, [](int, int) { return kYellow; }));
  events_.script.Answer(MessageAnswer::Ok);

  Make(folder_ / "never.xls");

  EXPECT_THAT(events_.script.Asked(),
              ElementsAre(MessageRequest{"你都没有装Excel你让我搞什么？？", "信息：",
                                         MessageButtons::Ok, MessageIcon::None}));
  EXPECT_THAT(events_.lines, ElementsAre("make disabled", "open disabled", "message 信息：",
                                         "make enabled", "open enabled"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "never.xls"));
}

TEST_F(ConversionInWindow, UnwritableWorkbookIsReportedAsNotSaved) {
  Start(engine_);
  OpenPicture(Picture("p.bmp", 2, 2, [](int, int) { return kYellow; }));
  const std::string output = folder_ / "gone/作品-1.xls";
  events_.script.Answer(MessageAnswer::Ok);

  Make(output);

  EXPECT_THAT(events_.script.Asked(),
              ElementsAre(MessageRequest{Q("文件没有保存，无法写入：\r\n" + output), "转换失败",
                                         MessageButtons::Ok, MessageIcon::Error}));
  EXPECT_THAT(events_.lines, ElementsAre("make disabled", "open disabled", "message 转换失败",
                                         "make enabled", "open enabled"));
}

TEST_F(ConversionInWindow, CancelledSaveDialogDisablesNothingAndStartsNothing) {
  RecordingServer server;
  Start(server.Registry());
  OpenPicture(Picture("p.bmp", 2, 2, [](int, int) { return kYellow; }));
  const QString labelBefore = window_->标签1->text();
  fileDialogs_.Cancel();

  QTest::mouseClick(window_->按钮_制作, Qt::LeftButton);

  EXPECT_THAT(events_.lines, IsEmpty());
  EXPECT_THAT(server.Requests(), IsEmpty());
  EXPECT_EQ(window_->标签1->text(), labelBefore);
  EXPECT_EQ(window_->通用对话框1.FileName(), "作品-");
}

// Without a picture the make button only asks whether to choose one; a Yes opens the
// picture dialog, and still no workbook is made.
struct NoPictureCase {
  const char* label;
  MessageAnswer answer;
  std::vector<FileDialogMode> dialogs;
};

class NoPictureInWindow : public ConversionInWindow,
                          public ::testing::WithParamInterface<NoPictureCase> {};

TEST_P(NoPictureInWindow, OnlyTheQuestionIsAsked) {
  RecordingServer server;
  Start(server.Registry());
  const std::string picture = Picture("p.bmp", 2, 2, [](int, int) { return kYellow; });
  events_.script.Answer(GetParam().answer);
  if (GetParam().answer == MessageAnswer::Yes) fileDialogs_.ConfirmWith(Q(picture));

  QTest::mouseClick(window_->按钮_制作, Qt::LeftButton);

  EXPECT_THAT(events_.script.Asked(),
              ElementsAre(MessageRequest{"你还没有选择源图片，现在是否选择？", "信息：",
                                         MessageButtons::YesNo, MessageIcon::None}));
  std::vector<FileDialogMode> dialogs;
  for (const FileDialogSettings& asked : fileDialogs_.Asked()) dialogs.push_back(asked.mode);
  EXPECT_EQ(dialogs, GetParam().dialogs);
  EXPECT_EQ(window_->通用对话框1.FileName(), "作品-");
  EXPECT_EQ(window_->通用对话框2.FileName().isEmpty(), GetParam().answer == MessageAnswer::No);
  EXPECT_THAT(server.Requests(), IsEmpty());
  EXPECT_THAT(events_.lines, ElementsAre("message 信息："));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NoPictureInWindow,
    ::testing::Values(NoPictureCase{"No", MessageAnswer::No, {}},
                      NoPictureCase{"YesOpensOne", MessageAnswer::Yes, {FileDialogMode::Open}}),
    CaseLabel());

// tessarin-convert makes, cell for cell, the workbook the window makes for the same picture
// (nothing painted, the first cell size).
struct SamePictureCase {
  const char* label;
  int width;
  int height;
  std::size_t filledCells;
};

class CommandLineAndWindow : public ConversionInWindow,
                             public ::testing::WithParamInterface<SamePictureCase> {};

TEST_P(CommandLineAndWindow, GiveTheSameCells) {
  const SamePictureCase& same = GetParam();
  const auto colourAt = [](int x, int y) {
    const ColourValue few[] = {MakeColourValue(200, 30, 30), MakeColourValue(30, 160, 60),
                               MakeColourValue(20, 40, 220), kYellow};
    return few[(x / 3 + y) % 4];
  };
  const std::string picture = Picture("picture.bmp", same.width, same.height, colourAt);
  Start(engine_);
  OpenPicture(picture);
  const std::string fromWindow = folder_ / "window.xls";
  events_.script.Answer(MessageAnswer::Ok);
  Make(fromWindow);
  const std::string fromCommand = folder_ / "command.xls";
  const ProgramRun command =
      RunProgram({TESSARIN_BINARY_DIR "/tessarin-convert", picture, fromCommand});
  ASSERT_EQ(command.exitCode, 0) << command.err;

  const WorkbookFacts window = ReadWorkbook("openpyxl", fromWindow, {"all"});
  const WorkbookFacts commandLine = ReadWorkbook("openpyxl", fromCommand, {"all"});

  ASSERT_EQ(window.exitCode, 0);
  EXPECT_EQ(window.Values("cell").size(), same.filledCells);
  EXPECT_EQ(window.lines, commandLine.lines);
}

INSTANTIATE_TEST_SUITE_P(Pictures, CommandLineAndWindow,
                         ::testing::Values(SamePictureCase{"FewColours", 7, 5, 7 * 5},
                                           SamePictureCase{"WiderThanTheCanvas", 800, 3, 798 * 3}),
                         CaseLabel());

}  // namespace
