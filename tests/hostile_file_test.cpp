// Crafted files (tests/data/hostile/, written by tests/data/make_hostile.py) and things that
// are no picture files at all, sent through the whole program: through tessarin-convert as
// a process of its own, and through the open button of the real window. Each must end in a
// clear refusal or a picture, within two seconds and in bounded memory, and a refusal
// writes nothing.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/process_bar.h"
#include "canvas/open_picture.h"
#include "canvas/picture_decoder.h"
#include "canvas/read_file_bytes.h"
#include "tests/support/acting_as_ordinary_user.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/canvas_pixels.h"
#include "tests/support/program_run.h"
#include "tests/support/program_window.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/text_of.h"
#include "tests/support/workbook_reader.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

constexpr double kSecondsAllowed = 2;
constexpr long kMostResidentKb = 256 * 1024;

enum class Outcome { kTooLarge, kNoPicture, kPicture };

struct HostileCase {
  std::string label{};
  Outcome outcome = Outcome::kNoPicture;
  int width = 0;  // of a picture
  int height = 0;
  // Where the file is: in the corpus, or made at run time in the test's folder.
  std::string corpusFile{};
  std::string (*make)(const ScratchFolder& folder) = nullptr;
  bool asOrdinaryUser = false;
  std::string reason{};  // what the converter's refusal must say, where it can tell

  friend void PrintTo(const HostileCase& hostile, std::ostream* out) { *out << hostile.label; }
};

// ---------------------------------------------------------------- the cases

std::string Label(const std::string& name) {
  std::string label;
  for (const char c : name) label += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return label;
}

// One case a line of outcomes.txt: "NAME too-large", "NAME no-picture", "NAME picture W H".
std::vector<HostileCase> CorpusCases() {
  std::vector<HostileCase> cases;
  std::ifstream outcomes(TESSARIN_TEST_DATA "/hostile/outcomes.txt");
  for (std::string line; std::getline(outcomes, line);) {
    const std::vector<std::string> words = Words(line);
    HostileCase hostile{.label = Label(words.at(0)), .corpusFile = words.at(0)};
    if (words.at(1) == "too-large") {
      hostile.outcome = Outcome::kTooLarge;
    } else if (words.at(1) == "picture") {
      hostile.outcome = Outcome::kPicture;
      hostile.width = std::stoi(words.at(2));
      hostile.height = std::stoi(words.at(3));
    }
    cases.push_back(hostile);
  }
  return cases;
}

std::string WriteBmp(const std::string& path) {
  const Bytes bytes = BmpBytes(8, 8);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return path;
}

std::vector<HostileCase> MadeCases() {
  return {
      {.label = "a_folder",
       .make = [](const ScratchFolder& folder) {
         mkdir((folder / "picture.jpg").c_str(), 0755);
         return folder / "picture.jpg";
       },
       .reason = "is a folder"},
      {.label = "a_file_without_read_permission",
       .make = [](const ScratchFolder& folder) {
         const std::string path = WriteBmp(folder / "locked.bmp");
         chmod(path.c_str(), 0);
         return path;
       },
       .asOrdinaryUser = true,
       .reason = "Permission denied"},
      {.label = "a_named_pipe",
       .make = [](const ScratchFolder& folder) {
         mkfifo((folder / "pipe.bmp").c_str(), 0644);
         return folder / "pipe.bmp";
       },
       .reason = "pipe"},
      // A good bitmap at the start of a sparse file of 4 GB.
      {.label = "a_4_GB_file",
       .make = [](const ScratchFolder& folder) {
         const std::string path = WriteBmp(folder / "huge.bmp");
         truncate(path.c_str(), std::int64_t{4} << 30);
         return path;
       },
       .reason = "larger than"},
  };
}

std::vector<HostileCase> AllCases() {
  std::vector<HostileCase> cases = CorpusCases();
  for (HostileCase& made : MadeCases()) cases.push_back(made);
  return cases;
}

class HostileFile : public ::testing::TestWithParam<HostileCase> {
 protected:
  void SetUp() override {
    const HostileCase& hostile = GetParam();
    picture_ = hostile.make ? hostile.make(pictures_) : TESSARIN_TEST_DATA "/hostile/" + hostile.corpusFile;
  }

  ScratchFolder pictures_;
  std::string picture_;
};

// ---------------------------------------------------------------- the command line

// The converter's memory is bounded from outside: an address space it cannot grow past
// in the ordinary build, and the sanitizer's own limits in the sanitizer build (which
// reserves terabytes of address space for itself).
ProgramOptions ConverterLimits(bool asOrdinaryUser) {
  ProgramOptions limits;
  limits.asOrdinaryUser = asOrdinaryUser;
#ifdef TESSARIN_SANITIZED
  limits.environment = {"ASAN_OPTIONS=detect_leaks=1:max_allocation_size_mb=256:hard_rss_limit_mb=512"};
#else
  limits.addressSpaceBytes = std::uint64_t{1} << 30;
#endif
  return limits;
}

