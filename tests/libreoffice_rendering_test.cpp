// A produced workbook as a real spreadsheet application shows it: tessarin-convert turns a
// small picture into a workbook, scripts/render-workbook renders that with LibreOffice Calc
// headless into a PNG, and the rendering must show the picture cell for cell: every cell in
// its own row and column with its pixel's colour, the rows as high as the chosen cell size.
// Skipped when LibreOffice is not installed.

#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "canvas/colour_value.h"
#include "canvas/read_file_bytes.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"


namespace {

constexpr int kPictureWidth = 12;
constexpr int kPictureHeight = 8;
// Fine enough that cells of the smallest size still span several pixels.
constexpr int kResolutionDpi = 600;
constexpr int kColourTolerance = 4;

// Every cell differs from each neighbour by at least 13 in some channel, far above the
// tolerance, so a cell shown one row or column off is caught; no cell is white, so the
// page's white marks where the grid ends.
ColourValue CellColour(int x, int y) {
  return MakeColourValue(static_cast<std::uint8_t>(20 + 19 * x), static_cast<std::uint8_t>(30 + 27 * y),
                         static_cast<std::uint8_t>(200 - 13 * x - 9 * y));
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (!folder.empty() && access((std::filesystem::path(folder) / program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

// LibreOffice takes a few seconds to start; a hung one is stopped long before ctest's limit.
constexpr ProgramOptions kSlowProgram{.killAfterSeconds = 180};

// The smallest rectangle that holds every pixel that is not (nearly) white.
QRect NonWhiteBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qRed(line[x]) < 250 || qGreen(line[x]) < 250 || qBlue(line[x]) < 250) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

std::string ColourText(int red, int green, int blue) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
  return text;
}

// The cell grid as located in a rendering: where it is and how large one cell is.
struct LocatedGrid {
  QRect bounds;
  double cellWidth = 0;
  double cellHeight = 0;
};

LocatedGrid LocateGrid(const QImage& rendering) {
  LocatedGrid grid;
  grid.bounds = NonWhiteBounds(rendering);
  grid.cellWidth = static_cast<double>(grid.bounds.width()) / kPictureWidth;
  grid.cellHeight = static_cast<double>(grid.bounds.height()) / kPictureHeight;
  return grid;
}

// The cells whose centre in the rendering shows another colour than their pixel.
std::vector<std::string> MisshownCells(const QImage& rendering, const LocatedGrid& grid) {
  std::vector<std::string> misshown;
  for (int row = 0; row < kPictureHeight; ++row) {
    for (int column = 0; column < kPictureWidth; ++column) {
      const int x = grid.bounds.left() + static_cast<int>((column + 0.5) * grid.cellWidth);
      const int y = grid.bounds.top() + static_cast<int>((row + 0.5) * grid.cellHeight);
      const QRgb shown = rendering.pixel(x, y);
      const ColourValue expected = CellColour(column, row);
      const int difference = std::max({std::abs(qRed(shown) - RedOf(expected)),
                                       std::abs(qGreen(shown) - GreenOf(expected)),
                                       std::abs(qBlue(shown) - BlueOf(expected))});
      if (difference > kColourTolerance) {
        misshown.push_back("column " + std::to_string(column + 1) + ", row " + std::to_string(row + 1) +
                           " shows " + ColourText(qRed(shown), qGreen(shown), qBlue(shown)) + ", its pixel is " +
                           ColourText(RedOf(expected), GreenOf(expected), BlueOf(expected)));
      }
    }
  }
  return misshown;
}

// One cell size: the picture converted with it and the workbook rendered by LibreOffice.
class WorkbookInLibreOfficeTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!OnPath("soffice") || !OnPath("pdftoppm")) {
      GTEST_SKIP() << "LibreOffice is not installed (no soffice or pdftoppm on the PATH); "
                      "scripts/setup installs libreoffice-calc-nogui and poppler-utils";
    }
    const std::string picture = WriteBmp(folder_ / "blocks.bmp", kPictureWidth, kPictureHeight, CellColour);
    const ProgramRun conversion =
        RunProgram({TESSARIN_CONVERT, "--cell-size", std::to_string(GetParam()), picture, workbook_}, kSlowProgram);
    ASSERT_EQ(conversion.exitCode, 0) << conversion.out << conversion.err;
    written_ = ReadFileBytes(workbook_);
    ASSERT_FALSE(written_.empty());

    const std::string renderingPath = folder_ / "rendering.png";
    const ProgramRun render =
        RunProgram({TESSARIN_SOURCE_DIR "/scripts/render-workbook", "--resolution", std::to_string(kResolutionDpi),
                    workbook_, renderingPath},
                   kSlowProgram);
    ASSERT_EQ(render.exitCode, 0) << render.out << render.err;
    rendering_ = QImage(QString::fromStdString(renderingPath)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(rendering_.isNull()) << "no picture at " << renderingPath;
  }

  ScratchFolder folder_;
  std::string workbook_ = folder_ / "blocks.xlsx";
  Bytes written_;
  QImage rendering_;
};

TEST_P(WorkbookInLibreOfficeTest, ShowsEveryCellInItsRowAndColumnWithItsPixelsColour) {
  const LocatedGrid grid = LocateGrid(rendering_);
  ASSERT_FALSE(grid.bounds.isEmpty()) << "the rendering shows no cells at all";
  // Sampling a centre means something only where a cell spans several pixels.
  ASSERT_GE(grid.cellWidth, 4.0);
  ASSERT_GE(grid.cellHeight, 4.0);
  EXPECT_THAT(MisshownCells(rendering_, grid), ::testing::IsEmpty());
  // Rendering works on a copy: the workbook the converter wrote stays exactly as it was.
  EXPECT_TRUE(FileHoldsBytes(workbook_, written_));
}

TEST_P(WorkbookInLibreOfficeTest, RowsAreAsHighAsTheCellSizeAndCellsRoughlySquare) {
  const LocatedGrid grid = LocateGrid(rendering_);
  ASSERT_FALSE(grid.bounds.isEmpty()) << "the rendering shows no cells at all";
  const double pointsPerPixel = 72.0 / kResolutionDpi;
  // Spreadsheet applications round row heights to whole screen pixels (0.75 points), so a
  // point of leeway; a row height the application ignored would give its default of 12.75
  // or 15 points.
  EXPECT_NEAR(grid.cellHeight * pointsPerPixel, GetParam(), 1.0);
  // The column widths are chosen to make cells about as wide as high; an ignored width
  // would leave the default of about 48 points.
  EXPECT_GT(grid.cellWidth, grid.cellHeight / 2);
  EXPECT_LT(grid.cellWidth, grid.cellHeight * 2);
}

INSTANTIATE_TEST_SUITE_P(CellSizes, WorkbookInLibreOfficeTest, ::testing::Values(1, 3, 5),
                         [](const ::testing::TestParamInfo<int>& size) {
                           return "CellSize" + std::to_string(size.param);
                         });

}  // namespace
