// The window's keyboard: which key, with the focus where, does what.

#include <QAbstractButton>
#include <QPushButton>
#include <QRadioButton>
#include <gmock/gmock.h>
#include <vector>

#include "tests/support/case_names.h"
#include "app/combo_box.h"
#include "app/edit_box.h"
#include "tests/main_window_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct KeyCase {
  const char* label;
  const char* focus;                  // the control holding the focus when the key comes
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  std::vector<const char*> disabled;  // controls disabled before the key
  // What must follow.
  bool opensPicture = false;
  bool closesWindow = false;
  const char* focusAfter = nullptr;   // nullptr: the focus stays where it was
  const char* selectedRadio = "单选框4";
  const char* textAfter = "";          // the text box's content
};

void PrintTo(const KeyCase& key, std::ostream* out) { *out << key.label; }

class WindowKeyboardTest : public MainWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(WindowKeyboardTest, DoesWhatTheKeyMeans) {
  const KeyCase& key = GetParam();
  for (const char* name : key.disabled) Control(QString::fromUtf8(name))->setEnabled(false);
  ShowActive();
  QWidget* focus = Control(QString::fromUtf8(key.focus));
  focus->setFocus(Qt::OtherFocusReason);
  ASSERT_EQ(QApplication::focusWidget(), focus);

  QTest::keyClick(focus, key.key, key.modifiers);

  if (key.opensPicture)
    EXPECT_THAT(handlers.Calls(), ElementsAre(HandlerCall{"OpenPicture"}));
  else
    EXPECT_THAT(handlers.Calls(), IsEmpty());
  EXPECT_EQ(window.isVisible(), !key.closesWindow);
  if (!key.closesWindow) {
    QWidget* expectedFocus = key.focusAfter ? Control(QString::fromUtf8(key.focusAfter)) : focus;
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), expectedFocus->objectName());
  }
  const auto* selected = Control(QString::fromUtf8(key.selectedRadio));
  EXPECT_TRUE(qobject_cast<const QRadioButton*>(selected)->isChecked());
  EXPECT_EQ(window.编辑框1->Text(), QString::fromUtf8(key.textAfter));
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kAlt = Qt::AltModifier;
constexpr auto kKeypad = Qt::KeypadModifier;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Enter, WindowKeyboardTest, ::testing::Values(
    KeyCase{"OnMakeButtonOpensThePicture", "按钮_制作", Qt::Key_Return, kNone, {}, true},
    KeyCase{"OnOpenButton", "按钮_打开", Qt::Key_Return, kNone, {}, true},
    KeyCase{"OnComboBox", "组合框1", Qt::Key_Return, kNone, {}, true},
    KeyCase{"OnCheckBox", "选择框1", Qt::Key_Return, kNone, {}, true},
    KeyCase{"OnRadioButton", "单选框6", Qt::Key_Return, kNone, {}, true},
    KeyCase{"OnColourPicker", "颜色选择器1", Qt::Key_Return, kNone, {}, true},
    KeyCase{"KeypadEnter", "组合框1", Qt::Key_Enter, kKeypad, {}, true},
    KeyCase{"InTextBoxStartsANewLine", "编辑框1", Qt::Key_Return, kNone, {}, false, false,
            nullptr, "单选框4", "\r\n"},
    KeyCase{"KeypadEnterInTextBox", "编辑框1", Qt::Key_Enter, kKeypad, {}, false, false,
            nullptr, "单选框4", "\r\n"},
    KeyCase{"WhileOpenButtonDisabledDoesNothing", "按钮_制作", Qt::Key_Return, kNone,
            {"按钮_打开"}},
    KeyCase{"WithCtrlDoesNothing", "组合框1", Qt::Key_Return, kCtrl, {}},
    KeyCase{"WithAltDoesNothing", "选择框1", Qt::Key_Return, kAlt, {}}),
    CaseLabel());

INSTANTIATE_TEST_SUITE_P(Escape, WindowKeyboardTest, ::testing::Values(
    KeyCase{"InTextBoxClosesTheWindow", "编辑框1", Qt::Key_Escape, kNone, {}, false, true},
    KeyCase{"OnComboBox", "组合框1", Qt::Key_Escape, kNone, {}, false, true},
    KeyCase{"OnMakeButton", "按钮_制作", Qt::Key_Escape, kNone, {}, false, true},
    KeyCase{"WithShiftDoesNothing", "组合框1", Qt::Key_Escape, kShift, {}}),
    CaseLabel());

