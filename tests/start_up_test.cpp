// Start-up: centring the window, and failures that end the program with an error box and
// exit code -1. Each test makes its own application object, as the program does.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gmock/gmock.h>
#include <new>
#include <stdexcept>

#include "tests/support/case_names.h"
#include "app/fatal_failure.h"
#include "app/guarded_application.h"
#include "app/start_up.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_dialogs.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct CentreCase {
  QRect screen;
  QSize outer;
  QPoint topLeft;
};

void PrintTo(const CentreCase& centre, std::ostream* out) {
  *out << "screen ";
  PrintTo(centre.screen, out);
  *out << ", window ";
  PrintTo(centre.outer, out);
}

class CentredTopLeftTest : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentredTopLeftTest, LeavesHalfTheRoomOnEachSide) {
  EXPECT_EQ(CentredTopLeft(GetParam().screen, GetParam().outer), GetParam().topLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, CentredTopLeftTest,
    ::testing::Values(CentreCase{{0, 0, 1920, 1080}, {916, 656}, {502, 212}},
                      CentreCase{{0, 0, 1280, 1024}, {910, 631}, {185, 196}},
                      CentreCase{{0, 0, 1025, 769}, {916, 656}, {54, 56}},  // odd room: rounds down
                      CentreCase{{0, 0, 800, 600}, {916, 656}, {-58, -28}},  // larger than screen
                      CentreCase{{1920, 0, 1280, 1024}, {910, 631}, {2105, 196}}));

namespace {

// An object whose handling of a posted event throws what it is told to.
class Thrower final : public QObject {
 public:
  explicit Thrower(std::function<void()> raise) : raise_(std::move(raise)) {}
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) raise_();
    return QObject::event(event);
  }

 private:
  std::function<void()> raise_;
};

class GuardedApplicationTest : public ::testing::Test {
 protected:
  ScriptedMessageBox messages;
  int argc = 1;
  char name[16] = "start_up_test";
  char* argv[2] = {name, nullptr};
  GuardedApplication application{argc, argv, messages};
};

MessageRequest ErrorBox(const QString& text) {
  return MessageRequest{text, QStringLiteral("信息："), MessageButtons::Ok, MessageIcon::Error};
}

}  // namespace

TEST_F(GuardedApplicationTest, MemoryRunningOutInAHandlerEndsTheProgramWithMinusOne) {
  messages.Answer(MessageAnswer::Ok);
  Thrower thrower([] { throw std::bad_alloc(); });
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));  // fails again: one box only
  EXPECT_EQ(QCoreApplication::exec(), -1);
  EXPECT_TRUE(application.FatalFailureReported());
  EXPECT_THAT(messages.Asked(), ElementsAre(ErrorBox(QString::fromUtf8(kOutOfMemoryText))));
}

TEST_F(GuardedApplicationTest, OrdinaryEventsEndWithZero) {
  QWidget window;
  window.show();
  QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_FALSE(application.FatalFailureReported());
  EXPECT_THAT(messages.Asked(), IsEmpty());
}

TEST_F(GuardedApplicationTest, ShowCentredCentresByTheOuterSize) {
  QWidget window;
  window.setFixedSize(910, 631);
  ShowCentred(window);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window.frameGeometry().topLeft(),
            CentredTopLeft(screen, window.frameGeometry().size()));
  EXPECT_TRUE(window.isVisible());
}

struct FailureCase {
  const char* label;
  std::function<int()> body;
  int exitCode;
  const char* boxText;  // nullptr: no box
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.label; }

class RunGuardedTest : public GuardedApplicationTest,
                       public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RunGuardedTest, NamesAFailureThatEndsTheProgram) {
  const FailureCase& failure = GetParam();
  if (failure.boxText) messages.Answer(MessageAnswer::Ok);
  EXPECT_EQ(RunGuarded(messages, failure.body), failure.exitCode);
  if (failure.boxText)
    EXPECT_THAT(messages.Asked(), ElementsAre(ErrorBox(QString::fromUtf8(failure.boxText))));
  else
    EXPECT_THAT(messages.Asked(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RunGuardedTest,
    ::testing::Values(
        FailureCase{"Success", [] { return 0; }, 0, nullptr},
        FailureCase{"OutOfMemory", []() -> int { throw std::bad_alloc(); }, -1, kOutOfMemoryText},
        FailureCase{"WindowNotCreated",
                    []() -> int { throw FatalFailure(QString::fromUtf8(kWindowNotCreatedText)); },
                    -1, kWindowNotCreatedText},
        FailureCase{"Unexpected", []() -> int { throw std::runtime_error("disk on fire"); }, -1,
                    "程序发生无法继续的错误：disk on fire"}),
    CaseLabel());
