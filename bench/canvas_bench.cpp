// Times what the conversion leans on: decoding an 800 × 600 photograph-like JPEG, and one
// repeated PictureWidth of an unchanged file (the conversion asks once per row).
// Prints the median of many runs. Targets on the development machine: decode <= 10 ms,
// repeated size query <= 0.2 ms.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

#include "canvas/picture_decoder.h"
#include "canvas/picture_file.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Smooth light and shade, a few hard-edged shapes and sensor-like noise: what a camera
// gives, so the JPEG has a photograph's amount of detail.
std::vector<JSAMPLE> PhotoLikeRgb() {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 6.0);
  std::vector<JSAMPLE> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double sky = 120 + 100 * std::sin(x / 97.0) * std::cos(y / 71.0);
      const bool disc = std::hypot(x - 520.0, y - 260.0) < 140;
      const bool stripe = (x / 23 + y / 31) % 5 == 0;
      const double base[3] = {disc ? 230 : sky, disc ? 120 : sky * 0.8 + y * 0.1, stripe ? 40 : 255 - sky * 0.6};
      for (int c = 0; c < 3; ++c) {
        const double value = std::clamp(base[c] + noise(random), 0.0, 255.0);
        rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3 + c] = static_cast<JSAMPLE>(value);
      }
    }
  }
  return rgb;
}

std::vector<std::uint8_t> EncodeJpeg(const std::vector<JSAMPLE>& rgb) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(rgb.data() + static_cast<std::size_t>(info.next_scanline) * kWidth * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<std::uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

void WriteLargestBitmap(const std::string& path) {
  const std::uint32_t pixel_bytes = kWidth * 3 * kHeight;  // rows of 2400 bytes need no padding
  std::vector<std::uint8_t> bytes(54 + pixel_bytes, 0x80);
  auto put = [&](std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'B', bytes[1] = 'M';
  put(2, static_cast<std::uint32_t>(bytes.size()), 4);
  put(6, 0, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, kWidth, 4);
  put(22, kHeight, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (std::size_t at = 30; at < 54; ++at) bytes[at] = 0;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

template <typename Work>
double MedianMilliseconds(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(PhotoLikeRgb());
  std::printf("photo-like JPEG: %d x %d, %zu bytes\n", kWidth, kHeight, jpeg.size());

  int decoded_width = 0;
  const double decode = MedianMilliseconds(100, [&] { decoded_width = DecodePicture(jpeg)->width; });
  std::printf("decode 800 x 600 JPEG:           %8.3f ms (median of 100; target <= 10 ms)\n", decode);

  const auto path = std::filesystem::temp_directory_path() / ("tessarin-bench-" + std::to_string(::getpid()) + ".jpg");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()),
                                              static_cast<std::streamsize>(jpeg.size()));
  int width = 0;
  const double first = MedianMilliseconds(1, [&] { width = PictureWidth(path.string()); });
  const double repeated = MedianMilliseconds(2000, [&] { width = PictureWidth(path.string()); });
  std::printf("PictureWidth, first query:       %8.3f ms (one call: reads and decodes)\n", first);
  std::printf("PictureWidth, unchanged file:    %8.3f ms (median of 2000; target <= 0.2 ms)\n", repeated);
  std::filesystem::remove(path);

  // The largest file a picture within the limits makes: an uncompressed 24-bit bitmap.
  const auto bitmap_path = path.string() + ".bmp";
  WriteLargestBitmap(bitmap_path);
  int bitmap_width = PictureWidth(bitmap_path);
  const double bitmap = MedianMilliseconds(2000, [&] { bitmap_width = PictureWidth(bitmap_path); });
  std::printf("PictureWidth, unchanged 1.4 MB bitmap: %5.3f ms (median of 2000)\n", bitmap);
  std::filesystem::remove(bitmap_path);
  return decoded_width == kWidth && width == kWidth && bitmap_width == kWidth ? 0 : 1;
}
