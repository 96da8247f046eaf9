#pragma once
// What every fuzz target demands of a decoder's answer besides not crashing: no picture,
// or one whose pixels agree with its size. A breach aborts, which libFuzzer reports.

#include <cstdlib>
#include <optional>

#include "canvas/picture.h"

inline void RequireSound(const std::optional<Picture>& picture) {
  if (!picture) return;
  if (picture->width <= 0 || picture->height <= 0) std::abort();
  const bool within = IsWithinPictureLimits(picture->width, picture->height);
  const std::size_t pixels = within ? std::size_t(picture->width) * std::size_t(picture->height) : 0;
  if (picture->pixels.size() != pixels) std::abort();
  for (std::uint32_t pixel : picture->pixels)
    if (pixel >> 24 != 0xFF) std::abort();
}
