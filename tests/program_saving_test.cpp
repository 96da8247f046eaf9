// Saving through the whole program: a save that fails half-way leaves the earlier workbook
// as it was and says so in the window's message box, a folder without write permission is
// reported there too, and an unusual file name comes back from the window and from the
// command line exactly as given.

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gmock/gmock.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/picture_button.h"
#include "render/automation/automation_object.h"
#include "tests/support/acting_as_ordinary_user.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/program_window.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/text_of.h"
#include "tests/support/workbook_reader.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::string WritePicture(const std::string& path, int width, int height,
                         const PictureColours& colourAt = PatternColour) {
  const Bytes bytes = BmpBytes(width, height, colourAt);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return path;
}

// Every pixel a colour of its own, so the workbook holds thousands of formats and is far
// larger than a few kilobytes.
ColourValue Noise(int x, int y) {
  std::minstd_rand random(static_cast<unsigned>(y * 1000 + x + 1));
  return random() & 0xFFFFFF;
}

// What a workbook of a `width` × `height` picture in PatternColour must hold.
void ExpectHoldsPattern(const std::string& path, int width, int height) {
  const WorkbookFacts facts = ReadWorkbook("openpyxl", path, {"all"});
  ASSERT_EQ(facts.exitCode, 0) << "openpyxl could not read " << path;
  EXPECT_THAT(facts.Values("rows"),
              ElementsAre(std::to_string(height) + " columns " + std::to_string(width)));
  std::vector<std::string> cells;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      cells.push_back(std::string(1, char('A' + x)) + std::to_string(y + 1) + " solid " +
                      ArgbText(PatternColour(x, y)));
  EXPECT_THAT(facts.Values("cell"), ElementsAreArray(cells));
}

class SavingThroughTheWindow : public ::testing::Test {
 protected:
  void ExpectIdleAndReleased() {
    EXPECT_TRUE(program.window.按钮_制作->isEnabled());
    EXPECT_TRUE(program.window.按钮_打开->isEnabled());
    EXPECT_EQ(LiveAutomationObjects(), 0u);
  }

  ScratchFolder folder;
  ProgramWindow program;
};

// ---------------------------------------------------------------- a save that fails half-way

// Makes writes in a folder fail once a few kilobytes more are written, as a full disk does,
// for as long as it lives. Where the machine does not allow it, Reason() says why.
class FullDisk {
 public:
  virtual ~FullDisk() = default;
  // The folder whose disk fills up.
  virtual std::string Folder() const = 0;
  // Called between the first save and the one that must fail, and after it.
  virtual void Fill() = 0;
  virtual void Free() {}
  virtual std::string Reason() const { return {}; }
};

// A tmpfs of 64 kB of its own.
class SmallTmpfs final : public FullDisk {
 public:
  explicit SmallTmpfs(const ScratchFolder& folder) : mountPoint_(folder / "small disk") {
    mkdir(mountPoint_.c_str(), 0755);
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=64k") != 0) reason_ = std::strerror(errno);
  }
  ~SmallTmpfs() override {
    if (reason_.empty()) umount2(mountPoint_.c_str(), MNT_DETACH);
  }
  std::string Folder() const override { return mountPoint_; }
  void Fill() override {}  // the second workbook does not fit
  std::string Reason() const override {
    return reason_.empty() ? "" : "cannot mount a small tmpfs here (" + reason_ + "; it needs root)";
  }

 private:
  std::string mountPoint_;
  std::string reason_;
};

