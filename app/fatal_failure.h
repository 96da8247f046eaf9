#pragma once
// Failures the program cannot go on from: they are named in an error box and end the
// process with exit code -1.

#include <QString>
#include <functional>
#include <stdexcept>

class MessageBoxService;

inline constexpr int kFatalExitCode = -1;

inline constexpr const char* kOutOfMemoryText = "内存不足，程序无法继续运行。";
inline constexpr const char* kWindowNotCreatedText = "无法创建程序主窗口，程序无法继续运行。";
// Followed by the failure's own description.
inline constexpr const char* kUnexpectedFailureText = "程序发生无法继续的错误：";

// A failure found by the program's own code, carrying the text that names it.
class FatalFailure : public std::runtime_error {
 public:
  explicit FatalFailure(const QString& text);
  QString Text() const;
};

// The text naming the exception in flight; call only inside a catch block.
QString DescribeCurrentFailure();

// The error box: no owner window, the error icon, an OK button. An empty text stands for
// running out of memory. Writes to stderr instead when even the box cannot be shown.
void ReportFatalFailure(MessageBoxService& messages, const QString& text) noexcept;

// Runs body and gives its result; a failure thrown out of it is reported and gives -1.
int RunGuarded(MessageBoxService& messages, const std::function<int()>& body);
