#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

// An icon (00 00 01 00) or cursor (00 00 02 00) file with at least one image. The image
// shown is the first whose directory entry gives width 32 and at least 16 colours (a
// colour count of 0 stands for 256 or more), else the last one. The picture's size is
// that of the image itself, from its own header, since the directory's bytes cannot hold
// 256 or more and may disagree with the image. A bitmap image (1, 4, 8, 24 or 32 bits,
// twice its height for the colour rows and the mask) shows its mask's transparent pixels
// as white; a 32-bit image with opacity lays it over white instead. An image stored as
// PNG is decoded as such.
std::optional<Picture> DecodeIcon(std::span<const std::uint8_t> bytes);
