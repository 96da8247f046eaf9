#pragma once
// Writes test pictures as plain 24-bit Windows bitmaps, so a test can make a picture of any
// size and colours in a few lines and know every pixel the program will read from it.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "canvas/colour_value.h"

// Writes a width × height bitmap to `path`; pixel (x, y), counted from the top-left corner,
// gets colourAt(x, y), a colour value 0x00BBGGRR. True when the file was written whole.
inline bool WriteBmp(const std::string& path, int width, int height,
                     const std::function<ColourValue(int x, int y)>& colourAt) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
  std::vector<std::uint8_t> file;
  const auto put = [&file](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  file.push_back('B');
  file.push_back('M');
  put(14 + 40 + pixelBytes, 4);  // file size
  put(0, 4);                     // reserved
  put(14 + 40, 4);               // offset of the pixels
  put(40, 4);                    // BITMAPINFOHEADER
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);  // positive: bottom row first
  put(1, 2);                                   // planes
  put(24, 2);                                  // bits per pixel
  put(0, 4);                                   // no compression
  put(pixelBytes, 4);
  put(2835, 4);  // 72 dots per inch
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t rowStart = file.size();
    for (int x = 0; x < width; ++x) {
      const ColourValue colour = colourAt(x, y);
      file.push_back(static_cast<std::uint8_t>(colour >> 16));  // blue
      file.push_back(static_cast<std::uint8_t>(colour >> 8));   // green
      file.push_back(static_cast<std::uint8_t>(colour));        // red
    }
    file.resize(rowStart + rowBytes, 0);
  }
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out.flush());
}

// A picture of one colour.
inline bool WriteBmp(const std::string& path, int width, int height, ColourValue colour) {
  return WriteBmp(path, width, height, [colour](int, int) { return colour; });
}
