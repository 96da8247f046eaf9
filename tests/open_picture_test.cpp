// Opening a picture: which sizes pass, what a refusal says and leaves, what the canvas and
// the progress bar's maximum become.

#include "canvas/open_picture.h"

#include <gmock/gmock.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "canvas/canvas_surface.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/canvas_pixels.h"
#include "tests/support/case_names.h"
#include "tests/support/scratch_folder.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

namespace {

constexpr const char* kRefusal = "本程序限制图片最大为800*600像素的图片，请调整文件尺寸后重试";
constexpr const char* kTitle = "信息：";
constexpr ColourValue kInk = MakeColourValue(10, 200, 90);

// The window as opening a picture sees it. The dialog confirms the next path scripted (and
// then holds it as its file name, as the real one does) or is cancelled.
class FakeOpeningWindow final : public PictureOpeningWindow {
 public:
  bool ShowPictureDialog() override {
    if (answers.empty()) {
      ADD_FAILURE() << "the picture dialog was shown with no answer scripted";
      return false;
    }
    const std::optional<std::string> answer = answers.front();
    answers.pop_front();
    if (answer) path = *answer;
    return answer.has_value();
  }
  std::string SourcePicturePath() const override { return path; }
  void SetSourcePicturePath(const std::string& newPath) override { path = newPath; }
  void ShowMessage(const std::string& text, const std::string& title) override {
    messages.emplace_back(text, title);
  }
  void SetProgressMaximum(int maximum) override { progressMaximum = maximum; }
  CanvasSurface& Canvas() override { return canvas; }

  std::deque<std::optional<std::string>> answers;
  std::string path;
  std::vector<std::pair<std::string, std::string>> messages;
  int progressMaximum = 100;
  CanvasSurface canvas;
};

class OpenPictureTest : public ::testing::Test {
 protected:
  // The user chooses `file` in the dialog; the panel paints once the handler returns.
  void OpenAndPaint(const std::optional<std::string>& file) {
    window.answers.push_back(file);
    OpenPicture(window);
    EXPECT_THAT(window.answers, IsEmpty()) << "the dialog was not shown";
    window.canvas.RepaintIfRequested();
  }

  // A 30 × 20 picture is open and marked inside and outside its area.
  void OpenEarlierPictureAndDraw() {
    OpenAndPaint(WriteBmp(folder / "earlier.bmp", 30, 20));
    ASSERT_EQ(window.progressMaximum, 6);
    window.canvas.SetPenWidth(15);
    window.canvas.DrawCanvasPoint(5, 5, kInk);
    window.canvas.DrawCanvasPoint(500, 400, kInk);
    window.canvas.SetCanvasWritePosition(600, 100);
    window.canvas.WriteCanvasText("mark");
    earlierPath = window.path;
    earlier.emplace(window.canvas);
  }

