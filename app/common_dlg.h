#pragma once
// A file dialog control of the window: it remembers a file name, proposes it when shown,
// and takes the full path of the file the user confirms.

#include <QString>

#include "app/file_dialog_service.h"

class QWidget;

class CommonDlg {
 public:
  CommonDlg(FileDialogMode mode, QString filter, FileDialogService& service, QWidget* owner);

  // Shows the dialog. True when the user confirms: the file name becomes the chosen
  // file's full path, exactly as typed otherwise (no extension added), and the working
  // directory becomes its folder. False on cancel, the file name kept.
  bool Open();

  const QString& FileName() const { return fileName_; }
  void SetFileName(const QString& fileName) { fileName_ = fileName; }

  // What the next Open shows.
  FileDialogSettings Settings() const;

 private:
  FileDialogMode mode_;
  QString filter_;
  FileDialogService& service_;
  QWidget* owner_;
  QString fileName_;
};
