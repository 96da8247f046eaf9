#pragma once
// The modal open and save file dialogs behind one small interface, so the window's
// CommonDlg controls (and the handlers using them) can be answered by tests.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

enum class FileDialogMode { Open, Save };

// Everything a file dialog is shown with.
struct FileDialogSettings {
  FileDialogMode mode = FileDialogMode::Open;
  // Display text and pattern pairs separated by "|": "*.jpg|*.jpg|*.*|*.*".
  QString filter;
  int filterIndex = 1;  // the pair chosen at start, counted from 1
  QString proposedFileName;
  bool fileMustExist = true;  // only an open dialog can demand it
  bool pathMustExist = true;
  bool askBeforeOverwriting = true;  // only a save dialog can overwrite
  bool askBeforeCreating = false;
  bool hideReadOnly = true;

  bool operator==(const FileDialogSettings&) const = default;
};

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;
  // The path the user confirmed, or nothing when the dialog was cancelled.
  virtual std::optional<QString> Ask(const FileDialogSettings& settings, QWidget* owner) = 0;
};

// The filter pairs in Qt's name-filter form ("*.jpg (*.jpg)"). The pattern "*.*" means
// every file, also one without a dot, so it becomes "*".
QStringList QtNameFilters(const QString& filter);

// Qt's own dialog widget (the same on every desktop), modal for the whole program.
class QtFileDialogService final : public FileDialogService {
 public:
  std::optional<QString> Ask(const FileDialogSettings& settings, QWidget* owner) override;
};
