#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

// A Windows bitmap file ("BM"): uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel,
// run-length 8 and 4 bits, bit fields 16 and 32 bits, with a core (12-byte), info (40,
// 52, 56-byte), V4 or V5 header. The fourth byte of a 32-bit pixel is ignored, as the
// platform draws bitmaps opaque. Other variants (OS/2 2.x headers, embedded JPEG or PNG,
// 2 and 64 bits) give no picture here; the bitmap loader measures them.
std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> bytes);
