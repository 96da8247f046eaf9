// Opening, painting and stamping through the window: the program's handlers on the real
// main window, its dialogs answered by script, its mouse events replayed on the canvas.

#include "app/program_handlers.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gmock/gmock.h>

#include "app/color_picker.h"
#include "app/draw_panel.h"
#include "app/edit_box.h"
#include "app/main_window.h"
#include "app/picture_button.h"
#include "app/process_bar.h"
#include "app/ui_fonts.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/canvas_pixels.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/scripted_dialogs.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr ColourValue kOrange = MakeColourValue(255, 128, 0);

class ProgramHandlersTest : public ::testing::Test {
 protected:
  ProgramHandlersTest() {
    window.SetHandlers(&handlers);
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  ~ProgramHandlersTest() override { window.SetHandlers(nullptr); }

  // The drawing-area point (x, y) in the panel's own coordinates.
  static QPoint OnPanel(int x, int y) { return DrawPanel::DrawingArea().topLeft() + QPoint(x, y); }

  // Chooses `path` in the picture dialog through the open button; the panel has not
  // painted yet when this returns.
  void ClickOpenChoosing(const std::string& path) {
    fileDialogs.ConfirmWith(QString::fromStdString(path));
    QTest::mouseClick(window.按钮_打开, Qt::LeftButton);
    EXPECT_TRUE(fileDialogs.AllAnswersUsed());
  }

  // A mouse event as the window system delivers it to the panel, at any point, fractions
  // of a pixel included.
  void SendToPanel(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, window.画板1->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(window.画板1, &event);
  }

  // Lets the event loop deliver the paint the panel asked for.
  void WaitForThePanelToPaint() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !handlers.Canvas().RepaintRequested(); }));
  }

  // What the panel puts on the screen, less its edge, as a canvas reading.
  CanvasReading PanelShows() const {
    return CanvasReading(window.画板1->grab(DrawPanel::DrawingArea()).toImage());
  }

  void OpenPictureAndStartEditing(int width, int height) {
    ClickOpenChoosing(WriteBmp(folder / "picture.bmp", width, height));
    WaitForThePanelToPaint();
    QTest::mouseClick(window.选择框1, Qt::LeftButton);
    ASSERT_TRUE(window.选择框1->isChecked());
  }

  ScratchFolder folder;
  ScriptedFileDialog fileDialogs;
  ScriptedColourChooser colourChooser;
  ScriptedMessageBox messages;
  MainWindow window{fileDialogs, colourChooser};
  ProgramHandlers handlers{window, messages};
};

TEST_F(ProgramHandlersTest, OpeningShowsThePictureWhenThePanelPaints) {
  ClickOpenChoosing(WriteBmp(folder / "picture.bmp", 120, 90));
  EXPECT_EQ(window.进度条1->Maximum(), 108);
  EXPECT_EQ(handlers.Canvas().GetCanvasPixel(0, 0), kWhite) << "shown before the panel painted";

  WaitForThePanelToPaint();
  EXPECT_TRUE(ShowTheSame(CanvasReading(handlers.Canvas()), PatternOnWhite(120, 90)));
  EXPECT_TRUE(ShowTheSame(PanelShows(), PatternOnWhite(120, 90)));
}

TEST_F(ProgramHandlersTest, ATooLargePictureIsRefusedThroughTheMessageBox) {
  messages.Answer(MessageAnswer::Ok);
  ClickOpenChoosing(WriteBmp(folder / "wide.bmp", 801, 1));
  EXPECT_THAT(messages.Asked(),
              ElementsAre(MessageRequest{
                  QStringLiteral("本程序限制图片最大为800*600像素的图片，请调整文件尺寸后重试"),
                  QStringLiteral("信息："), MessageButtons::Ok, MessageIcon::None}));
  EXPECT_EQ(window.通用对话框2.FileName(), QString());
  EXPECT_EQ(window.进度条1->Maximum(), 100);
}

