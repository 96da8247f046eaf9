// Saving an 800 × 600 sheet: our writer against libxlsxwriter, for a photograph-like picture
// with about 5,000 and one with about 150,000 distinct colours. Prints, per picture: our save
// time (colour reduction included) and the reduction alone, libxlsxwriter's time for the same
// sheet (constant-memory mode, one format per colour), the peak memory of each, and the
// colour error the reduction leaves. A third sheet, nearly every pixel its own colour, shows
// the reduction's worst case.
//
//   xlsx_bench [--runs N] [--folder DIR] [--no-reference]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/photo_like_picture.h"
#include "render/engine/colour_reduction.h"
#include "render/engine/fill_palette.h"
#include "render/engine/xlsx_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Options {
  int runs = 5;
  std::string folder;
  bool reference = true;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--runs" && i + 1 < argc) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--folder" && i + 1 < argc) {
      options.folder = argv[++i];
    } else if (argument == "--no-reference") {
      options.reference = false;
    } else {
      std::fprintf(stderr, "usage: xlsx_bench [--runs N] [--folder DIR] [--no-reference]\n");
      std::exit(2);
    }
  }
  if (options.folder.empty()) options.folder = std::filesystem::temp_directory_path().string();
  return options;
}

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Runs `work` in a child process and returns the child's peak resident memory in MB, so
// each measurement starts from the same memory and none inherits another's peak.
double PeakMegabytesOf(const std::function<void()>& work) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    work();
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}


void PrintReductionError(const Histogram& histogram, const std::vector<std::uint32_t>& replacements) {
  double sum[3] = {};
  int largest[3] = {};
  double pixels = 0;
  for (std::size_t i = 0; i < histogram.colours.size(); ++i) {
    for (int c = 0; c < 3; ++c) {
      const int error = std::abs(static_cast<int>(histogram.colours[i] >> (8 * c) & 0xFF) -
                                 static_cast<int>(replacements[i] >> (8 * c) & 0xFF));
      sum[c] += static_cast<double>(error) * histogram.counts[i];
      largest[c] = std::max(largest[c], error);
    }
    pixels += histogram.counts[i];
  }
  std::printf("  reduction error per channel (R G B): mean %.3f %.3f %.3f, max %d %d %d\n",
              sum[0] / pixels, sum[1] / pixels, sum[2] / pixels, largest[0], largest[1], largest[2]);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool SaveWithLibxlsxwriter(const std::string& path, const SheetContent& sheet) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
  if (workbook == nullptr) return false;
  lxw_worksheet* worksheet = workbook_add_worksheet(workbook, nullptr);
  std::map<std::uint32_t, lxw_format*> formats;
  for (int row = 0; row < sheet.rows; ++row) {
    for (int column = 0; column < sheet.columns; ++column) {
      const std::uint32_t colour = sheet.fills[static_cast<std::size_t>(row) * sheet.columns + column];
      lxw_format*& format = formats[colour];
      if (format == nullptr) {
        format = workbook_add_format(workbook);
        format_set_pattern(format, LXW_PATTERN_SOLID);
        const lxw_color_t rgb = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
        format_set_bg_color(format, rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb);
      }
      worksheet_write_blank(worksheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), format);
    }
  }
  worksheet_set_default_row(worksheet, *sheet.rowHeight, LXW_FALSE);
  worksheet_set_column(worksheet, 0, LXW_COL_MAX - 1, *sheet.columnWidth, nullptr);
  return workbook_close(workbook) == LXW_NO_ERROR;
}

void Measure(std::size_t targetColours, const Options& options, bool withReference) {
  const PhotoLikePicture picture = MakePhotoLikePicture(800, 600, targetColours);
  SheetContent sheet;
  sheet.rows = picture.height;
  sheet.columns = picture.width;
  sheet.fills = picture.pixels.data();
  sheet.rowHeight = 3;
  sheet.columnWidth = 0.23;
  std::printf("800 x 600 sheet, %zu distinct colours (photo-like)\n", picture.distinctColours);

  const std::string path = options.folder + "/tessarin-xlsx-bench.xlsx";
  // Memory first, in a child of a process that has not saved yet, so that no heap kept
  // from earlier saves hides what one save needs.
  const double before = ResidentMegabytes();
  const double ourPeak = PeakMegabytesOf([&] { WriteWorkbook(path, sheet); });
  std::printf("  our peak memory:    %.1f MB (%.1f MB before saving: program and picture)\n", ourPeak, before);
  std::vector<double> saves;
  for (int run = 0; run < options.runs; ++run) {
    const Clock::time_point start = Clock::now();
    const SaveOutcome outcome = WriteWorkbook(path, sheet);
    saves.push_back(SecondsSince(start));
    if (!outcome.written) {
      std::printf("  save failed: %s\n", outcome.error.c_str());
      return;
    }
  }
  std::printf("  our save:           median %.3f s, best %.3f s over %d runs, file %.2f MB\n",
              Median(saves), *std::min_element(saves.begin(), saves.end()), options.runs,
              static_cast<double>(std::filesystem::file_size(path)) / 1048576.0);

  std::vector<double> palettes;
  FillPalette palette;
  for (int run = 0; run < options.runs; ++run) {
    const Clock::time_point start = Clock::now();
    palette = BuildFillPalette(sheet);
    palettes.push_back(SecondsSince(start));
  }
  const Histogram histogram = HistogramOf(picture.pixels);
  std::vector<double> reductions;
  std::vector<std::uint32_t> replacements;
  for (int run = 0; run < options.runs; ++run) {
    const Clock::time_point start = Clock::now();
    replacements = ReduceColours(histogram.colours, histogram.counts, kMostSheetColours);
    reductions.push_back(SecondsSince(start));
  }
  std::printf("  fills collected:    median %.1f ms (%zu colours kept, reduction included)\n",
              Median(palettes) * 1000, palette.colours.size());
  std::printf("  reduction alone:    median %.1f ms\n", Median(reductions) * 1000);
  PrintReductionError(histogram, replacements);


  if (options.reference && withReference) {
    const std::string referencePath = options.folder + "/tessarin-xlsx-bench-libxlsxwriter.xlsx";
    const double referencePeak = PeakMegabytesOf([&] {
      const Clock::time_point start = Clock::now();
      const bool saved = SaveWithLibxlsxwriter(referencePath, sheet);
      std::printf("  libxlsxwriter save: %.3f s%s\n", SecondsSince(start), saved ? "" : " (failed)");
    });
    std::printf("  libxlsxwriter peak: %.1f MB\n", referencePeak);
    std::filesystem::remove(referencePath);
  }
  std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  for (const std::size_t colours : {std::size_t{5000}, std::size_t{150000}}) Measure(colours, options, true);
  // The worst case for the reduction: nearly every pixel a colour of its own. libxlsxwriter
  // would need minutes here, so it sits this one out.
  Measure(480000, options, false);
  return 0;
}
