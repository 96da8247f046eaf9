#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

// Whether `bytes` start with the eight-byte PNG signature.
bool HasPngSignature(std::span<const std::uint8_t> bytes);

// A PNG stream of any bit depth and colour type, interlaced or not, decoded by libpng;
// transparency (an alpha channel or a transparent colour) is laid over white. No gamma
// correction is applied: the stored values are shown. A damaged or cut-short stream gives
// no picture.
std::optional<Picture> DecodePng(std::span<const std::uint8_t> bytes);
