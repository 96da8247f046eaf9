#pragma once

#include <cstdint>
#include <vector>

// The largest picture the program takes: wider or higher ones are refused when opened.
inline constexpr int kMaxPictureWidth = 800;
inline constexpr int kMaxPictureHeight = 600;

// A decoded picture. Pixels run row by row from the top, each 0xFFRRGGBB (the order of
// QImage::Format_RGB32), always opaque: transparency is already laid over white.
// A picture larger than kMaxPictureWidth × kMaxPictureHeight carries its size but no
// pixels, since nothing ever shows it: it is only measured, so that it can be refused.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool HasPixels() const { return !pixels.empty(); }
};
