// The main window's design: its frame, every control's place, text and start state,
// and the events that reach the handlers.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <gmock/gmock.h>

#include "app/color_picker.h"
#include "app/combo_box.h"
#include "app/draw_panel.h"
#include "app/edit_box.h"
#include "app/process_bar.h"
#include "tests/main_window_fixture.h"
#include "tests/support/case_names.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(MainWindowTest, HasAFixedFrameWithCloseBoxOnly) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tessarin by：Korvald"));
  EXPECT_EQ(window.size(), QSize(910, 631));
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the user must not resize it";
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window) << "a top-level window in the task bar";
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window.isVisible()) << "created hidden";
}

TEST_F(MainWindowTest, StatusBarDocksToTheBottomWithoutPanesOrGrip) {
  QStatusBar* bar = window.状态条1;
  EXPECT_EQ(bar->geometry(), QRect(0, 611, 910, 20));
  EXPECT_FALSE(bar->isSizeGripEnabled());
  EXPECT_TRUE(bar->currentMessage().isEmpty());
  EXPECT_THAT(bar->findChildren<QLabel*>(), IsEmpty());
}

struct ControlPlace {
  const char* label;
  const char* name;
  const char* parent;
  QRect geometry;        // in the parent's client coordinates
  QPoint inWindow;       // the same top-left corner in the window's client coordinates
};

void PrintTo(const ControlPlace& place, std::ostream* out) { *out << place.label; }

class ControlPlaceTest : public MainWindowTest,
                         public ::testing::WithParamInterface<ControlPlace> {};

TEST_P(ControlPlaceTest, SitsInItsParentAtItsPlace) {
  const ControlPlace& place = GetParam();
  QWidget* control = Control(QString::fromUtf8(place.name));
  ASSERT_NE(control, nullptr);
  ASSERT_NE(control->parentWidget(), nullptr);
  EXPECT_EQ(control->parentWidget()->objectName(), QString::fromUtf8(place.parent));
  EXPECT_EQ(control->geometry(), place.geometry);
  EXPECT_EQ(control->mapTo(&window, QPoint(0, 0)), place.inWindow);
  EXPECT_TRUE(control->isVisibleTo(&window));
  EXPECT_TRUE(control->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    EveryControl, ControlPlaceTest,
    ::testing::Values(
        ControlPlace{"Canvas", "画板1", "MainWindow", {0, 0, 800, 600}, {0, 0}},
        ControlPlace{"ProgressBar", "进度条1", "MainWindow", {0, 600, 800, 8}, {0, 600}},
        ControlPlace{"EditingGroup", "分组框3", "MainWindow", {808, 16, 96, 344}, {808, 16}},
        ControlPlace{"EditingCheckBox", "选择框1", "分组框3", {16, 16, 72, 24}, {824, 32}},
        ControlPlace{"PenRadio", "单选框4", "分组框3", {16, 40, 64, 24}, {824, 56}},
        ControlPlace{"PenColourLabel", "标签1", "分组框3", {16, 64, 64, 24}, {824, 80}},
        ControlPlace{"ColourPicker", "颜色选择器1", "分组框3", {37, 88, 43, 24}, {845, 104}},
        ControlPlace{"TextRadio", "单选框6", "分组框3", {16, 120, 72, 24}, {824, 136}},
        ControlPlace{"TextBox", "编辑框1", "分组框3", {8, 144, 80, 80}, {816, 160}},
        ControlPlace{"HelpLabel", "标签2", "分组框3", {8, 240, 80, 96}, {816, 256}},
        ControlPlace{"CellSizeGroup", "分组框2", "MainWindow", {808, 376, 96, 56}, {808, 376}},
        ControlPlace{"CellSizeList", "组合框1", "分组框2", {8, 24, 48, 20}, {816, 400}},
        ControlPlace{"PixelsLabel", "标签3", "分组框2", {56, 24, 32, 24}, {864, 400}},
        ControlPlace{"OpenButton", "按钮_打开", "MainWindow", {808, 547, 45, 45}, {808, 547}},
        ControlPlace{"MakeButton", "按钮_制作", "MainWindow", {856, 547, 45, 45}, {856, 547}},
        ControlPlace{"StatusBar", "状态条1", "MainWindow", {0, 611, 910, 20}, {0, 611}}),
    CaseLabel());

TEST_F(MainWindowTest, ShowsItsTextsExactly) {
  EXPECT_EQ(window.分组框3->title(), QStringLiteral("图片编辑"));
  EXPECT_EQ(window.选择框1->text(), QStringLiteral("激活编辑"));
  EXPECT_EQ(window.单选框4->text(), QStringLiteral("画笔"));
  EXPECT_EQ(window.标签1->text(), QStringLiteral("画笔颜色"));
  EXPECT_EQ(window.单选框6->text(), QStringLiteral("输入文字"));
  EXPECT_EQ(window.标签2->text(),
            QStringLiteral("将要加入的文字填入文本框，单击画板中要插入文字的起始位置，"
                           "文字就会被添加进去了"));
  EXPECT_EQ(window.分组框2->title(), QStringLiteral("Eecel单元大小"));
  EXPECT_EQ(window.标签3->text(), QStringLiteral("像素"));
  EXPECT_TRUE(window.按钮_打开->text().isEmpty());
  EXPECT_TRUE(window.按钮_制作->text().isEmpty());
}

TEST_F(MainWindowTest, EveryTextFitsItsControl) {
  for (QLabel* label : {window.标签1, window.标签2, window.标签3}) {
    const QRect needed = label->fontMetrics().boundingRect(
        QRect(0, 0, label->width(), 10000), Qt::TextWordWrap | label->alignment(), label->text());
    EXPECT_LE(needed.width(), label->width()) << label->objectName().toStdString();
    EXPECT_LE(needed.height(), label->height()) << label->objectName().toStdString();
  }
  // The text beside the box or circle.
  const std::pair<QAbstractButton*, QStyle::SubElement> boxes[] = {
      {window.选择框1, QStyle::SE_CheckBoxContents},
      {window.单选框4, QStyle::SE_RadioButtonContents},
      {window.单选框6, QStyle::SE_RadioButtonContents}};
  for (const auto& [box, contents] : boxes) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect room = box->style()->subElementRect(contents, &option, box);
    EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), room.width())
        << box->objectName().toStdString();
  }
  for (QGroupBox* group : {window.分组框3, window.分组框2})
    EXPECT_LT(group->fontMetrics().horizontalAdvance(group->title()), group->width())
        << group->objectName().toStdString();
}

