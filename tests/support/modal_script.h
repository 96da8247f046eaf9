#pragma once
// Answers real modal dialogs in widget tests: each step waits until a modal widget of its
// kind is the active one, then acts on it (types a name, presses a button). When a step
// finds nothing to act on within the time limit, the test fails and every modal widget
// still open is rejected, so a test never hangs on a dialog.

#include <QDialog>
#include <QTimer>
#include <deque>
#include <functional>

class ModalScript final : public QObject {
 public:
  using Step = std::function<void(QDialog&)>;

  explicit ModalScript(int timeLimitMs = 5000);

  // Acts on the next modal dialog of type Dialog to come up.
  template <typename Dialog>
  void Then(std::function<void(Dialog&)> act) {
    steps_.push_back({[](QDialog& dialog) { return qobject_cast<Dialog*>(&dialog) != nullptr; },
                      [act](QDialog& dialog) { act(*qobject_cast<Dialog*>(&dialog)); }});
    KeepPolling();
  }

  bool Finished() const { return steps_.empty() && !actPending_; }

 private:
  struct Entry {
    std::function<bool(QDialog&)> matches;
    Step act;
  };
  void Poll();
  // Polling stops once every step is taken; a step added later starts it again.
  void KeepPolling();

  std::deque<Entry> steps_;
  QTimer timer_;
  int waitedMs_ = 0;
  int timeLimitMs_;
  bool actPending_ = false;
};
