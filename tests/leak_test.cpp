// Nothing is kept that should have gone: conversions one after another in one window each
// let go of every spreadsheet object they made and leave the heap as it was, and
// tessarin-convert ends with nothing lost whether it converts or refuses. In the sanitizer
// build LeakSanitizer checks this test process and every converter it runs at their exit;
// in the ordinary build valgrind checks the converter.

#include <malloc.h>
#include <unistd.h>

#include <QTest>
#include <gmock/gmock.h>

#include <cstddef>
#include <fstream>
#include <optional>
#include <string>

#include "app/colour_chooser.h"
#include "app/file_dialog_service.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/picture_button.h"
#include "app/program_handlers.h"
#include "render/automation/automation_object.h"
#include "render/engine/spreadsheet_server.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/quiet_dialogs.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/workbook_reader.h"

#ifdef TESSARIN_SANITIZED
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// Bytes the process has allocated and not freed, by the allocator in use.
std::size_t HeapBytesInUse() {
#ifdef TESSARIN_SANITIZED
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}


TEST(RepeatedConversions, EachLetsGoOfTheSpreadsheetAndTheHeapStaysFlat) {
  constexpr int kWidth = 120, kHeight = 90, kRuns = 15, kSettledAfter = 5;
  const ScratchFolder folder;
  const std::string picture = folder / "picture.bmp";
  const Bytes bytes = BmpBytes(kWidth, kHeight);
  std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const std::string workbook = folder / "作品.xlsx";

  QuietProgramWindow program;
  auto& [dialogs, colours, messages, window, handlers] = program;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  dialogs.answer = QString::fromStdString(picture);
  QTest::mouseClick(window.按钮_打开, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !handlers.Canvas().RepaintRequested(); }));

  dialogs.answer = QString::fromStdString(workbook);
  std::size_t settled = 0;
  for (int run = 1; run <= kRuns; ++run) {
    QTest::mouseClick(window.按钮_制作, Qt::LeftButton);
    ASSERT_EQ(messages.saved, run) << "run " << run << " did not end with its saved message";
    ASSERT_EQ(messages.others, 0);
    EXPECT_EQ(LiveAutomationObjects(), 0u) << "objects still alive after run " << run;
    if (run == kSettledAfter) settled = HeapBytesInUse();
  }
  const std::size_t growth = HeapBytesInUse() - settled;
  // One leaked copy of the sheet would be tens of kilobytes a run.
  EXPECT_LT(growth, std::size_t{1024} * (kRuns - kSettledAfter)) << growth << " bytes more over "
                                                                  << kRuns - kSettledAfter << " runs";

  const WorkbookFacts facts = ReadWorkbook("openpyxl", workbook);
  ASSERT_EQ(facts.exitCode, 0);
  EXPECT_THAT(facts.Values("rows"), ElementsAre("90 columns 120"));
}

// ---------------------------------------------------------------- the converter

// valgrind cannot run a program built with AddressSanitizer; there LeakSanitizer checks
// every converter the other tests run instead.
#ifndef TESSARIN_SANITIZED

struct ConverterCase {
  std::string label;
  std::string picture;  // under tests/data
  int exitCode;
  friend void PrintTo(const ConverterCase& c, std::ostream* out) { *out << c.label; }
};

class ConverterUnderValgrind : public ::testing::TestWithParam<ConverterCase> {};

// The refusals leave libjpeg and libpng by their error exits, a long jump out of the
// library's own code.
TEST_P(ConverterUnderValgrind, LosesNoMemory) {
  if (access("/usr/bin/valgrind", X_OK) != 0) GTEST_SKIP() << "valgrind is not installed (scripts/setup installs it)";
  const ScratchFolder folder;
  const ProgramRun run = RunProgram({"/usr/bin/valgrind", "--leak-check=full", "--error-exitcode=99", "-q",
                                     TESSARIN_BINARY_DIR "/tessarin-convert",
                                     TESSARIN_TEST_DATA "/" + GetParam().picture, folder / "作品.xlsx"},
                                    {.killAfterSeconds = 60});
  ASSERT_TRUE(run.endedInTime);
  EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
  EXPECT_THAT(run.err, Not(HasSubstr("=="))) << "valgrind reported something";
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ConverterUnderValgrind,
    ::testing::Values(ConverterCase{"converting_a_jpeg", "jpeg/colour-420.jpg", 0},
                      ConverterCase{"converting_a_png", "png/rgba.png", 0},
                      ConverterCase{"refusing_a_cut_jpeg", "hostile/jpeg-cut-after-huffman-table.jpg", 3},
                      ConverterCase{"refusing_a_cut_png", "hostile/png-cut-in-image-data.png", 3},
                      ConverterCase{"refusing_a_bomb", "hostile/png-65535x65535-bomb.png", 2}),
    [](const auto& test) { return test.param.label; });

#endif

}  // namespace
