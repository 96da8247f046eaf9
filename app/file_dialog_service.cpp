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
// and refuses it in the open dialog too, with Qt's own wording for a missing file.
class PathCheckingFileDialog final : public QFileDialog {
 public:
  PathCheckingFileDialog(QWidget* owner, bool pathMustExist)
      : QFileDialog(owner), pathMustExist_(pathMustExist) {}

  void accept() override {
    const QStringList chosen = selectedFiles();
    if (pathMustExist_ && !chosen.isEmpty() && !FolderExists(chosen.first())) {
      QMessageBox::warning(this, windowTitle(),
                           tr("%1\nPath not found.\nPlease verify the correct path was given.")
                               .arg(QDir::toNativeSeparators(QFileInfo(chosen.first()).path())));
      return;
    }
    QFileDialog::accept();
  }

 private:
  static bool FolderExists(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() || info.dir().exists();
  }

  bool pathMustExist_;
};

}  // namespace

std::optional<QString> QtFileDialogService::Ask(const FileDialogSettings& settings,
                                                QWidget* owner) {
  PathCheckingFileDialog dialog(owner, settings.pathMustExist);
  // Qt's own widget everywhere, so the checks above always apply.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setWindowModality(Qt::ApplicationModal);
  const bool opening = settings.mode == FileDialogMode::Open;
  dialog.setAcceptMode(opening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(opening && settings.fileMustExist ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
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
