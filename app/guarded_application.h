#pragma once
// The application object: it delivers every event, and a failure thrown out of a
// handler (memory running out above all) ends the program with an error box and -1
// instead of tearing the process down.

#include <QApplication>

class MessageBoxService;

class GuardedApplication final : public QApplication {
  Q_OBJECT

 public:
  GuardedApplication(int& argc, char** argv, MessageBoxService& messages);

  bool notify(QObject* receiver, QEvent* event) override;

  // True once a failure has ended the event loop.
  bool FatalFailureReported() const { return fatalFailureReported_; }

 private:
  MessageBoxService& messages_;
  bool fatalFailureReported_ = false;
};
