// The progress bar: written values clamped to 0 .. 32767, the shown position clamped into
// the range, and a fill drawn in segments.

#include <QImage>
#include <climits>
#include <gmock/gmock.h>

#include "app/process_bar.h"

struct BarCase {
  int maximum;
  int position;
  int keptMaximum;
  int keptPosition;
  int shownPosition;
};

void PrintTo(const BarCase& bar, std::ostream* out) {
  *out << "maximum " << bar.maximum << ", position " << bar.position;
}

class ProcessBarClampTest : public ::testing::TestWithParam<BarCase> {};

TEST_P(ProcessBarClampTest, ClampsWhatIsWrittenAndWhatIsShown) {
  const BarCase& bar = GetParam();
  ProcessBar progress;
  progress.SetMaximum(bar.maximum);
  progress.SetPosition(bar.position);
  EXPECT_EQ(progress.Maximum(), bar.keptMaximum);
  EXPECT_EQ(progress.Position(), bar.keptPosition);
  EXPECT_EQ(progress.ShownPosition(), bar.shownPosition);
}

INSTANTIATE_TEST_SUITE_P(Values, ProcessBarClampTest,
                         ::testing::Values(BarCase{100, 50, 100, 50, 50},
                                           BarCase{32768, 40000, 32767, 32767, 32767},
                                           BarCase{INT_MAX, INT_MAX, 32767, 32767, 32767},
                                           BarCase{-5, 3, 0, 3, 0},
                                           BarCase{INT_MIN, INT_MIN, 0, 0, 0},
                                           BarCase{100, 150, 100, 150, 100},
                                           BarCase{4800, 4799, 4800, 4799, 4799},
                                           BarCase{0, 0, 0, 0, 0}));

TEST(ProcessBarTest, ShownPositionFollowsALaterMaximum) {
  ProcessBar progress;
  progress.SetPosition(80);
  progress.SetMaximum(50);
  EXPECT_EQ(progress.ShownPosition(), 50);
  progress.SetMaximum(200);
  EXPECT_EQ(progress.ShownPosition(), 80);
}

namespace {

bool IsFill(const QImage& image, int x, int y, const QColor& fill) {
  return image.pixelColor(x, y) == fill;
}

}  // namespace

TEST(ProcessBarTest, FillsItsShareInSegments) {
  ProcessBar progress;
  progress.resize(800, 8);
  progress.SetMaximum(100);
  progress.SetPosition(50);
  const QImage shown = progress.grab().toImage();
  const QColor fill = progress.palette().color(QPalette::Highlight);
  const int middle = shown.height() / 2;

  int filled = 0;
  int gaps = 0;
  int lastFilled = -1;
  for (int x = 1; x < shown.width() - 1; ++x) {
    if (!IsFill(shown, x, middle, fill)) continue;
    if (lastFilled >= 0 && x - lastFilled > 1) ++gaps;
    lastFilled = x;
    ++filled;
  }
  EXPECT_GT(lastFilled, 390) << "half the bar is filled";
  EXPECT_LT(lastFilled, 402);
  EXPECT_GT(gaps, 50) << "the fill is drawn in segments";
  EXPECT_GT(filled, 250);
  EXPECT_FALSE(IsFill(shown, 0, middle, fill)) << "the border stays";
}

TEST(ProcessBarTest, EmptyRangeDrawsNoFill) {
  ProcessBar progress;
  progress.resize(800, 8);
  progress.SetMaximum(0);
  progress.SetPosition(10);
  const QImage shown = progress.grab().toImage();
  const QColor fill = progress.palette().color(QPalette::Highlight);
  for (int x = 0; x < shown.width(); ++x) ASSERT_FALSE(IsFill(shown, x, 4, fill)) << x;
}
