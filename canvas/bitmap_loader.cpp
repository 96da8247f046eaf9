#include "canvas/bitmap_loader.h"

#include "canvas/decoders/dib.h"
#include "canvas/decoders/jpeg_decoder.h"
#include "canvas/decoders/png_decoder.h"
#include "canvas/picture.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;

bool IsUncompressedBitCount(const DibHeader& header) {
  switch (header.bit_count) {
    case 1: case 2: case 4: case 8: case 24: return true;
    case 16: case 32: case 64: return header.kind != DibHeaderKind::kCore;
    default: return false;
  }
}

bool HasMaskedBitCount(const DibHeader& header) {
  return header.kind != DibHeaderKind::kCore && header.kind != DibHeaderKind::kOs2 &&
         (header.bit_count == 16 || header.bit_count == 32) && HasValidMasks(header);
}

// An embedded JPEG or PNG must be one, and of the size the header states.
bool HoldsEmbeddedPicture(const DibHeader& header, ByteSpan data) {
  if (header.kind == DibHeaderKind::kCore || header.kind == DibHeaderKind::kOs2) return false;
  const auto picture = header.compression == kDibJpeg ? DecodeJpeg(data) : DecodePng(data);
  return picture && picture->width == header.width && picture->height == header.height;
}

bool HoldsPixelData(const DibHeader& header, ByteSpan data) {
  switch (header.compression) {
    case kDibRgb: return IsUncompressedBitCount(header) && data.size() >= DibPixelBytes(header);
    case kDibRle8: return header.bit_count == 8 && !header.top_down && !data.empty();
    case kDibRle4: return header.bit_count == 4 && !header.top_down && !data.empty();
    case kDibBitfields:
    case kDibAlphaBitfields: return HasMaskedBitCount(header) && data.size() >= DibPixelBytes(header);
    case kDibJpeg:
    case kDibPng: return HoldsEmbeddedPicture(header, data);
    default: return false;
  }
}

}  // namespace

std::optional<BitmapSize> LoadBitmapSize(std::span<const std::uint8_t> bytes) {
  if (!HasBytes(bytes, 0, kFileHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint64_t data_offset = LoadU32(bytes, 10);
  const ByteSpan dib = bytes.subspan(kFileHeaderSize);
  const auto header = ParseDibHeader(dib);
  if (!header) return std::nullopt;
  if (data_offset < kFileHeaderSize + header->colour_table_offset || data_offset > bytes.size())
    return std::nullopt;
  const std::uint64_t table_end = header->kind == DibHeaderKind::kCore ? data_offset - kFileHeaderSize : dib.size();
  if (!ReadDibColourTable(dib, *header, table_end)) return std::nullopt;
  if (!HoldsPixelData(*header, bytes.subspan(data_offset))) return std::nullopt;
  return BitmapSize{static_cast<int>(header->width), static_cast<int>(header->height)};
}
