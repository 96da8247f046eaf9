#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "canvas/picture.h"

enum class PictureFormat { kNone, kBmp, kJpeg, kIcon, kCursor, kGif, kPcx256, kPcxMonochrome, kPng };

// The format `bytes` hold, by their first bytes whatever a file name says. The rows are
// tested in this order on the first six bytes: bitmap (42 4D), JPEG (FF D8), icon
// (00 00 01 00, image count above 0), cursor (00 00 02 00, count above 0), GIF (GIF87a,
// GIF89a), PCX 256 colours (0A, version at most 5, 01, 08), PCX monochrome (0A 03 01 01);
// then PNG by its eight-byte signature. Fewer than six bytes are no picture.
PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes);

// Recognises the format of `bytes` by their first bytes, whatever a file name says, and
// decodes it. No picture when the format is unknown or the data is damaged. A picture
// larger than kMaxPictureWidth × kMaxPictureHeight comes measured only, without pixels
// (see Picture).
std::optional<Picture> DecodePicture(std::span<const std::uint8_t> bytes);
