// tessarin-convert run as a person would run it: arguments in, exit code, messages and the
// workbook out.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "canvas/picture_decoder.h"
#include "canvas/read_file_bytes.h"
#include "render/column_name.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/case_names.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/workbook_reader.h"
#include "tests/support/text_of.h"

namespace {

// Table cases print as their label in failure messages.
template <typename Case>
  requires requires(const Case& table) { table.label; }
void PrintTo(const Case& table, std::ostream* out) {
  *out << table.label;
}

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr const char* kConverter = TESSARIN_BINARY_DIR "/tessarin-convert";
constexpr ColourValue kRed = MakeColourValue(255, 0, 0);

class ConvertCommand : public ::testing::Test {
 protected:
  // The command works without a screen: every run here has no display to reach.
  static void SetUpTestSuite() {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
  }

  ProgramRun Convert(std::vector<std::string> arguments, const ProgramOptions& options = {}) {
    arguments.insert(arguments.begin(), kConverter);
    return RunProgram(arguments, options);
  }

  // A small picture in the scratch folder.
  std::string RedPicture(const std::string& name = "picture.bmp", int width = 3, int height = 2) {
    const std::string path = folder_ / name;
    WriteBmp(path, width, height, kRed);
    return path;
  }

  ScratchFolder folder_;
};

TEST_F(ConvertCommand, HelpShowsTheUsageOnStandardOutput) {
  const ProgramRun result = Convert({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_THAT(result.out, AllOf(StartsWith("Usage: tessarin-convert [--cell-size N] PICTURE WORKBOOK"),
                                HasSubstr("Exit status")));
  EXPECT_THAT(result.err, IsEmpty());
}

// Wrong usage: the usage on standard error, exit code 1, and nothing written. "PICTURE" and
// "WORKBOOK" stand for a real picture and a workbook path in the scratch folder.
struct UsageCase {
  const char* label;
  std::vector<std::string> arguments;
};

class WrongUsage : public ConvertCommand, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(WrongUsage, ShowsTheUsageAndWritesNothing) {
  const std::string picture = RedPicture();
  std::vector<std::string> arguments = GetParam().arguments;
  for (std::string& argument : arguments) {
    if (argument == "PICTURE") argument = picture;
    if (argument == "WORKBOOK") argument = folder_ / "out.xls";
  }

  const ProgramRun result = Convert(arguments);

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(result.err, StartsWith("Usage: tessarin-convert"));
  EXPECT_THAT(result.out, IsEmpty());
  EXPECT_EQ(folder_.Names(), std::set<std::string>{"picture.bmp"});
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, WrongUsage,
    ::testing::Values(
        UsageCase{"NoArguments", {}}, UsageCase{"OnlyThePicture", {"PICTURE"}},
        UsageCase{"ThreeOperands", {"PICTURE", "WORKBOOK", "WORKBOOK"}},
        UsageCase{"UnknownOption", {"--colours", "PICTURE", "WORKBOOK"}},
        UsageCase{"EmptyWorkbookName", {"PICTURE", ""}},
        UsageCase{"EmptyPictureName", {"", "WORKBOOK"}},
        UsageCase{"CellSizeZero", {"--cell-size", "0", "PICTURE", "WORKBOOK"}},
        UsageCase{"CellSizeSix", {"--cell-size=6", "PICTURE", "WORKBOOK"}},
        UsageCase{"CellSizeNotANumber", {"--cell-size", "big", "PICTURE", "WORKBOOK"}},
        UsageCase{"CellSizeTwoDigits", {"--cell-size", "10", "PICTURE", "WORKBOOK"}},
        UsageCase{"CellSizeWithoutItsValue", {"PICTURE", "WORKBOOK", "--cell-size"}}),
    CaseLabel());

// A workbook named like the picture would replace the picture: refused, the picture kept.
TEST_F(ConvertCommand, RefusesToWriteOverThePicture) {
  const std::string picture = RedPicture();
  const std::string before = FileText(picture);
  fs::create_directory(folder_ / "sub");

  const ProgramRun result = Convert({picture, folder_ / "sub/../picture.bmp"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(result.err, AllOf(HasSubstr(picture), HasSubstr("the picture itself")));
  EXPECT_EQ(FileText(picture), before);
}

// A picture past 800 × 600 is refused with its size and the limit, in English.
struct TooLargeCase {
  const char* label;
  int width;
  int height;
  const char* size;
};

class TooLarge : public ConvertCommand, public ::testing::WithParamInterface<TooLargeCase> {};

TEST_P(TooLarge, IsRefusedWithItsSizeAndTheLimit) {
  const TooLargeCase& large = GetParam();
  const std::string picture = RedPicture("large.bmp", large.width, large.height);

  const ProgramRun result = Convert({picture, folder_ / "out.xls"});

  EXPECT_EQ(result.exitCode, 2);
  EXPECT_THAT(result.err, AllOf(HasSubstr(picture), HasSubstr(large.size),
                                HasSubstr("at most 800 x 600 pixels")));
  EXPECT_EQ(folder_.Names(), std::set<std::string>{"large.bmp"});
}

INSTANTIATE_TEST_SUITE_P(Pictures, TooLarge,
                         ::testing::Values(TooLargeCase{"Wider", 801, 600, "801 x 600"},
                                           TooLargeCase{"Higher", 800, 601, "800 x 601"}),
                         CaseLabel());

// A file that gives no picture: the window would show a white canvas; the command refuses
// it with the reason, exit code 3.
struct NoPictureCase {
  const char* label;
  std::function<std::string(const ScratchFolder&)> make;  // gives the picture path
  const char* reason;
};

class NoPicture : public ConvertCommand, public ::testing::WithParamInterface<NoPictureCase> {};

TEST_P(NoPicture, IsRefusedWithTheReason) {
  const std::string picture = GetParam().make(folder_);
  const std::set<std::string> namesBefore = folder_.Names();

  const ProgramRun result = Convert({picture, folder_ / "out.xls"}, {.asOrdinaryUser = true});

  EXPECT_EQ(result.exitCode, 3);
  EXPECT_THAT(result.err, AllOf(HasSubstr(picture), HasSubstr(GetParam().reason)));
  EXPECT_EQ(folder_.Names(), namesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoPicture,
    ::testing::Values(
        NoPictureCase{"Missing", [](const ScratchFolder& f) { return f / "nowhere.jpg"; },
                      "no such file"},
        NoPictureCase{"Folder",
                      [](const ScratchFolder& f) {
                        fs::create_directory(f / "pictures");
                        return f / "pictures";
                      },
                      "is a folder"},
        NoPictureCase{"EmptyFile",
                      [](const ScratchFolder& f) {
                        std::ofstream(f / "empty.jpg");
                        return f / "empty.jpg";
                      },
                      "holds no picture"},
        NoPictureCase{"Text",
                      [](const ScratchFolder& f) {
                        std::ofstream(f / "notes.jpg") << "not a picture at all";
                        return f / "notes.jpg";
                      },
                      "holds no picture"},
        // Measured by the bitmap loader, but its pixels are in a form the canvas cannot
        // show: the window would render it all white.
        NoPictureCase{"MeasuredButNotShowable",
                      [](const ScratchFolder& f) {
                        fs::copy_file(TESSARIN_TEST_DATA "/bitmap-loader/bits64.bmp",
                                      f / "deep.bmp");
                        return f / "deep.bmp";
                      },
                      "5 x 4 picture stored in a form Tessarin cannot show"},
        NoPictureCase{"Unreadable",
                      [](const ScratchFolder& f) {
                        WriteBmp(f / "secret.bmp", 2, 2, kRed);
                        chmod((f / "secret.bmp").c_str(), 0);
                        return f / "secret.bmp";
                      },
                      "cannot be read (Permission denied)"}),
    CaseLabel());

// A workbook that cannot be written: exit code 4, the path named, and whatever was at the
// path before left as it was.
struct NotWrittenCase {
  const char* label;
  std::function<std::string(const ScratchFolder&)> prepare;  // gives the workbook path
};

class NotWritten : public ConvertCommand, public ::testing::WithParamInterface<NotWrittenCase> {};

TEST_P(NotWritten, FailsNamingThePathAndDamagesNothing) {
  const std::string picture = RedPicture();
  const std::string workbook = GetParam().prepare(folder_);
  const std::string before = FileText(workbook);
  const std::string workbookFolder = fs::path(workbook).parent_path().string();
  const bool folderThere = fs::exists(workbookFolder);
  const std::set<std::string> namesBefore =
      folderThere ? folder_.Names(workbookFolder) : std::set<std::string>{};

  const ProgramRun result = Convert({picture, workbook}, {.asOrdinaryUser = true});

  EXPECT_EQ(result.exitCode, 4);
  EXPECT_THAT(result.err, AllOf(HasSubstr(workbook), HasSubstr("could not be written"),
                                HasSubstr("nothing was saved")));
  EXPECT_THAT(result.out, IsEmpty());
  EXPECT_EQ(FileText(workbook), before);
  EXPECT_EQ(fs::exists(workbookFolder), folderThere);
  if (folderThere) {
    EXPECT_EQ(folder_.Names(workbookFolder), namesBefore) << "a file was left behind";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, NotWritten,
    ::testing::Values(
        NotWrittenCase{"FolderMissing", [](const ScratchFolder& f) { return f / "missing/out.xls"; }},
        NotWrittenCase{"ReadOnlyFolderWithAnEarlierFile",
                       [](const ScratchFolder& f) {
                         fs::create_directory(f / "locked");
                         std::ofstream(f / "locked/out.xls") << "an earlier workbook";
                         chmod((f / "locked").c_str(), 0555);
                         return f / "locked/out.xls";
                       }},
        NotWrittenCase{"TargetIsAFolder",
                       [](const ScratchFolder& f) {
                         fs::create_directories(f / "out.xls/inside");
                         return f / "out.xls";
                       }}),
    CaseLabel());

// --cell-size N gives item N of the window's list: row height N points and a column N
// pixels wide; without it, the window's first item.
struct CellSizeCase {
  const char* label;
  std::vector<std::string> options;
  double rowHeight;
  int columnPixels;
};

class CellSizeOption : public ConvertCommand,
                       public ::testing::WithParamInterface<CellSizeCase> {};

TEST_P(CellSizeOption, SizesTheCells) {
  std::vector<std::string> arguments = GetParam().options;
  const std::string workbook = folder_ / "sized.xls";
  arguments.push_back(RedPicture());
  arguments.push_back(workbook);

  ASSERT_EQ(Convert(arguments).exitCode, 0);

  const WorkbookFacts facts = ReadWorkbook("openpyxl", workbook);
  ASSERT_EQ(facts.exitCode, 0);
  ASSERT_EQ(facts.Values("default-row-height").size(), 1u);
  EXPECT_DOUBLE_EQ(std::stod(Words(facts.Values("default-row-height")[0])[0]),
                   GetParam().rowHeight);
  ASSERT_EQ(facts.Values("column").size(), 1u);
  EXPECT_EQ(std::lround(std::stod(Words(facts.Values("column")[0])[2]) * 7),
            GetParam().columnPixels);
}

INSTANTIATE_TEST_SUITE_P(Options, CellSizeOption,
                         ::testing::Values(CellSizeCase{"Default", {}, 1, 1},
                                           CellSizeCase{"Three", {"--cell-size", "3"}, 3, 3},
                                           CellSizeCase{"FiveWithEquals", {"--cell-size=5"}, 5, 5}),
                         CaseLabel());

// Names as people give them: spaces, Chinese, no extension. The workbook is written under
// exactly the name given, and holds the picture's pixels cell for cell.
TEST_F(ConvertCommand, TakesAnyFileNameAsItIs) {
  fs::create_directory(folder_ / "我的 图片");
  const std::string picture = folder_ / "我的 图片/海边 照片";
  fs::copy_file(TESSARIN_TEST_DATA "/jpeg/colour-444.jpg", picture);
  const std::string workbook = folder_ / "我的 图片/作品 一";

  const ProgramRun result = Convert({picture, workbook});

  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_THAT(result.err, IsEmpty()) << "no progress bar when standard error is no terminal";
  EXPECT_EQ(folder_.Names(folder_ / "我的 图片"), (std::set<std::string>{"海边 照片", "作品 一"}));
  const std::optional<Picture> decoded = DecodePicture(ReadFileBytes(picture));
  ASSERT_TRUE(decoded && decoded->HasPixels());
  std::vector<std::string> cells;
  for (int y = 0; y < decoded->height; ++y) {
    for (int x = 0; x < decoded->width; ++x) {
      const std::uint32_t pixel = decoded->pixels[std::size_t(y) * decoded->width + x];
      cells.push_back(ColumnName(x + 1) + std::to_string(y + 1) +
                      " solid " + ArgbText(MakeColourValue(pixel >> 16, pixel >> 8, pixel)));
    }
  }
  const WorkbookFacts facts = ReadWorkbook("openpyxl", workbook, {"all"});
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("cell"), ElementsAreArray(cells));
}

TEST_F(ConvertCommand, DrawsAProgressBarOnlyOnATerminal) {
  const std::string picture = RedPicture("p.bmp", 4, 3);

  const ProgramRun onTerminal = Convert({picture, folder_ / "a.xls"}, {.errorToTerminal = true});
  const ProgramRun onPipe = Convert({picture, folder_ / "b.xls"});

  EXPECT_EQ(onTerminal.exitCode, 0);
  EXPECT_THAT(onTerminal.err, AllOf(HasSubstr("row 1 of 3"), HasSubstr("row 3 of 3")));
  EXPECT_EQ(onPipe.exitCode, 0);
  EXPECT_THAT(onPipe.err, IsEmpty());
}

}  // namespace
