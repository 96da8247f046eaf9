#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "canvas/bitmap_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bitmap = LoadBitmapSize(std::span(data, size));
  if (bitmap && (bitmap->width <= 0 || bitmap->height <= 0)) std::abort();
  return 0;
}