TEST_F(MainWindowTest, HasAGlyphForEveryCharacterOfItsTexts) {
  const QString texts = window.分组框3->title() + window.选择框1->text() +
                        window.单选框4->text() + window.标签1->text() + window.单选框6->text() +
                        window.标签2->text() + window.分组框2->title() + window.标签3->text();
  const QFontMetrics metrics(window.font());
  for (const QChar character : texts)
    EXPECT_TRUE(metrics.inFont(character)) << "no glyph for U+" << std::hex << static_cast<int>(character.unicode());
}

TEST_F(MainWindowTest, StartsInItsStartStates) {
  EXPECT_FALSE(window.选择框1->isChecked());
  EXPECT_TRUE(window.单选框4->isChecked());
  EXPECT_FALSE(window.单选框6->isChecked());
  EXPECT_EQ(window.颜色选择器1->Colour(), 0x00000000u);
  EXPECT_EQ(window.编辑框1->Text(), QString());
  EXPECT_EQ(window.组合框1->SelectedIndex(), 0);
  EXPECT_EQ(window.组合框1->ItemText(0), QStringLiteral("1"));
  EXPECT_EQ(window.组合框1->ItemValue(0), 8);
  EXPECT_EQ(window.进度条1->Minimum(), 0);
  EXPECT_EQ(window.进度条1->Maximum(), 100);
  EXPECT_EQ(window.进度条1->Position(), 0);
  EXPECT_TRUE(window.通用对话框2.FileName().isEmpty());
  EXPECT_TRUE(window.通用对话框1.FileName().isEmpty());
  EXPECT_TRUE(window.按钮_打开->isDefault());
  EXPECT_FALSE(window.按钮_制作->isDefault());
}

TEST_F(MainWindowTest, CellSizeListHoldsItsFiveItemsInOrder) {
  const ComboBox& sizes = *window.组合框1;
  ASSERT_EQ(sizes.count(), 5);
  const std::pair<QString, int> expected[] = {{"1", 8}, {"2", 15}, {"3", 23}, {"4", 31}, {"5", 38}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(sizes.ItemText(i), expected[i].first) << "item " << i;
    EXPECT_EQ(sizes.ItemValue(i), expected[i].second) << "item " << i;
  }
  EXPECT_FALSE(sizes.isEditable()) << "the user can only pick an item";
}

