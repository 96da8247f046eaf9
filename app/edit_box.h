#pragma once
// The multi-line text box whose text the canvas stamps: wraps at its width, no scroll
// bars, a thin solid border, black on white, SimSun 14 px (or an installed CJK font).

#include <QPlainTextEdit>

class EditBox final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit EditBox(QWidget* parent = nullptr);

  // The whole content, every line break as CR LF.
  QString Text() const;
};
