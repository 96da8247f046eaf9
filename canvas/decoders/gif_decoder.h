#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

// A GIF87a or GIF89a file: its first image, interlaced or not, placed at its offset on a
// picture of the logical screen's size. Transparent pixels and the part of the screen the
// image does not cover show white, and so do pixels the data ends before; an index past the
// colour table shows black. An image without any colour table, a code that the LZW table
// does not hold, or a file without an image gives no picture.
std::optional<Picture> DecodeGif(std::span<const std::uint8_t> bytes);
