#pragma once
// Readable failure messages for Qt values and the program's request records.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <ostream>

#include "app/file_dialog_service.h"
#include "app/message_box.h"

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QPoint& point, std::ostream* out) {
  *out << '(' << point.x() << ", " << point.y() << ')';
}
inline void PrintTo(const QSize& size, std::ostream* out) {
  *out << size.width() << " x " << size.height();
}
inline void PrintTo(const QRect& rect, std::ostream* out) {
  *out << '(' << rect.x() << ", " << rect.y() << ") " << rect.width() << " x " << rect.height();
}
inline void PrintTo(const MessageRequest& request, std::ostream* out) {
  *out << "{text \"" << request.text.toStdString() << "\", title \""
       << request.title.toStdString() << "\", buttons " << static_cast<int>(request.buttons)
       << ", icon " << static_cast<int>(request.icon) << '}';
}
inline void PrintTo(const FileDialogSettings& settings, std::ostream* out) {
  *out << "{mode " << static_cast<int>(settings.mode) << ", filter \""
       << settings.filter.toStdString() << "\" #" << settings.filterIndex << ", proposed \""
       << settings.proposedFileName.toStdString() << "\", must exist "
       << settings.fileMustExist << settings.pathMustExist << ", ask "
       << settings.askBeforeOverwriting << settings.askBeforeCreating << ", hide read-only "
       << settings.hideReadOnly << '}';
}
