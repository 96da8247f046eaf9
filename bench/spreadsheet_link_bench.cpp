// Usage: spreadsheet_link_bench [distinct colours ...]   (default: 5000 150000)
//
// Colours an 800 × 600 sheet through SpreadsheetLink exactly as the conversion does, one
// cell at a time with every request it makes, then sizes the cells and saves the workbook
// into the temporary folder. Prints the time for the 480,000 cells, the time of the save and
// the process's peak memory so far.

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "render/column_name.h"
#include "render/engine/spreadsheet_server.h"
#include "render/spreadsheet_link.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// `count` distinct colours along a path through the colour cube that moves one step at a
// time, so neighbouring entries are close, as neighbouring pixels of a photo are.
std::vector<std::uint32_t> Palette(int count) {
  const int side = static_cast<int>(std::ceil(std::cbrt(static_cast<double>(count))));
  const auto level = [side](int step) {
    return static_cast<std::uint32_t>(step * 255 / (side - 1));
  };
  std::vector<std::uint32_t> palette;
  palette.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const int plane = k / (side * side);
    int row = (k / side) % side;
    int step = k % side;
    if (plane % 2 == 1) row = side - 1 - row;  // walk back and forth, never jump
    if (((k / side) % 2 == 1) != (plane % 2 == 1)) step = side - 1 - step;
    palette.push_back(level(step) | level(row) << 8 | level(plane) << 16);
  }
  return palette;
}

// The picture: row by row, each palette colour over a run of neighbouring pixels.
std::vector<std::uint32_t> Picture(int distinctColours) {
  const std::vector<std::uint32_t> palette = Palette(distinctColours);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = palette[i * palette.size() / pixels.size()];
  }
  return pixels;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

void Run(int distinctColours) {
  const std::vector<std::uint32_t> pixels = Picture(distinctColours);
  const std::size_t distinct =
      std::unordered_set<std::uint32_t>(pixels.begin(), pixels.end()).size();
  const std::filesystem::path output =
      std::filesystem::temp_directory_path() /
      ("tessarin-bench-" + std::to_string(distinctColours) + ".xlsx");

  ApplicationLink application;
  WorkbookLink workbook;
  if (!application.StartApplication()) {
    std::printf("the spreadsheet application did not start\n");
    std::exit(1);
  }
  workbook.CreateWorkbook(application);
  workbook.ActivateWorkbook();
  workbook.SelectSheet(1);
  application.SetApplicationCaption(output.string());
  application.SetApplicationVisible(false);

  const auto cellsStart = std::chrono::steady_clock::now();
  ComObject range;
  for (int row = 1; row <= kHeight; ++row) {
    for (int column = 1; column <= kWidth; ++column) {
      const std::string address = ColumnName(column) + std::to_string(row);
      workbook.SetRangeCell1(address);
      workbook.SetRangeCell2(address);
      ComObject cell = workbook.GetRangeObject();
      ClearObject(range);
      range = std::move(cell);
      ComObject interior = GetObjectProperty(range, "Interior");
      const auto colour = pixels[static_cast<std::size_t>(row - 1) * kWidth + (column - 1)];
      SetObjectProperty(interior, "Color", static_cast<std::int32_t>(colour));
      ClearObject(interior);
    }
  }
  const double cellsSeconds = Seconds(cellsStart);

  ComObject sheet = workbook.GetSheetObject();
  ComObject cells = GetObjectProperty(sheet, "Cells");
  SetObjectProperty(cells, "RowHeight", std::string("1"));
  ClearObject(cells);
  cells = GetObjectProperty(sheet, "Cells");
  SetObjectProperty(cells, "ColumnWidth", 0.08);
  ClearObject(cells);
  ComObject book = workbook.GetWorkbookObject();
  ComObject app = GetObjectProperty(book, "Application");
  SetObjectProperty(app, "DisplayAlerts", false);
  ClearObject(app);

  const auto saveStart = std::chrono::steady_clock::now();
  const bool saved = workbook.SaveSheetAs(output.string());
  const double saveSeconds = Seconds(saveStart);

  app = GetObjectProperty(book, "Application");
  CallObjectMethod(app, "Quit");
  ClearObject(app);
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
  ClearObject(range);
  ClearObject(sheet);
  ClearObject(book);

  std::error_code ignored;
  const auto bytes = saved ? std::filesystem::file_size(output, ignored) : 0;
  std::printf("%6zu colours: cells %.3f s (%.0f ns/cell), save %.3f s (%s, %.1f MB), peak %ld MB\n",
              distinct, cellsSeconds, cellsSeconds * 1e9 / (kWidth * kHeight), saveSeconds,
              saved ? "written" : "NOT WRITTEN", bytes / 1e6, PeakMegabytes());
  std::filesystem::remove(output, ignored);
}

}  // namespace

int main(int argc, char* argv[]) {
  InitialiseAutomation();
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts = {5000, 150000};
  for (const int count : counts) Run(count);
  return 0;
}
