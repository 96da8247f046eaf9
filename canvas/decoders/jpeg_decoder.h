#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

// A JPEG stream, decoded by libjpeg with its default decompression settings. The data is
// fed in pieces of 4096 bytes and an end-of-image marker is supplied when it runs out, so
// a file cut short still gives a picture of its full size. Grey g gives (g, g, g); colour
// is what libjpeg's default decoding gives. A four-component (CMYK or YCCK) picture is
// converted to RGB, reading Adobe's inverted CMYK as such, so that it shows as a print
// preview would; a picture of any other component count shows its first component as grey.
std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes);