  ScratchFolder folder;
  FakeOpeningWindow window;
  std::string earlierPath;
  std::optional<CanvasReading> earlier;
};

struct SizeCase {
  std::string label;
  int width;
  int height;
  std::optional<int> maximum;  // nothing: refused
};
void PrintTo(const SizeCase& test, std::ostream* out) { *out << test.label; }

class OpenPictureSizeTest : public OpenPictureTest,
                            public ::testing::WithParamInterface<SizeCase> {};

TEST_P(OpenPictureSizeTest, AcceptsUpTo800By600AndSetsTheMaximumInHundredsOfCells) {
  const SizeCase& test = GetParam();
  OpenEarlierPictureAndDraw();
  const std::string chosen = WriteBmp(folder / "chosen.bmp", test.width, test.height);
  OpenAndPaint(chosen);

  if (test.maximum) {
    EXPECT_THAT(window.messages, IsEmpty());
    EXPECT_EQ(window.path, chosen);
    EXPECT_EQ(window.progressMaximum, *test.maximum);
    // Every earlier mark is gone, also where the new picture does not reach.
    EXPECT_TRUE(ShowTheSame(CanvasReading(window.canvas), PatternOnWhite(test.width, test.height)));
  } else {
    EXPECT_THAT(window.messages, ElementsAre(Pair(kRefusal, kTitle)));
    EXPECT_EQ(window.path, "");
    EXPECT_EQ(window.progressMaximum, 6);
    EXPECT_FALSE(window.canvas.RepaintRequested());
    EXPECT_TRUE(ShowTheSame(CanvasReading(window.canvas), *earlier))
        << "the earlier picture and its marks stay";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, OpenPictureSizeTest,
    ::testing::Values(SizeCase{"Largest_800x600", 800, 600, 4800},
                      SizeCase{"TooWide_801x1", 801, 1, std::nullopt},
                      SizeCase{"TooHigh_800x601", 800, 601, std::nullopt},
                      SizeCase{"TallerThanWide_600x800", 600, 800, std::nullopt},
                      SizeCase{"OnePixel_1x1", 1, 1, 0},
                      SizeCase{"Exactly100Cells_10x10", 10, 10, 1},
                      SizeCase{"Square_100x100", 100, 100, 100},
                      SizeCase{"UnderAHundredCells_10x9", 10, 9, 0},
                      SizeCase{"TruncatedNotRounded_799x599", 799, 599, 4786}),
    CaseLabel());

// A file the dialog confirms that holds no picture: both sizes are 0, so it passes; the canvas
// turns white, the maximum becomes 0 and the path stays, so a picture counts as loaded.
struct NoPictureCase {
  std::string label;
  std::string contents;
  bool exists;
};
void PrintTo(const NoPictureCase& test, std::ostream* out) { *out << test.label; }

class OpenNoPictureTest : public OpenPictureTest,
                          public ::testing::WithParamInterface<NoPictureCase> {};

TEST_P(OpenNoPictureTest, IsAcceptedWithSizeZero) {
  OpenEarlierPictureAndDraw();
  const std::string chosen = folder / "chosen.txt";
  if (GetParam().exists)
    WriteFileBytes(chosen, Bytes(GetParam().contents.begin(), GetParam().contents.end()));
  OpenAndPaint(chosen);

  EXPECT_THAT(window.messages, IsEmpty());
  EXPECT_EQ(window.path, chosen);
  EXPECT_EQ(window.progressMaximum, 0);
  EXPECT_TRUE(ShowTheSame(CanvasReading(window.canvas), CanvasReading([](int, int) { return kWhite; })));
}

INSTANTIATE_TEST_SUITE_P(Files, OpenNoPictureTest,
                         ::testing::Values(NoPictureCase{"TextFile", "800 x 600, honestly\n", true},
                                           NoPictureCase{"EmptyFile", "", true},
                                           NoPictureCase{"GoneSinceChosen", "", false}),
                         CaseLabel());

TEST_F(OpenPictureTest, ACancelledDialogChangesNothing) {
  OpenEarlierPictureAndDraw();
  OpenAndPaint(std::nullopt);
  EXPECT_THAT(window.messages, IsEmpty());
  EXPECT_EQ(window.path, earlierPath);
  EXPECT_EQ(window.progressMaximum, 6);
  EXPECT_TRUE(ShowTheSame(CanvasReading(window.canvas), *earlier));
}

TEST_F(OpenPictureTest, AfterARefusalTheNextPictureOpensNormally) {
  OpenEarlierPictureAndDraw();
  OpenAndPaint(WriteBmp(folder / "huge.bmp", 1000, 10));
  ASSERT_EQ(window.path, "");
  const std::string next = WriteBmp(folder / "next.bmp", 200, 150);
  OpenAndPaint(next);
  EXPECT_EQ(window.path, next);
  EXPECT_EQ(window.progressMaximum, 300);
  EXPECT_TRUE(ShowTheSame(CanvasReading(window.canvas), PatternOnWhite(200, 150)));
}

}  // namespace
