#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

// Recognises the format of `bytes` by their first bytes, whatever a file name says, and
// decodes it. No picture when the format is unknown or the data is damaged.
std::optional<Picture> DecodePicture(std::span<const std::uint8_t> bytes);