TEST_F(ProgramHandlersTest, ThePenPaintsInThePickersColourOnScreenAndCanvasAlike) {
  OpenPictureAndStartEditing(300, 200);
  QTest::mouseClick(window.颜色选择器1, Qt::LeftButton);
  QToolButton* orange = nullptr;
  for (auto* swatch : window.颜色选择器1->DropDown()->findChildren<QToolButton*>())
    if (swatch->property("colourValue").value<ColourValue>() == kOrange) orange = swatch;
  ASSERT_NE(orange, nullptr);
  QTest::mouseClick(orange, Qt::LeftButton);

  DrawPanel* panel = window.画板1;
  QTest::mousePress(panel, Qt::LeftButton, {}, OnPanel(40, 50));
  QTest::mouseMove(panel, OnPanel(60, 50));
  QTest::mouseMove(panel, OnPanel(100, 50));
  QTest::mouseRelease(panel, Qt::LeftButton, {}, OnPanel(100, 50));

  const CanvasReading canvas(handlers.Canvas());
  EXPECT_EQ(canvas.At(60, 50), kOrange);
  EXPECT_EQ(canvas.At(100, 50), kOrange);
  EXPECT_EQ(canvas.At(40, 50), PatternColour(40, 50)) << "the press alone drew";
  EXPECT_EQ(canvas.At(80, 50), PatternColour(80, 50)) << "points are not joined";
  EXPECT_EQ(handlers.MousePressed(), 0);
  // What the canvas holds is what the panel shows, also after the window system repaints it
  // on its own: an exposure never erases a drawing.
  panel->repaint();
  EXPECT_TRUE(ShowTheSame(PanelShows(), canvas));
  EXPECT_TRUE(ShowTheSame(CanvasReading(handlers.Canvas()), canvas));
}

TEST_F(ProgramHandlersTest, TextModeStampsTheTextBoxsLinesWhereTheCanvasIsClicked) {
  OpenPictureAndStartEditing(300, 200);
  QTest::mouseClick(window.单选框6, Qt::LeftButton);
  ASSERT_TRUE(window.单选框6->isChecked());
  window.编辑框1->setFocus();
  window.编辑框1->insertPlainText(QStringLiteral("像素 AB"));
  QTest::keyClick(window.编辑框1, Qt::Key_Return);
  QTest::keyClicks(window.编辑框1, QStringLiteral("CD"));
  const CanvasSurface beforeStamp = handlers.Canvas();

  QTest::mouseClick(window.画板1, Qt::LeftButton, {}, OnPanel(10, 20));

  CanvasSurface expected = beforeStamp;
  expected.SetTextFont(WindowFont());
  expected.SetCanvasWritePosition(10, 20);
  expected.WriteCanvasText("像素 AB\r\nCD");
  EXPECT_FALSE(CanvasReading(expected).PointsDifferingFrom(CanvasReading(beforeStamp)).empty());
  EXPECT_TRUE(ShowTheSame(CanvasReading(handlers.Canvas()), CanvasReading(expected)));
}

TEST_F(ProgramHandlersTest, AReleaseOutsideTheCanvasEndsTheStroke) {
  OpenPictureAndStartEditing(300, 200);
  DrawPanel* panel = window.画板1;
  QTest::mousePress(panel, Qt::LeftButton, {}, OnPanel(40, 50));
  QTest::mouseMove(panel, OnPanel(60, 50));
  ASSERT_EQ(handlers.Canvas().GetCanvasPixel(60, 50), kBlack) << "the stroke began";
  // Dragged off to the right of the canvas before the button came up.
  QTest::mouseMove(panel, QPoint(850, 50));
  QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(850, 50));
  EXPECT_EQ(handlers.MousePressed(), 0);

  // Back over the canvas with no button held: nothing is drawn.
  const CanvasReading afterRelease(handlers.Canvas());
  SendToPanel(QEvent::MouseMove, OnPanel(100, 50), Qt::NoButton, Qt::NoButton);
  EXPECT_THAT(CanvasReading(handlers.Canvas()).PointsDifferingFrom(afterRelease), IsEmpty());
}

TEST_F(ProgramHandlersTest, AReleaseOnTheEdgeOrAFractionOfAPixelFromItEndsTheStroke) {
  OpenPictureAndStartEditing(300, 200);
  // The edge pixels, and points a fraction of a pixel inside them as a scaled screen
  // reports them.
  for (const QPointF release : {QPointF(0, 300), QPointF(0.6, 300), QPointF(300, 0.5),
                                QPointF(798.6, 300), QPointF(300, 598.7), QPointF(799, 599)}) {
    SendToPanel(QEvent::MouseButtonPress, OnPanel(40, 50), Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(handlers.MousePressed(), 1);
    SendToPanel(QEvent::MouseButtonRelease, release, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(handlers.MousePressed(), 0) << release.x() << ", " << release.y();
  }
}

}  // namespace
