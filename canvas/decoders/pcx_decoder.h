#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

// A PCX file of one of two kinds: 8 bits per pixel (version up to 5), with one plane and
// the 256-colour table after a 0x0C byte at the end of the file, or with three planes of
// red, green and blue; or monochrome (version 3, one plane of one bit: 0 black, 1 white).
// Run-length data: a byte 0xC0 | n repeats the next byte n times, any other byte stands
// for itself. A run that crosses the end of a scan line carries on into the next one, as
// some encoders write them; nothing is written past the last line, and data that ends
// early leaves the remaining lines white.
std::optional<Picture> DecodePcx(std::span<const std::uint8_t> bytes);
