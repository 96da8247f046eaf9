#include "canvas/decoders/icon_decoder.h"

#include <algorithm>

#include "canvas/decoders/dib.h"
#include "canvas/decoders/little_endian.h"
#include "canvas/decoders/png_decoder.h"

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;

struct IconEntry {
  std::uint8_t width = 0;
  std::uint8_t colour_count = 0;
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
};

IconEntry ReadEntry(ByteSpan bytes, std::size_t at) {
  return IconEntry{bytes[at], bytes[at + 2], LoadU32(bytes, at + 8), LoadU32(bytes, at + 12)};
}

std::optional<IconEntry> ChooseEntry(ByteSpan bytes) {
  if (!HasBytes(bytes, 0, kDirectorySize) || LoadU16(bytes, 0) != 0) return std::nullopt;
  const unsigned type = LoadU16(bytes, 2);
  const std::size_t count = LoadU16(bytes, 4);
  if ((type != 1 && type != 2) || count == 0) return std::nullopt;
  if (!HasBytes(bytes, kDirectorySize, count * kEntrySize)) return std::nullopt;
  for (std::size_t i = 0; i < count; ++i) {
    const IconEntry entry = ReadEntry(bytes, kDirectorySize + i * kEntrySize);
    if (entry.width == 32 && (entry.colour_count >= 16 || entry.colour_count == 0)) return entry;
  }
  return ReadEntry(bytes, kDirectorySize + (count - 1) * kEntrySize);
}

bool AnyOpacity(const std::vector<std::uint32_t>& pixels) {
  return std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t pixel) { return (pixel >> 24) != 0; });
}

// The mask: one bit a pixel, rows bottom first and padded to four bytes; a set bit is
// transparent. A mask cut short leaves the rest opaque.
void ApplyMask(ByteSpan mask, int width, int height, std::vector<std::uint32_t>& pixels) {
  const std::size_t stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) / 8;
      if (at < mask.size() && (mask[at] >> (7 - x % 8)) & 1)
        pixels[static_cast<std::size_t>(y) * width + x] = kWhitePixel;
    }
  }
}

void LayOverWhite(std::vector<std::uint32_t>& pixels) {
  for (std::uint32_t& pixel : pixels)
    pixel = PixelOverWhite(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF, pixel >> 24);
}

std::optional<Picture> DecodeBitmapImage(ByteSpan image) {
  auto header = ParseDibHeader(image);
  if (!header || header->compression != kDibRgb || header->top_down || header->bit_count == 16 ||
      !IsDecodableDib(*header))
    return std::nullopt;
  header->height /= 2;  // the colour rows, then as many rows of mask
  if (header->height == 0) return std::nullopt;
  const auto colour_table = ReadDibColourTable(image, *header, image.size());
  if (!colour_table) return std::nullopt;
  const std::uint64_t colours_at = header->colour_table_offset + colour_table->size() * header->colour_table_entry_size;
  const ByteSpan colours = image.subspan(colours_at);
  if (colours.size() < DibPixelBytes(*header)) return std::nullopt;

  Picture picture = MakePicture(static_cast<int>(header->width), static_cast<int>(header->height));
  if (!picture.HasPixels()) return picture;  // too large to show: measured only
  if (!DecodeDibPixels(*header, *colour_table, colours, DibAlpha::kKeep, picture.pixels)) return std::nullopt;

  const std::uint64_t colour_bytes = DibRowStride(*header) * static_cast<std::uint64_t>(header->height);
  const ByteSpan mask = colours.subspan(std::min<std::uint64_t>(colour_bytes, colours.size()));
  if (header->bit_count == 32 && AnyOpacity(picture.pixels)) {
    LayOverWhite(picture.pixels);
  } else {
    for (std::uint32_t& pixel : picture.pixels) pixel |= 0xFF000000u;
    ApplyMask(mask, picture.width, picture.height, picture.pixels);
  }
  return picture;
}

}  // namespace

std::optional<Picture> DecodeIcon(std::span<const std::uint8_t> bytes) {
  const auto entry = ChooseEntry(bytes);
  if (!entry || !HasBytes(bytes, entry->offset, entry->size)) return std::nullopt;
  const ByteSpan image = bytes.subspan(entry->offset, entry->size);
  if (HasPngSignature(image)) return DecodePng(image);
  return DecodeBitmapImage(image);
}
