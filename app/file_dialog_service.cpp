#include "app/file_dialog_service.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    }
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
  }
  return filters;
}

namespace {

// Qt's save dialog accepts a name in a folder that does not exist; this one refuses it,
// and refuses it in the open dialog too, with Qt's own wording for a missing path.
//
// An open dialog that wants an existing file checks for it here, when Open is pressed,
// instead of in Qt's ExistingFile mode: that mode enables Open only while the file is in
// the dialog's list, so a typed path to a file that the chosen filter hides (a .bmp under
// "*.jpg") leaves Open disabled, and Enter doing nothing, once the folder has been read.
class PathCheckingFileDialog final : public QFileDialog {
 public:
  PathCheckingFileDialog(QWidget* owner, bool fileMustExist, bool pathMustExist)
      : QFileDialog(owner), fileMustExist_(fileMustExist), pathMustExist_(pathMustExist) {}

  void accept() override {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty() && !Checked(QFileInfo(chosen.first()))) return;
    QFileDialog::accept();
  }

 private:
  // Whether the chosen path may be confirmed; warns when not.
  bool Checked(const QFileInfo& info) {
    if (pathMustExist_ && !info.isDir() && !info.dir().exists()) {
      Warn(tr("%1\nPath not found.\nPlease verify the correct path was given."), info.path());
      return false;
    }
    if (fileMustExist_ && !info.exists()) {
      Warn(tr("%1\nFile not found.\nPlease verify the correct file name was given."),
           info.fileName());
      return false;
    }
    return true;
  }

  void Warn(const QString& message, const QString& path) {
    QMessageBox::warning(this, windowTitle(), message.arg(QDir::toNativeSeparators(path)));
  }

  bool fileMustExist_;
  bool pathMustExist_;
};

}  // namespace

std::optional<QString> QtFileDialogService::Ask(const FileDialogSettings& settings,
                                                QWidget* owner) {
  const bool opening = settings.mode == FileDialogMode::Open;
  PathCheckingFileDialog dialog(owner, opening && settings.fileMustExist, settings.pathMustExist);
  // Qt's own widget everywhere, so the checks above always apply.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setAcceptMode(opening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.askBeforeOverwriting);
  dialog.setDirectory(QDir::current());
  const QStringList filters = QtNameFilters(settings.filter);
  dialog.setNameFilters(filters);
  if (settings.filterIndex >= 1 && settings.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[settings.filterIndex - 1]);
  if (!settings.proposedFileName.isEmpty()) dialog.selectFile(settings.proposedFileName);

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first();
}