TEST_F(MainWindowTest, RadioButtonsExcludeEachOther) {
  window.单选框6->click();
  EXPECT_TRUE(window.单选框6->isChecked());
  EXPECT_FALSE(window.单选框4->isChecked());
  window.单选框4->click();
  EXPECT_TRUE(window.单选框4->isChecked());
  EXPECT_FALSE(window.单选框6->isChecked());
}

TEST_F(MainWindowTest, ButtonsShowTheirWholePicture) {
  for (QPushButton* button : {window.按钮_打开, window.按钮_制作}) {
    EXPECT_EQ(button->iconSize(), QSize(45, 45)) << button->objectName().toStdString();
    EXPECT_TRUE(button->icon().availableSizes().contains(QSize(45, 45)))
        << button->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, ButtonClicksReachTheirHandlers) {
  QTest::mouseClick(window.按钮_打开, Qt::LeftButton);
  QTest::mouseClick(window.按钮_制作, Qt::LeftButton);
  EXPECT_THAT(handlers.Calls(),
              ElementsAre(HandlerCall{"OpenPicture"}, HandlerCall{"RunConversion"}));
}

TEST_F(MainWindowTest, DisabledButtonsIgnoreClicks) {
  window.按钮_打开->setEnabled(false);
  window.按钮_制作->setEnabled(false);
  QTest::mouseClick(window.按钮_打开, Qt::LeftButton);
  QTest::mouseClick(window.按钮_制作, Qt::LeftButton);
  EXPECT_THAT(handlers.Calls(), IsEmpty());

  window.按钮_制作->setEnabled(true);
  QTest::mouseClick(window.按钮_制作, Qt::LeftButton);
  EXPECT_THAT(handlers.Calls(), ElementsAre(HandlerCall{"RunConversion"}));
}

TEST_F(MainWindowTest, DisabledButtonIsDrawnGreyed) {
  const QImage enabled = window.按钮_打开->grab().toImage();
  window.按钮_打开->setEnabled(false);
  const QImage disabled = window.按钮_打开->grab().toImage();
  // The folder's yellow at the button's middle turns grey.
  const QColor before = enabled.pixelColor(22, 33);
  const QColor after = disabled.pixelColor(22, 33);
  EXPECT_GT(before.hsvSaturation(), 100) << "the picture is in colour while enabled";
  EXPECT_LT(after.hsvSaturation(), 40) << "and greyed while disabled";
}

TEST_F(MainWindowTest, CanvasMouseReachesItsHandlers) {
  DrawPanel* canvas = window.画板1;
  const auto send = [canvas](QEvent::Type type, QPoint at, Qt::MouseButton button,
                             Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, modifiers);
    QApplication::sendEvent(canvas, &event);
  };
  send(QEvent::MouseButtonPress, {11, 21}, Qt::LeftButton, Qt::NoModifier);
  send(QEvent::MouseMove, {31, 41}, Qt::NoButton, Qt::ShiftModifier);
  send(QEvent::MouseButtonRelease, {51, 61}, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_THAT(handlers.Calls(), ElementsAre(HandlerCall{"CanvasMouseDown", 10, 20, 0},
                                            HandlerCall{"CanvasMouseMove", 30, 40, 2},
                                            HandlerCall{"CanvasMouseUp", 50, 60, 1}));
}

TEST_F(MainWindowTest, WithoutHandlersEventsDoNothing) {
  window.SetHandlers(nullptr);
  QTest::mouseClick(window.按钮_打开, Qt::LeftButton);
  QTest::mouseClick(window.画板1, Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_THAT(handlers.Calls(), IsEmpty());
}

TEST_F(MainWindowTest, CanvasNeverTakesTheFocus) {
  ShowActive();
  window.组合框1->setFocus();
  QTest::mouseClick(window.画板1, Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(QApplication::focusWidget(), window.组合框1);
}

TEST_F(MainWindowTest, OpensWithTheFocusOnTheFirstControlOfTheTabOrder) {
  ShowActive();
  EXPECT_EQ(QApplication::focusWidget(), window.按钮_制作);
}

TEST_F(MainWindowTest, CarriesItsIconInEverySize) {
  const QList<QSize> sizes = window.windowIcon().availableSizes();
  for (const int side : {16, 32, 48, 128})
    EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
}
