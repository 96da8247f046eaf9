#include "app/edit_box.h"

#include "app/ui_fonts.h"

EditBox::EditBox(QWidget* parent) : QPlainTextEdit(parent) {
  setFont(EditBoxFont());
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setTabChangesFocus(true);

  QPalette colours = palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colours.setColor(group, QPalette::Base, Qt::white);
    colours.setColor(group, QPalette::Window, Qt::white);
  }
  colours.setColor(QPalette::Active, QPalette::Text, Qt::black);
  colours.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
  // The selection shows only while the box has the focus.
  colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
  setPalette(colours);
}

QString EditBox::Text() const {
  // The document ends every line with one line feed, whatever was typed or pasted.
  QString text = toPlainText();
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return text;
}
