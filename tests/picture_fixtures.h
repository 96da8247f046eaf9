#pragma once
// Reading the committed picture fixtures (tests/data/, made by make_fixtures.py) and the
// pixel dumps that say what each must decode to.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "canvas/picture.h"
#include "canvas/read_file_bytes.h"

inline std::string FixturePath(const std::string& relative) { return std::string(TESSARIN_TEST_DATA) + "/" + relative; }

inline Bytes FixtureBytes(const std::string& relative) {
  std::ifstream file(FixturePath(relative), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The pixels of a binary PPM (P6, maxval 255) as a picture of 0xFFRRGGBB values; an
// empty picture when the file is missing or not such a PPM.
inline Picture ReadPpm(const std::string& relative) {
  const Bytes bytes = FixtureBytes(relative);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  in >> magic >> width >> height >> maxval;
  in.get();
  if (magic != "P6" || maxval != 255 || width <= 0 || height <= 0) return {};
  Picture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) {
    unsigned char rgb[3];
    if (!in.read(reinterpret_cast<char*>(rgb), 3)) return {};
    picture.pixels.push_back(PixelFromRgb(rgb[0], rgb[1], rgb[2]));
  }
  return picture;
}
