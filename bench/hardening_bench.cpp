// Usage: hardening_bench [runs]   (default 20)
//
// Converts one 800 × 600 photo-like picture again and again in one main window, with the
// program's own handlers and the dialogs answered in code, under Qt's offscreen platform.
// Once the picture is open, and after runs 1, 5, 10, 20 (and the last), prints the heap in
// use, the resident memory, the spreadsheet objects still alive and the time of the run,
// then the growth per run from run 5 on. Memory that stays flat shows nothing is kept from one run to the next.

#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "app/colour_chooser.h"
#include "app/file_dialog_service.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/picture_button.h"
#include "app/program_handlers.h"
#include "bench/photo_like_picture.h"
#include "render/automation/automation_object.h"
#include "render/engine/spreadsheet_server.h"
#include "tests/support/quiet_dialogs.h"

namespace {


double HeapMegabytes() {
  const struct mallinfo2 info = mallinfo2();
  return double(info.uordblks + info.hblkhd) / 1e6;
}

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1e6;
}

std::string WritePicture(const std::filesystem::path& path) {
  const PhotoLikePicture photo = MakePhotoLikePicture(800, 600, 60000);
  QImage image(photo.width, photo.height, QImage::Format_RGB32);
  for (int y = 0; y < photo.height; ++y) {
    for (int x = 0; x < photo.width; ++x) {
      const std::uint32_t colour = photo.pixels[std::size_t(y) * photo.width + x];  // 0x00BBGGRR
      image.setPixel(x, y, qRgb(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF));
    }
  }
  image.save(QString::fromStdString(path.string()), "BMP");
  return path.string();
}

}  // namespace

int main(int argc, char* argv[]) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessarin-hardening-bench";
  std::filesystem::create_directories(folder);
  QuietProgramWindow program;
  auto& [dialogs, colours, messages, window, handlers] = program;

  dialogs.answer = QString::fromStdString(WritePicture(folder / "photo.bmp"));
  window.按钮_打开->click();
  QApplication::processEvents();  // the canvas paints the picture
  dialogs.answer = QString::fromStdString((folder / "作品.xlsx").string());

  std::printf("800 x 600 photo-like picture, %d conversions in one window\n", runs);
  std::printf("%4s  %10s  %12s  %12s  %8s\n", "run", "heap MB", "resident MB", "live objects", "seconds");
  std::printf("%4s  %10.3f  %12.1f  %12zu  %8s\n", "open", HeapMegabytes(), ResidentMegabytes(),
              LiveAutomationObjects(), "");
  const std::set<int> reported = {1, 5, 10, 20, runs};
  double heapAt5 = 0, residentAt5 = 0;
  for (int run = 1; run <= runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    window.按钮_制作->click();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (run == 5) heapAt5 = HeapMegabytes(), residentAt5 = ResidentMegabytes();
    if (reported.count(run)) {
      std::printf("%4d  %10.3f  %12.1f  %12zu  %8.2f\n", run, HeapMegabytes(), ResidentMegabytes(),
                  LiveAutomationObjects(), seconds);
    }
  }
  if (runs > 5) {
    std::printf("growth per run after run 5: heap %.1f kB, resident %.1f kB\n",
                (HeapMegabytes() - heapAt5) * 1e3 / (runs - 5), (ResidentMegabytes() - residentAt5) * 1e3 / (runs - 5));
  }
  std::printf("workbooks saved: %d of %d\n", messages.saved, runs);
  std::filesystem::remove_all(folder);
  return messages.saved == runs ? 0 : 1;
}
