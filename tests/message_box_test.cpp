// The message box facility: its default title, and the real box as the program shows it.

#include <QAbstractButton>
#include <QMessageBox>
#include <gmock/gmock.h>

#include "tests/support/case_names.h"
#include "app/message_box.h"
#include "tests/support/modal_script.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_dialogs.h"

using ::testing::ElementsAre;

TEST(MessageBoxTest, AMissingTitleBecomesTheInformationTitle) {
  ScriptedMessageBox messages;
  messages.Answer(MessageAnswer::Ok);
  messages.Answer(MessageAnswer::Yes);
  EXPECT_EQ(ShowMessageBox(messages, QStringLiteral("已保存")), MessageAnswer::Ok);
  EXPECT_EQ(ShowMessageBox(messages, QStringLiteral("要打开图片吗？"), QStringLiteral("请选择"),
                           MessageButtons::YesNo, MessageIcon::Information),
            MessageAnswer::Yes);
  EXPECT_THAT(messages.Asked(),
              ElementsAre(MessageRequest{"已保存", "信息：", MessageButtons::Ok, MessageIcon::None},
                          MessageRequest{"要打开图片吗？", "请选择", MessageButtons::YesNo,
                                         MessageIcon::Information}));
}

namespace {

struct BoxCase {
  const char* label;
  MessageButtons buttons;
  MessageIcon icon;
  QMessageBox::Icon shownIcon;
  QMessageBox::StandardButtons shownButtons;
  QMessageBox::StandardButton pressed;  // NoButton: closed with Esc
  MessageAnswer answer;
};

void PrintTo(const BoxCase& box, std::ostream* out) { *out << box.label; }

class QtMessageBoxTest : public ::testing::TestWithParam<BoxCase> {};

}  // namespace

TEST_P(QtMessageBoxTest, ShowsAnOwnerlessProgramModalBoxAndAnswersItsButton) {
  const BoxCase& box = GetParam();
  ModalScript script;
  script.Then<QMessageBox>([&box](QMessageBox& shown) {
    EXPECT_EQ(shown.windowTitle(), QStringLiteral("信息："));
    EXPECT_EQ(shown.text(), QStringLiteral("<b>D:\\作品-.xls</b>")) << "shown as plain text";
    EXPECT_EQ(shown.textFormat(), Qt::PlainText);
    EXPECT_EQ(shown.icon(), box.shownIcon);
    EXPECT_EQ(shown.standardButtons(), box.shownButtons);
    EXPECT_EQ(shown.parentWidget(), nullptr);
    EXPECT_EQ(shown.windowModality(), Qt::ApplicationModal);
    if (box.pressed == QMessageBox::NoButton)
      shown.reject();  // what Esc and the close box do
    else
      shown.button(box.pressed)->click();
  });
  QtMessageBoxService service;
  EXPECT_EQ(ShowMessageBox(service, QStringLiteral("<b>D:\\作品-.xls</b>"), {}, box.buttons, box.icon),
            box.answer);
  EXPECT_TRUE(script.Finished());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, QtMessageBoxTest,
    ::testing::Values(
        BoxCase{"OkPlain", MessageButtons::Ok, MessageIcon::None, QMessageBox::NoIcon,
                QMessageBox::Ok, QMessageBox::Ok, MessageAnswer::Ok},
        BoxCase{"OkError", MessageButtons::Ok, MessageIcon::Error, QMessageBox::Critical,
                QMessageBox::Ok, QMessageBox::Ok, MessageAnswer::Ok},
        BoxCase{"Yes", MessageButtons::YesNo, MessageIcon::Information, QMessageBox::Information,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, MessageAnswer::Yes},
        BoxCase{"No", MessageButtons::YesNo, MessageIcon::None, QMessageBox::NoIcon,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No, MessageAnswer::No},
        BoxCase{"ClosedCountsAsNo", MessageButtons::YesNo, MessageIcon::None, QMessageBox::NoIcon,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton, MessageAnswer::No}),
    CaseLabel());
