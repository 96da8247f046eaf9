#pragma once
// Writes uncompressed 24-bit Windows bitmaps of any size, so a test can make the picture
// file it needs (an exact size at a limit, chosen pixels) instead of committing one.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

#include "canvas/colour_value.h"
#include "canvas/read_file_bytes.h"

// The colour of the picture's pixel (x, y), counted from its top-left corner.
using PictureColours = std::function<ColourValue(int x, int y)>;

// A colour that differs between neighbouring pixels in both directions and never is pure
// white or black, so a misplaced, swapped or missing pixel shows.
inline ColourValue PatternColour(int x, int y) {
  return MakeColourValue(static_cast<std::uint8_t>(20 + x % 200),
                         static_cast<std::uint8_t>(30 + y % 200),
                         static_cast<std::uint8_t>(40 + (x * 3 + y * 7) % 200));
}

// A bitmap with a 40-byte info header, rows stored bottom row first, padded to 4 bytes.
inline Bytes BmpBytes(int width, int height, const PictureColours& colourAt = PatternColour) {
  const std::uint32_t rowSize = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(height);
  const std::uint32_t headersSize = 14 + 40;
  Bytes bytes;
  bytes.reserve(headersSize + pixelBytes);
  auto put16 = [&](std::uint32_t value) {
    bytes.push_back(value & 0xFF);
    bytes.push_back((value >> 8) & 0xFF);
  };
  auto put32 = [&](std::uint32_t value) {
    put16(value & 0xFFFF);
    put16(value >> 16);
  };
  bytes.push_back('B');
  bytes.push_back('M');
  put32(headersSize + pixelBytes);  // file size
  put32(0);                         // reserved
  put32(headersSize);               // pixel data offset
  put32(40);                        // info header size
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));
  put16(1);   // planes
  put16(24);  // bits per pixel
  put32(0);   // no compression
  put32(pixelBytes);
  put32(2835);  // 72 dpi
  put32(2835);
  put32(0);  // colours used
  put32(0);  // important colours
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const ColourValue colour = colourAt(x, y);
      bytes.push_back(BlueOf(colour));
      bytes.push_back(GreenOf(colour));
      bytes.push_back(RedOf(colour));
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < rowSize; ++pad)
      bytes.push_back(0);
  }
  return bytes;
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Writes a bitmap to `path` and gives the path back.
inline std::string WriteBmp(const std::string& path, int width, int height,
                            const PictureColours& colourAt = PatternColour) {
  WriteFileBytes(path, BmpBytes(width, height, colourAt));
  return path;
}

// A bitmap of one colour.
inline std::string WriteBmp(const std::string& path, int width, int height, ColourValue colour) {
  return WriteBmp(path, width, height, [colour](int, int) { return colour; });
}
