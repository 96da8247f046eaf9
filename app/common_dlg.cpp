#include "app/common_dlg.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

CommonDlg::CommonDlg(FileDialogMode mode, QString filter, FileDialogService& service,
                     QWidget* owner)
    : mode_(mode), filter_(std::move(filter)), service_(service), owner_(owner) {}

FileDialogSettings CommonDlg::Settings() const {
  FileDialogSettings settings;
  settings.mode = mode_;
  settings.filter = filter_;
  settings.filterIndex = 1;
  settings.proposedFileName = fileName_;
  return settings;
}

bool CommonDlg::Open() {
  const std::optional<QString> chosen = service_.Ask(Settings(), owner_);
  if (!chosen || chosen->isEmpty()) return false;
  const QFileInfo file(*chosen);
  fileName_ = file.absoluteFilePath();
  QDir::setCurrent(file.absolutePath());
  return true;
}
