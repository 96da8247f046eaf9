#include "tests/support/modal_script.h"

#include <QApplication>
#include <QPointer>
#include <gtest/gtest.h>

namespace {
constexpr int kPollMs = 10;
}

ModalScript::ModalScript(int timeLimitMs) : timeLimitMs_(timeLimitMs) {
  connect(&timer_, &QTimer::timeout, this, &ModalScript::Poll);
  KeepPolling();
}

void ModalScript::KeepPolling() {
  if (!timer_.isActive()) timer_.start(kPollMs);
}

void ModalScript::Poll() {
  if (steps_.empty()) {
    timer_.stop();
    return;
  }
  if (actPending_) return;
  auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (dialog && dialog->isVisible() && steps_.front().matches(*dialog)) {
    const Entry step = steps_.front();
    steps_.pop_front();
    waitedMs_ = 0;
    // Acted on outside this timer's slot: Qt does not fire a timer again while its slot
    // runs, and the act may open the next dialog, which a later step has to answer.
    actPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, act = step.act, target = QPointer<QDialog>(dialog)] {
          actPending_ = false;
          if (target) act(*target);
        },
        Qt::QueuedConnection);
    return;
  }
  waitedMs_ += kPollMs;
  if (waitedMs_ < timeLimitMs_) return;
  ADD_FAILURE() << "a scripted dialog step found no dialog to act on";
  steps_.clear();
  timer_.stop();
  while (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) open->reject();
}
