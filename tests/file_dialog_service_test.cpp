// Qt's file dialog as the program shows it, answered on the offscreen platform.

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <gmock/gmock.h>

#include "app/file_dialog_service.h"
#include "tests/support/modal_script.h"
#include "tests/support/qt_printers.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(QtNameFiltersTest, TurnsFilterPairsIntoQtFilters) {
  EXPECT_THAT(QtNameFilters(QStringLiteral("*.jpg|*.jpg|*.*|*.*")),
              ElementsAre(QStringLiteral("*.jpg (*.jpg)"), QStringLiteral("*.* (*)")));
  EXPECT_THAT(QtNameFilters(QStringLiteral("Pictures|*.jpg;*.bmp")),
              ElementsAre(QStringLiteral("Pictures (*.jpg *.bmp)")));
  EXPECT_THAT(QtNameFilters(QString()), ElementsAre());
}

namespace {

class QtFileDialogTest : public ::testing::Test {
 protected:
  QtFileDialogTest() : before_(QDir::currentPath()) { QDir::setCurrent(folder.path()); }
  ~QtFileDialogTest() override { QDir::setCurrent(before_); }

  static FileDialogSettings Settings(FileDialogMode mode, const char* filter) {
    FileDialogSettings settings;
    settings.mode = mode;
    settings.filter = QString::fromUtf8(filter);
    return settings;
  }

  // Presses Open or Save, as the user would.
  static void Confirm(QFileDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QPushButton* confirm = buttons->button(dialog.acceptMode() == QFileDialog::AcceptOpen
                                               ? QDialogButtonBox::Open
                                               : QDialogButtonBox::Save);
    ASSERT_NE(confirm, nullptr);
    if (!confirm->isEnabled()) {
      ADD_FAILURE() << "the confirm button is disabled";
      dialog.reject();  // a dialog left open would hold the test forever
      return;
    }
    confirm->click();
  }

  static void Type(QFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
  }

  void MakeFile(const QString& name) {
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QTemporaryDir folder;
  QtFileDialogService service;
  ModalScript script;

 private:
  QString before_;
};

}  // namespace

TEST_F(QtFileDialogTest, ShowsItsFiltersWithTheFirstChosenInTheWorkingDirectory) {
  script.Then<QFileDialog>([this](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_THAT(dialog.nameFilters(),
                ElementsAre(QStringLiteral("*.jpg (*.jpg)"), QStringLiteral("*.* (*)")));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("*.jpg")) << "shown without details";
    EXPECT_EQ(QDir(dialog.directory()), QDir(folder.path()));
    EXPECT_TRUE(dialog.defaultSuffix().isEmpty());
    EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
    dialog.reject();
  });
  EXPECT_EQ(service.Ask(Settings(FileDialogMode::Open, "*.jpg|*.jpg|*.*|*.*"), nullptr),
            std::nullopt);
  EXPECT_TRUE(script.Finished());
}

TEST_F(QtFileDialogTest, SaveGivesANameTypedWithoutExtensionAsTyped) {
  script.Then<QFileDialog>([](QFileDialog& dialog) {
    Type(dialog, QStringLiteral("作品-1"));
    Confirm(dialog);
  });
  const auto chosen = service.Ask(Settings(FileDialogMode::Save, "*.xls|*.xls|*.*|*.*"), nullptr);
  EXPECT_EQ(chosen, QDir(folder.path()).absoluteFilePath(QStringLiteral("作品-1")));
}

TEST_F(QtFileDialogTest, OpenGivesTheChosenExistingFile) {
  MakeFile(QStringLiteral("cat.jpg"));
  script.Then<QFileDialog>([](QFileDialog& dialog) {
    Type(dialog, QStringLiteral("cat.jpg"));
    Confirm(dialog);
  });
  EXPECT_EQ(service.Ask(Settings(FileDialogMode::Open, "*.jpg|*.jpg|*.*|*.*"), nullptr),
            folder.filePath(QStringLiteral("cat.jpg")));
}

// A typed path opens a file the chosen filter hides, however long the dialog has had to
// read that file's folder before the name was typed.
TEST_F(QtFileDialogTest, OpenGivesATypedFileThatTheFilterHides) {
  MakeFile(QStringLiteral("picture.bmp"));
  const QString typed = folder.filePath(QStringLiteral("picture.bmp"));
  for (const int readingMs : {0, 300}) {
    script.Then<QFileDialog>([&typed, readingMs](QFileDialog& dialog) {
      QTest::qWait(readingMs);
      Type(dialog, typed);
      QTest::qWait(readingMs);
      Confirm(dialog);
    });
    EXPECT_EQ(service.Ask(Settings(FileDialogMode::Open, "*.jpg|*.jpg|*.*|*.*"), nullptr), typed)
        << "after " << readingMs << " ms of reading";
    EXPECT_TRUE(script.Finished());
  }
}

TEST_F(QtFileDialogTest, OpenRefusesAFileThatDoesNotExist) {
  script.Then<QFileDialog>([](QFileDialog& dialog) {
    Type(dialog, QStringLiteral("missing.jpg"));
    Confirm(dialog);
    EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
    dialog.reject();
  });
  script.Then<QMessageBox>([](QMessageBox& warning) {
    EXPECT_THAT(warning.text().toStdString(), HasSubstr("missing.jpg\nFile not found"));
    warning.accept();
  });
  EXPECT_EQ(service.Ask(Settings(FileDialogMode::Open, "*.jpg|*.jpg|*.*|*.*"), nullptr),
            std::nullopt);
  EXPECT_TRUE(script.Finished());
}

TEST_F(QtFileDialogTest, SaveRefusesAFolderThatDoesNotExist) {
  script.Then<QFileDialog>([](QFileDialog& dialog) {
    Type(dialog, QStringLiteral("no-such-folder/out.xls"));
    Confirm(dialog);
    EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
    dialog.reject();
  });
  script.Then<QMessageBox>([](QMessageBox& warning) {
    EXPECT_THAT(warning.text().toStdString(), HasSubstr("Path not found"));
    warning.accept();
  });
  EXPECT_EQ(service.Ask(Settings(FileDialogMode::Save, "*.xls|*.xls|*.*|*.*"), nullptr),
            std::nullopt);
  EXPECT_TRUE(script.Finished());
}

TEST_F(QtFileDialogTest, SaveAsksBeforeOverwriting) {
  MakeFile(QStringLiteral("old.xls"));
  script.Then<QFileDialog>([](QFileDialog& dialog) {
    Type(dialog, QStringLiteral("old.xls"));
    Confirm(dialog);
  });
  script.Then<QMessageBox>([](QMessageBox& question) {
    EXPECT_THAT(question.text().toStdString(), HasSubstr("old.xls"));
    question.button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(service.Ask(Settings(FileDialogMode::Save, "*.xls|*.xls|*.*|*.*"), nullptr),
            folder.filePath(QStringLiteral("old.xls")));
  EXPECT_TRUE(script.Finished());
}
