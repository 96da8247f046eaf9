#include "app/start_up.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/colour_chooser.h"
#include "app/fatal_failure.h"
#include "app/file_dialog_service.h"
#include "app/guarded_application.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/program_handlers.h"
#include "app/program_pictures.h"
#include "render/engine/spreadsheet_server.h"

QPoint CentredTopLeft(const QRect& screen, QSize outer) {
  return screen.topLeft() + QPoint((screen.width() - outer.width()) / 2,
                                   (screen.height() - outer.height()) / 2);
}

namespace {

QRect PrimaryScreenGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect();
}

// The window's size with the frame the window system reports; the client size while
// there is none (no window manager, or not shown yet).
QSize OuterSize(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  if (!handle) return window.frameGeometry().size();
  const QMargins frame = handle->frameMargins();
  return window.size().grownBy(frame);
}

void MoveToCentre(QWidget& window) {
  window.move(CentredTopLeft(PrimaryScreenGeometry(), OuterSize(window)));
}

// A window manager adds its frame only once the window is shown, keeping the client area
// where it was asked to be; as soon as the frame is known (by the first paint or
// activation after it came) the window is centred again by its outer size.
class CentreWhenFrameKnown final : public QObject {
 public:
  explicit CentreWhenFrameKnown(QWidget& window) : QObject(&window), window_(window) {}

  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    const bool mayKnowFrame =
        type == QEvent::Move || type == QEvent::Paint || type == QEvent::WindowActivate;
    if (mayKnowFrame && OuterSize(window_) != window_.size()) {
      window_.removeEventFilter(this);
      deleteLater();
      MoveToCentre(window_);
    }
    return false;
  }

 private:
  QWidget& window_;
};

// The automation layer the spreadsheet is driven through: the embedded spreadsheet engine
// is registered as "Excel.Application" before any window exists.
void InitialiseComponentObjectSupport() { InitialiseAutomation(); }

void MakeProgramFolderCurrent() { QDir::setCurrent(QCoreApplication::applicationDirPath()); }

void RequireCreated(QWidget& window) {
  window.winId();  // creates the native window, still hidden
  if (!window.testAttribute(Qt::WA_WState_Created) || !window.windowHandle())
    throw FatalFailure(QString::fromUtf8(kWindowNotCreatedText));
}

int RunWindow(GuardedApplication& application, MessageBoxService& messages) {
  InitialiseComponentObjectSupport();
  MakeProgramFolderCurrent();
  QGuiApplication::setWindowIcon(ProgramIcon());

  QtFileDialogService fileDialogs;
  QtColourChooser colourChooser;
  MainWindow window(fileDialogs, colourChooser);
  RequireCreated(window);
  ProgramHandlers handlers(window, messages);  // the program's state at its start values
  window.SetHandlers(&handlers);
  // The window's created event comes here; the program does nothing on it.

  ShowCentred(window);
  const int exitCode = application.exec();
  return application.FatalFailureReported() ? kFatalExitCode : exitCode;
}

QtMessageHandler previousMessageHandler = nullptr;

// Qt ends the process itself on a fatal error (no display, no platform plugin); end it
// with the program's failure code instead of an abort, after Qt's own message.
void EndOnFatalMessage(QtMsgType type, const QMessageLogContext& context,
                       const QString& message) {
  if (previousMessageHandler) previousMessageHandler(type, context, message);
  if (type == QtFatalMsg) std::_Exit(kFatalExitCode);
}

}  // namespace

void ShowCentred(QWidget& window) {
  MoveToCentre(window);
  window.installEventFilter(new CentreWhenFrameKnown(window));
  window.show();
  window.raise();
  window.activateWindow();
}

int RunProgram(int& argc, char** argv) {
  previousMessageHandler = qInstallMessageHandler(EndOnFatalMessage);
  QtMessageBoxService messages;
  try {
    GuardedApplication application(argc, argv, messages);
    return RunGuarded(messages, [&] { return RunWindow(application, messages); });
  } catch (const std::bad_alloc&) {
    // Before the toolkit could show a box.
    std::fputs("tessarin: out of memory\n", stderr);
    return kFatalExitCode;
  }
}