// A limit on the size of any file this process writes, past which writes fail with EFBIG.
class FileSizeLimit final : public FullDisk {
 public:
  explicit FileSizeLimit(const ScratchFolder& folder) : folder_(folder / "workbooks") {
    mkdir(folder_.c_str(), 0755);
    getrlimit(RLIMIT_FSIZE, &saved_);
  }
  ~FileSizeLimit() override { Free(); }
  std::string Folder() const override { return folder_; }
  void Fill() override {
    previous_ = signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
    const rlimit limited{16 * 1024, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  void Free() override {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_);
  }

 private:
  std::string folder_;
  rlimit saved_{};
  sighandler_t previous_ = SIG_DFL;
};

struct DiskKind {
  std::string label;
  std::unique_ptr<FullDisk> (*make)(const ScratchFolder&);
  friend void PrintTo(const DiskKind& kind, std::ostream* out) { *out << kind.label; }
};

class SaveOnAFullDisk : public SavingThroughTheWindow, public ::testing::WithParamInterface<DiskKind> {};

TEST_P(SaveOnAFullDisk, KeepsTheEarlierWorkbookAndSaysItWasNotSaved) {
  const std::unique_ptr<FullDisk> disk = GetParam().make(folder);
  if (!disk->Reason().empty()) GTEST_SKIP() << disk->Reason();
  const std::string workbook = disk->Folder() + "/作品.xlsx";

  program.Open(WritePicture(folder / "small.bmp", 6, 4));
  ASSERT_EQ(program.Convert(workbook), SavedMessage(workbook));
  const std::string earlier = FileText(workbook);

  program.Open(WritePicture(folder / "noise.bmp", 200, 150, Noise));
  disk->Fill();
  EXPECT_EQ(program.Convert(workbook), NotSavedMessage(workbook));
  disk->Free();

  EXPECT_EQ(FileText(workbook), earlier) << "the earlier workbook changed";
  EXPECT_THAT(folder.Names(disk->Folder()), ElementsAre("作品.xlsx")) << "a part-written file is left";
  ExpectIdleAndReleased();
  ExpectHoldsPattern(workbook, 6, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SaveOnAFullDisk,
    ::testing::Values(
        DiskKind{"small_tmpfs", [](const ScratchFolder& f) -> std::unique_ptr<FullDisk> {
                   return std::make_unique<SmallTmpfs>(f);
                 }},
        DiskKind{"file_size_limit", [](const ScratchFolder& f) -> std::unique_ptr<FullDisk> {
                   return std::make_unique<FileSizeLimit>(f);
                 }}),
    [](const auto& test) { return test.param.label; });

// ---------------------------------------------------------------- a folder that refuses

TEST_F(SavingThroughTheWindow, IntoAReadOnlyFolderSaysItWasNotSaved) {
  program.Open(WritePicture(folder / "picture.bmp", 6, 4));
  const std::string readOnly = folder / "read only";
  mkdir(readOnly.c_str(), 0555);
  const std::string workbook = readOnly + "/作品.xlsx";
  {
    ActingAsOrdinaryUser ordinary;
    EXPECT_EQ(program.Convert(workbook), NotSavedMessage(workbook));
  }
  EXPECT_THAT(folder.Names(readOnly), IsEmpty());
  ExpectIdleAndReleased();
}

// ---------------------------------------------------------------- unusual names

constexpr const char* kFolderName = "图片 与 作品";
constexpr const char* kPictureName = "小 图.bmp";
constexpr const char* kWorkbookName = "我的 作品 第1版";  // no extension

TEST_F(SavingThroughTheWindow, APathWithSpacesChineseAndNoExtensionRoundTrips) {
  const std::string inside = folder / kFolderName;
  mkdir(inside.c_str(), 0755);
  const std::string workbook = inside + "/" + kWorkbookName;
  program.Open(WritePicture(inside + "/" + kPictureName, 6, 4));
  EXPECT_EQ(program.Convert(workbook), SavedMessage(workbook));
  EXPECT_THAT(folder.Names(inside), UnorderedElementsAre(kWorkbookName, kPictureName));
  ExpectHoldsPattern(workbook, 6, 4);
}

TEST(SavingThroughTheCommandLine, APathWithSpacesChineseAndNoExtensionRoundTrips) {
  const ScratchFolder folder;
  const std::string inside = folder / kFolderName;
  mkdir(inside.c_str(), 0755);
  const std::string workbook = inside + "/" + kWorkbookName;
  const ProgramRun run = RunProgram(
      {TESSARIN_BINARY_DIR "/tessarin-convert", WritePicture(inside + "/" + kPictureName, 6, 4), workbook});
  ASSERT_TRUE(run.endedInTime);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, workbook + ": 6 x 4 cells\n");
  EXPECT_EQ(run.err, "");
  EXPECT_THAT(folder.Names(inside), UnorderedElementsAre(kWorkbookName, kPictureName));
  ExpectHoldsPattern(workbook, 6, 4);
}

}  // namespace
