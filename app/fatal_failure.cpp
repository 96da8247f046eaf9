#include "app/fatal_failure.h"

#include <cstdio>
#include <exception>
#include <new>

#include "app/message_box.h"

FatalFailure::FatalFailure(const QString& text) : std::runtime_error(text.toStdString()) {}

QString FatalFailure::Text() const { return QString::fromStdString(what()); }

QString DescribeCurrentFailure() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return QString::fromUtf8(kOutOfMemoryText);
  } catch (const FatalFailure& failure) {
    return failure.Text();
  } catch (const std::exception& failure) {
    return QString::fromUtf8(kUnexpectedFailureText) + QString::fromLocal8Bit(failure.what());
  } catch (...) {
    return QString::fromUtf8(kUnexpectedFailureText);
  }
}

void ReportFatalFailure(MessageBoxService& messages, const QString& text) noexcept {
  try {
    // No text means naming the failure ran out of memory itself.
    const QString shown = text.isEmpty() ? QString::fromUtf8(kOutOfMemoryText) : text;
    ShowMessageBox(messages, shown, {}, MessageButtons::Ok, MessageIcon::Error);
  } catch (...) {
    std::fputs("tessarin: a failure ended the program\n", stderr);
  }
}

int RunGuarded(MessageBoxService& messages, const std::function<int()>& body) {
  QString failure;
  try {
    return body();
  } catch (...) {
    // Named here, shown below: the box must not open while the failure is in flight.
    try {
      failure = DescribeCurrentFailure();
    } catch (...) {
    }
  }
  ReportFatalFailure(messages, failure);
  return kFatalExitCode;
}
