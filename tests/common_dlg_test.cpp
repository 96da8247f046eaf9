// The window's two file dialogs: their settings, and what a confirmed or cancelled dialog
// leaves in the file name and the working directory.

#include <QDir>
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include "tests/support/case_names.h"
#include "app/common_dlg.h"
#include "tests/main_window_fixture.h"

namespace {

// Keeps the working directory of the test process as it was.
class CommonDlgTest : public MainWindowTest {
 protected:
  CommonDlgTest() : before_(QDir::currentPath()) {}
  ~CommonDlgTest() override { QDir::setCurrent(before_); }

  QTemporaryDir folder;

 private:
  QString before_;
};

struct DialogCase {
  const char* label;
  CommonDlg MainWindow::*dialog;
  FileDialogMode mode;
  const char* filter;
};

void PrintTo(const DialogCase& dialog, std::ostream* out) { *out << dialog.label; }

class CommonDlgSettingsTest : public CommonDlgTest,
                              public ::testing::WithParamInterface<DialogCase> {};

}  // namespace

TEST_P(CommonDlgSettingsTest, ShowsItsSettingsAndProposesItsFileName) {
  CommonDlg& dialog = window.*GetParam().dialog;
  dialog.SetFileName(QStringLiteral("作品-"));
  fileDialogs.Cancel();
  EXPECT_FALSE(dialog.Open());

  FileDialogSettings expected;
  expected.mode = GetParam().mode;
  expected.filter = QString::fromUtf8(GetParam().filter);
  expected.filterIndex = 1;
  expected.proposedFileName = QStringLiteral("作品-");
  expected.fileMustExist = true;
  expected.pathMustExist = true;
  expected.askBeforeOverwriting = true;
  expected.askBeforeCreating = false;
  expected.hideReadOnly = true;
  ASSERT_EQ(fileDialogs.Asked().size(), 1u);
  EXPECT_EQ(fileDialogs.Asked().front(), expected);
  EXPECT_EQ(fileDialogs.Owners().front(), &window) << "modal over the main window";
}

INSTANTIATE_TEST_SUITE_P(
    BothDialogs, CommonDlgSettingsTest,
    ::testing::Values(DialogCase{"SourcePicture", &MainWindow::通用对话框2, FileDialogMode::Open,
                                 "*.jpg|*.jpg|*.*|*.*"},
                      DialogCase{"OutputWorkbook", &MainWindow::通用对话框1, FileDialogMode::Save,
                                 "*.xls|*.xls|*.*|*.*"}),
    CaseLabel());

TEST_F(CommonDlgTest, ConfirmedPathBecomesTheFileNameAndTheWorkingDirectory) {
  ASSERT_TRUE(folder.isValid());
  QDir(folder.path()).mkdir(QStringLiteral("图片"));
  const QString chosen = folder.filePath(QStringLiteral("图片/猫.jpg"));
  fileDialogs.ConfirmWith(chosen);
  ASSERT_TRUE(window.通用对话框2.Open());
  EXPECT_EQ(window.通用对话框2.FileName(), chosen);
  EXPECT_EQ(QDir::current(), QDir(folder.filePath(QStringLiteral("图片"))));
}

TEST_F(CommonDlgTest, NameTypedWithoutExtensionComesBackAsTyped) {
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  fileDialogs.ConfirmWith(QStringLiteral("作品-1"));
  ASSERT_TRUE(window.通用对话框1.Open());
  EXPECT_EQ(window.通用对话框1.FileName(), QDir(folder.path()).absoluteFilePath("作品-1"))
      << "a full path, and no .xls added";
}

TEST_F(CommonDlgTest, CancelKeepsFileNameAndWorkingDirectory) {
  const QString kept = folder.filePath(QStringLiteral("earlier.jpg"));
  window.通用对话框2.SetFileName(kept);
  const QString workingDirectory = QDir::currentPath();
  fileDialogs.Cancel();
  EXPECT_FALSE(window.通用对话框2.Open());
  EXPECT_EQ(window.通用对话框2.FileName(), kept);
  EXPECT_EQ(QDir::currentPath(), workingDirectory);
}

TEST_F(CommonDlgTest, TheTwoDialogsKeepTheirOwnNames) {
  fileDialogs.ConfirmWith(folder.filePath(QStringLiteral("a.jpg")));
  fileDialogs.ConfirmWith(folder.filePath(QStringLiteral("b.xls")));
  ASSERT_TRUE(window.通用对话框2.Open());
  ASSERT_TRUE(window.通用对话框1.Open());
  EXPECT_EQ(window.通用对话框2.FileName(), folder.filePath(QStringLiteral("a.jpg")));
  EXPECT_EQ(window.通用对话框1.FileName(), folder.filePath(QStringLiteral("b.xls")));
  EXPECT_EQ(fileDialogs.Asked()[1].proposedFileName, QString())
      << "the save dialog proposes its own name, not the open dialog's";
}