TEST_P(HostileFile, GetsAClearAnswerFromTheCommandLine) {
  const HostileCase& hostile = GetParam();
  const ScratchFolder output;
  const std::string workbook = output / "作品.xlsx";
  const ProgramRun run = RunProgram({TESSARIN_BINARY_DIR "/tessarin-convert", picture_, workbook},
                                    ConverterLimits(hostile.asOrdinaryUser));
  ASSERT_TRUE(run.started);
  ASSERT_TRUE(run.endedInTime) << "still running after 10 s";
  RecordProperty("cli_exit", run.exitCode);
  RecordProperty("cli_ms", static_cast<int>(run.seconds * 1000));
  RecordProperty("cli_maxrss_kb", static_cast<int>(run.maxResidentKb));
  EXPECT_EQ(run.signal, 0) << run.err;
  EXPECT_LT(run.seconds, kSecondsAllowed);
  EXPECT_LT(run.maxResidentKb, kMostResidentKb);
  EXPECT_THAT(run.err, Not(HasSubstr("Sanitizer")));

  switch (hostile.outcome) {
    case Outcome::kTooLarge:
      EXPECT_EQ(run.exitCode, 2) << run.err;
      EXPECT_THAT(run.err, StartsWith("tessarin-convert: " + picture_ + " is "));
      EXPECT_THAT(run.err, HasSubstr("at most 800 x 600 pixels"));
      break;
    case Outcome::kNoPicture:
      EXPECT_EQ(run.exitCode, 3) << run.err;
      EXPECT_THAT(run.err, StartsWith("tessarin-convert: " + picture_ + ": "));
      EXPECT_THAT(run.err, HasSubstr(hostile.reason));
      break;
    case Outcome::kPicture: {
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(run.err, "");
      const WorkbookFacts facts = ReadWorkbook("openpyxl", workbook);
      ASSERT_EQ(facts.exitCode, 0);
      EXPECT_THAT(facts.Values("rows"),
                  ElementsAre(std::to_string(hostile.height) + " columns " + std::to_string(hostile.width)));
      EXPECT_THAT(output.Names(), ElementsAre("作品.xlsx"));
      return;
    }
  }
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
  EXPECT_THAT(output.Names(), IsEmpty()) << "a refusal wrote something";
}

// ---------------------------------------------------------------- the window

long PeakResidentKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// What the canvas must show for a picture: the decoded pixels at the top-left, white around.
CanvasReading DecodedOnWhite(const std::string& path) {
  const std::optional<Picture> picture = DecodePicture(ReadFileBytes(path));
  EXPECT_TRUE(picture && picture->HasPixels());
  return CanvasReading([&](int x, int y) {
    if (!picture || x >= picture->width || y >= picture->height) return kWhite;
    const std::uint32_t pixel = picture->pixels[std::size_t(y) * picture->width + x];
    return MakeColourValue(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
  });
}

const CanvasReading& AllWhite() {
  static const CanvasReading white([](int, int) { return kWhite; });
  return white;
}

TEST_P(HostileFile, GetsAClearAnswerFromTheWindow) {
  const HostileCase& hostile = GetParam();
  ProgramWindow program;
  if (hostile.outcome == Outcome::kTooLarge) program.messages.Answer(MessageAnswer::Ok);

  const long peakBefore = PeakResidentKb();
  const auto start = std::chrono::steady_clock::now();
  {
    std::optional<ActingAsOrdinaryUser> ordinary;
    if (hostile.asOrdinaryUser) ordinary.emplace();
    program.Open(picture_);
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  RecordProperty("window_ms", static_cast<int>(took.count() * 1000));
  EXPECT_LT(took.count(), kSecondsAllowed);
  EXPECT_LT(PeakResidentKb() - peakBefore, 64 * 1024) << "the peak memory grew by that much";

  const CanvasReading shown(program.handlers.Canvas());
  const QString path = program.window.通用对话框2.FileName();
  const int maximum = program.window.进度条1->Maximum();
  switch (hostile.outcome) {
    case Outcome::kTooLarge:
      EXPECT_THAT(program.messages.Asked(),
                  ElementsAre(MessageRequest{
                      QStringLiteral("本程序限制图片最大为800*600像素的图片，请调整文件尺寸后重试"),
                      QStringLiteral("信息："), MessageButtons::Ok, MessageIcon::None}));
      EXPECT_EQ(path, QString()) << "a refused picture counts as loaded";
      EXPECT_EQ(maximum, 100) << "the progress bar's maximum changed";
      EXPECT_TRUE(ShowTheSame(shown, AllWhite()));
      break;
    case Outcome::kNoPicture:
      EXPECT_THAT(program.messages.Asked(), IsEmpty());
      EXPECT_EQ(path.toStdString(), picture_);
      EXPECT_EQ(maximum, 0);
      EXPECT_TRUE(ShowTheSame(shown, AllWhite()));
      break;
    case Outcome::kPicture:
      EXPECT_THAT(program.messages.Asked(), IsEmpty());
      EXPECT_EQ(path.toStdString(), picture_);
      EXPECT_EQ(maximum, CellsInHundreds(hostile.height, hostile.width));
      EXPECT_TRUE(ShowTheSame(shown, DecodedOnWhite(picture_)));
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFile, ::testing::ValuesIn(AllCases()),
                         [](const auto& test) { return test.param.label; });

// Every file of the corpus is sent through the program: none is left out of the list.
TEST(HostileCorpus, ListsAnOutcomeForEveryFile) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(TESSARIN_TEST_DATA "/hostile"))
    files.insert(entry.path().filename().string());
  std::set<std::string> listed{"outcomes.txt"};
  for (const HostileCase& hostile : CorpusCases()) listed.insert(hostile.corpusFile);
  EXPECT_EQ(files, listed);
}

}  // namespace
