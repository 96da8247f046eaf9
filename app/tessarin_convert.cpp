// tessarin-convert: the window's conversion for people who convert many pictures or work
// without a screen. It runs the window's own code: the picture is opened and checked as
// the open button does it, put on a canvas surface, and read back pixel by pixel by the
// same conversion run, through the same SpreadsheetLink and spreadsheet engine. Only the
// dialogs and message boxes are answered from the command line instead of by a person.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/canvas_surface.h"
#include "canvas/open_picture.h"
#include "canvas/picture.h"
#include "canvas/picture_decoder.h"
#include "canvas/picture_file.h"
#include "canvas/read_file_bytes.h"
#include "render/cell_sizes.h"
#include "render/conversion_run.h"
#include "render/engine/spreadsheet_server.h"
#include "render/spreadsheet_link.h"

namespace {

// Exit codes, also listed by --help.
enum ExitCode {
  kConverted = 0,
  kUsageError = 1,
  kPictureTooLarge = 2,
  kNoPicture = 3,
  kNotSaved = 4,
};

constexpr const char* kUsage =
    "Usage: tessarin-convert [--cell-size N] PICTURE WORKBOOK\n"
    "\n"
    "Renders PICTURE into the spreadsheet workbook WORKBOOK: every pixel becomes one cell\n"
    "filled with that pixel's colour, exactly as Tessarin's window does for a picture that\n"
    "was not painted on. WORKBOOK is written under exactly the name given.\n"
    "\n"
    "PICTURE may be a Windows bitmap, JPEG, icon, cursor, GIF, PCX or PNG file of at most\n"
    "800 x 600 pixels; the format is recognised by the file's first bytes.\n"
    "\n"
    "Options:\n"
    "  --cell-size N  row height N points and the matching column width, N from 1 to 5\n"
    "                 (default 1: the smallest cells)\n"
    "  --help         show this text\n"
    "\n"
    "Exit status: 0 converted; 1 wrong usage; 2 picture larger than 800 x 600;\n"
    "3 picture file unreadable or holding no picture Tessarin can show;\n"
    "4 workbook not written.\n";

struct Options {
  std::string picture;
  std::string workbook;
  int cellSizeIndex = 0;
  bool help = false;
};

std::optional<int> ParseCellSize(std::string_view text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '5') return std::nullopt;
  return text[0] - '1';
}

std::optional<Options> ParseArguments(int argc, char* argv[]) {
  Options options;
  std::vector<std::string> operands;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--cell-size" || argument.starts_with("--cell-size=")) {
      std::string_view value;
      if (argument == "--cell-size") {
        if (++i == argc) return std::nullopt;
        value = argv[i];
      } else {
        value = argument.substr(std::strlen("--cell-size="));
      }
      const auto index = ParseCellSize(value);
      if (!index) return std::nullopt;
      options.cellSizeIndex = *index;
    } else if (argument == "--") {
      for (++i; i < argc; ++i) operands.emplace_back(argv[i]);
    } else if (argument.size() > 1 && argument[0] == '-') {
      return std::nullopt;
    } else {
      operands.emplace_back(argument);
    }
  }
  if (options.help) return options;
  // An empty name names no file: most likely an unset variable in the caller's script.
  if (operands.size() != 2 || operands[0].empty() || operands[1].empty()) return std::nullopt;
  options.picture = operands[0];
  options.workbook = operands[1];
  return options;
}

// The full path a file dialog would give for `path`.
std::string FullPath(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path full = std::filesystem::absolute(path, ignored);
  return full.empty() ? path : full.string();
}

// A progress bar on standard error, drawn only when it is a terminal.
class ProgressBar {
 public:
  ProgressBar() : enabled_(::isatty(STDERR_FILENO) == 1) {}
  void Show(int row, int rows) {
    if (!enabled_ || rows <= 0) return;
    constexpr int kWidth = 40;
    const int filled = row * kWidth / rows;
    std::fprintf(stderr, "\r[%.*s%.*s] row %d of %d", filled,
                 "########################################", kWidth - filled,
                 "........................................", row, rows);
    if (row == rows) std::fputc('\n', stderr);
  }

 private:
  bool enabled_;
};

// Stands in for the window: every dialog is confirmed with the names given on the command
// line, and what the window would show in a message box is kept for the caller to report.
class CommandLineWindow final : public PictureOpeningWindow, public ConversionWindow {
 public:
  explicit CommandLineWindow(const Options& options)
      : options_(options), picturePath_(FullPath(options.picture)) {}

  // Opening the picture.
  bool ShowPictureDialog() override {
    sourcePicture_ = picturePath_;
    return true;
  }
  std::string SourcePicturePath() const override { return sourcePicture_; }
  void SetSourcePicturePath(const std::string& path) override { sourcePicture_ = path; }
  void ShowMessage(const std::string& text, const std::string&) override {
    if (text == kPictureTooLargeMessage) pictureRefused_ = true;
  }
  void SetProgressMaximum(int) override {}
  CanvasSurface& Canvas() override { return canvas_; }

