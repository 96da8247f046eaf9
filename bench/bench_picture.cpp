// Usage: bench_picture WIDTH HEIGHT COLOURS OUT.jpg
//
// Writes a photograph-like JPEG for the end-to-end benchmark: smooth shaded shapes over a
// gradient with film grain, about COLOURS distinct colours before compression. Prints the
// number of distinct colours the decoded file holds, which is what a converter sees.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

#include <jpeglib.h>  // after <cstdio>, which it needs

#include "bench/photo_like_picture.h"
#include "canvas/picture_decoder.h"
#include "canvas/read_file_bytes.h"

namespace {

bool WriteJpeg(const PhotoLikePicture& picture, const char* path) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);  // what cameras and editors commonly save
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width) * 3);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t colour = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
      for (int c = 0; c < 3; ++c) row[x * 3 + c] = static_cast<JSAMPLE>(colour >> (8 * c));
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

std::size_t DecodedColours(const char* path) {
  const std::optional<Picture> decoded = DecodePicture(ReadFileBytes(path));
  if (!decoded) return 0;
  return std::unordered_set<std::uint32_t>(decoded->pixels.begin(), decoded->pixels.end()).size();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 5) {
    std::fputs("Usage: bench_picture WIDTH HEIGHT COLOURS OUT.jpg\n", stderr);
    return 1;
  }
  const int width = std::atoi(argv[1]);
  const int height = std::atoi(argv[2]);
  const long colours = std::atol(argv[3]);
  if (width <= 0 || height <= 0 || colours <= 0) {
    std::fputs("bench_picture: sizes and colours must be positive\n", stderr);
    return 1;
  }
  const PhotoLikePicture picture =
      MakePhotoLikePicture(width, height, static_cast<std::size_t>(colours));
  if (!WriteJpeg(picture, argv[4])) {
    std::fprintf(stderr, "bench_picture: cannot write %s\n", argv[4]);
    return 1;
  }
  std::printf("%zu\n", DecodedColours(argv[4]));
  return 0;
}
