#include "app/guarded_application.h"

#include "app/fatal_failure.h"

GuardedApplication::GuardedApplication(int& argc, char** argv, MessageBoxService& messages)
    : QApplication(argc, argv), messages_(messages) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  QString failure;
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    try {
      failure = DescribeCurrentFailure();
    } catch (...) {
    }
  }
  // One box is enough: events delivered while it is open may fail the same way.
  if (!fatalFailureReported_) {
    fatalFailureReported_ = true;
    ReportFatalFailure(messages_, failure);
  }
  exit(kFatalExitCode);
  return false;
}
