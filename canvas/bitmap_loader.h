#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The size of a bitmap of any size: sides run up to 2^31 - 1.
struct BitmapSize {
  int width = 0;
  int height = 0;
};

// The general loader of Windows bitmap files, the size query's second try when the
// picture decoder gives nothing. It reads every variant a bitmap file may hold, those the
// decoder shows and the further ones it does not: OS/2 2.x headers (16 to 64 bytes), 2 and
// 64 bits per pixel, bit fields with opacity (BI_ALPHABITFIELDS), and an embedded JPEG or
// PNG (BI_JPEG, BI_PNG). It validates the header, the masks and colour table, and that
// the pixel data lies in the file (for an embedded picture: that it is one, of the size
// the header states), and answers the bitmap's size. Nothing when it cannot load the file.
std::optional<BitmapSize> LoadBitmapSize(std::span<const std::uint8_t> bytes);