  // The conversion.
  void SetOutputFileName(const std::string& name) override { outputFileName_ = name; }
  std::string OutputFileName() const override { return outputFileName_; }
  bool ShowSaveDialog() override {
    outputFileName_ = FullPath(options_.workbook);
    return true;
  }
  void OpenPicture() override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string& text, const std::string&, MessageIcon) override {
    if (text == kNoSpreadsheetMessage) noSpreadsheet_ = true;
    if (text.starts_with(kSavedMessage)) saved_ = true;
  }
  void SetButtonsDisabled(bool) override {}
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
  void RepaintProgress() override { progress_.Show(++rowsDone_, rows_); }
  int SelectedCellSizeIndex() const override { return options_.cellSizeIndex; }
  std::string CellSizeItemText(int index) const override {
    return index >= 0 && index < int(kCellSizes.size()) ? kCellSizes[index].text : "";
  }
  int CellSizeItemValue(int index) const override {
    return index >= 0 && index < int(kCellSizes.size()) ? kCellSizes[index].value : -1;
  }
  ColourValue CanvasPixel(int x, int y) const override { return canvas_.GetCanvasPixel(x, y); }
  ApplicationLink& ApplicationComponent() override { return application_; }
  WorkbookLink& WorkbookComponent() override { return workbook_; }

  void ExpectRows(int rows) { rows_ = rows; }
  bool PictureRefused() const { return pictureRefused_; }
  bool NoSpreadsheet() const { return noSpreadsheet_; }
  bool Saved() const { return saved_; }
  const std::string& PicturePath() const { return picturePath_; }

 private:
  const Options& options_;
  const std::string picturePath_;
  std::string sourcePicture_;
  std::string outputFileName_;
  CanvasSurface canvas_;
  ApplicationLink application_;
  WorkbookLink workbook_;
  ProgressBar progress_;
  int rows_ = 0;
  int rowsDone_ = 0;
  bool pictureRefused_ = false;
  bool noSpreadsheet_ = false;
  bool saved_ = false;
};

int Fail(ExitCode code, const std::string& message) {
  std::fprintf(stderr, "tessarin-convert: %s\n", message.c_str());
  return code;
}

// Why a picture file gives no picture, in words a person can act on.
std::string WhyNoPicture(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return path + ": no such file";
  if (fs::is_directory(status)) return path + ": is a folder, not a picture file";
  // Never opened: opening a named pipe would wait for a writer that may never come.
  if (!fs::is_regular_file(status)) return path + ": is a device, pipe or socket, not a picture file";
  if (const auto size = fs::file_size(path, error); !error && size > kLargestPictureFile) {
    return path + ": is larger than any picture file Tessarin reads (" +
           std::to_string(kLargestPictureFile >> 20) + " MB at most)";
  }
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::fclose(file);
    return path + ": holds no picture that Tessarin can read";
  }
  return path + ": cannot be read (" + std::strerror(errno) + ")";
}

// Whether the canvas can show the picture in the file. The size query also measures
// bitmaps through the bitmap loader, whose pixels the canvas may have no decoder for.
bool CanvasCanShow(const std::string& path) {
  const std::optional<Picture> picture = DecodePicture(ReadFileBytes(path));
  return picture && picture->HasPixels();
}

// Whether writing the workbook would replace the picture itself (the same file under any
// name). The window's save dialog asks before replacing a file; here nobody is asked.
bool WorkbookIsThePicture(const std::string& picture, const std::string& workbook) {
  std::error_code notThere;
  return std::filesystem::equivalent(picture, workbook, notThere);
}

int Convert(const Options& options) {
  CommandLineWindow window(options);
  if (WorkbookIsThePicture(window.PicturePath(), options.workbook)) {
    return Fail(kUsageError, options.workbook + " is the picture itself (" + window.PicturePath() +
                                 "); give the workbook another name");
  }

  // Open the picture exactly as the open button does, then give the canvas the paint
  // that the window system would give it after the click.
  OpenPicture(window);
  if (window.PictureRefused()) {
    const std::string& path = window.PicturePath();
    return Fail(kPictureTooLarge, path + " is " + std::to_string(PictureWidth(path)) + " x " +
                                      std::to_string(PictureHeight(path)) +
                                      " pixels; Tessarin takes pictures of at most 800 x 600 "
                                      "pixels. Make it smaller and try again.");
  }
  // The window accepts a file without a picture and shows a white canvas; here nobody
  // would see that, so such a file is refused.
  const int width = PictureWidth(window.PicturePath());
  const int height = PictureHeight(window.PicturePath());
  if (width == 0 || height == 0) return Fail(kNoPicture, WhyNoPicture(window.PicturePath()));
  // Such a file would give a workbook of white cells, reported as converted.
  if (!CanvasCanShow(window.PicturePath())) {
    return Fail(kNoPicture, window.PicturePath() + ": holds a " + std::to_string(width) + " x " +
                                std::to_string(height) +
                                " picture stored in a form Tessarin cannot show");
  }
  window.Canvas().RepaintIfRequested();

  window.ExpectRows(height);
  RunConversion(window);
  if (window.NoSpreadsheet()) return Fail(kNotSaved, "the spreadsheet engine could not start");
  if (!window.Saved()) {
    return Fail(kNotSaved, window.OutputFileName() +
                               ": the workbook could not be written (is the folder there and "
                               "writable, and is there space left?); nothing was saved");
  }
  std::printf("%s: %d x %d cells\n", window.OutputFileName().c_str(), width, height);
  return kConverted;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  if (options->help) {
    std::fputs(kUsage, stdout);
    return kConverted;
  }
  InitialiseAutomation();
  return Convert(*options);
}