INSTANTIATE_TEST_SUITE_P(Tab, WindowKeyboardTest, ::testing::Values(
    KeyCase{"MakeToOpen", "按钮_制作", Qt::Key_Tab, kNone, {}, false, false, "按钮_打开"},
    KeyCase{"OpenToCombo", "按钮_打开", Qt::Key_Tab, kNone, {}, false, false, "组合框1"},
    KeyCase{"ComboToCheckBox", "组合框1", Qt::Key_Tab, kNone, {}, false, false, "选择框1"},
    KeyCase{"CheckBoxToPen", "选择框1", Qt::Key_Tab, kNone, {}, false, false, "单选框4"},
    KeyCase{"PenToText", "单选框4", Qt::Key_Tab, kNone, {}, false, false, "单选框6"},
    KeyCase{"TextToPicker", "单选框6", Qt::Key_Tab, kNone, {}, false, false, "颜色选择器1"},
    KeyCase{"PickerToTextBox", "颜色选择器1", Qt::Key_Tab, kNone, {}, false, false, "编辑框1"},
    KeyCase{"TextBoxWrapsToMake", "编辑框1", Qt::Key_Tab, kNone, {}, false, false, "按钮_制作"},
    KeyCase{"BackFromMakeWrapsToTextBox", "按钮_制作", Qt::Key_Backtab, kShift, {}, false, false,
            "编辑框1"},
    KeyCase{"BackFromComboToOpen", "组合框1", Qt::Key_Backtab, kShift, {}, false, false,
            "按钮_打开"},
    KeyCase{"BackFromPickerToText", "颜色选择器1", Qt::Key_Backtab, kShift, {}, false, false,
            "单选框6"},
    KeyCase{"SkipsDisabledButtons", "编辑框1", Qt::Key_Tab, kNone, {"按钮_制作", "按钮_打开"},
            false, false, "组合框1"},
    KeyCase{"BackSkipsDisabledButtons", "组合框1", Qt::Key_Backtab, kShift,
            {"按钮_制作", "按钮_打开"}, false, false, "编辑框1"},
    KeyCase{"WithCtrlDoesNothing", "组合框1", Qt::Key_Tab, kCtrl, {}}),
    CaseLabel());

INSTANTIATE_TEST_SUITE_P(Arrows, WindowKeyboardTest, ::testing::Values(
    KeyCase{"RightOnPenSelectsText", "单选框4", Qt::Key_Right, kNone, {}, false, false,
            "单选框6", "单选框6"},
    KeyCase{"DownOnPenSelectsText", "单选框4", Qt::Key_Down, kNone, {}, false, false,
            "单选框6", "单选框6"},
    KeyCase{"LeftOnPenWrapsToText", "单选框4", Qt::Key_Left, kNone, {}, false, false,
            "单选框6", "单选框6"},
    KeyCase{"UpOnTextSelectsPen", "单选框6", Qt::Key_Up, kNone, {}, false, false,
            "单选框4", "单选框4"},
    KeyCase{"RightOnTextWrapsToPen", "单选框6", Qt::Key_Right, kNone, {}, false, false,
            "单选框4", "单选框4"},
    KeyCase{"OnComboBoxLeavesTheRadioButtons", "组合框1", Qt::Key_Down, kNone, {}}),
    CaseLabel());

INSTANTIATE_TEST_SUITE_P(F1, WindowKeyboardTest, ::testing::Values(
    KeyCase{"DoesNothing", "组合框1", Qt::Key_F1, kNone, {}},
    KeyCase{"InTextBoxDoesNothing", "编辑框1", Qt::Key_F1, kNone, {}}),
    CaseLabel());
// clang-format on

TEST_F(MainWindowTest, ArrowsOnTheListStillPickItems) {
  ShowActive();
  window.组合框1->setFocus();
  QTest::keyClick(window.组合框1, Qt::Key_Down);
  EXPECT_EQ(window.组合框1->SelectedIndex(), 1);
}

TEST_F(MainWindowTest, TypingInTheTextBoxStillWorks) {
  ShowActive();
  window.编辑框1->setFocus();
  QTest::keyClicks(window.编辑框1, QStringLiteral("ab"));
  QTest::keyClick(window.编辑框1, Qt::Key_Return);
  QTest::keyClicks(window.编辑框1, QStringLiteral("c"));
  EXPECT_EQ(window.编辑框1->Text(), QStringLiteral("ab\r\nc"));
  EXPECT_THAT(handlers.Calls(), IsEmpty());
}
