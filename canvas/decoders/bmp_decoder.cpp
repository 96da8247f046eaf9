#include "canvas/decoders/bmp_decoder.h"

#include "canvas/decoders/dib.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;

}  // namespace

std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> bytes) {
  if (!HasBytes(bytes, 0, kFileHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint64_t data_offset = LoadU32(bytes, 10);
  const ByteSpan dib = bytes.subspan(kFileHeaderSize);
  const auto header = ParseDibHeader(dib);
  if (!header || !IsDecodableDib(*header)) return std::nullopt;
  if (data_offset < kFileHeaderSize + header->colour_table_offset || data_offset > bytes.size())
    return std::nullopt;

  // A core header's table may stop where the pixels begin; the others must fit the file.
  const std::uint64_t table_end =
      header->kind == DibHeaderKind::kCore ? data_offset - kFileHeaderSize : dib.size();
  const auto colour_table = ReadDibColourTable(dib, *header, table_end);
  if (!colour_table) return std::nullopt;

  const ByteSpan data = bytes.subspan(data_offset);
  const bool uncompressed = header->compression == kDibRgb || header->compression == kDibBitfields;
  if (uncompressed && data.size() < DibPixelBytes(*header)) return std::nullopt;

  Picture picture = MakePicture(static_cast<int>(header->width), static_cast<int>(header->height));
  if (!picture.HasPixels()) return picture;  // too large to show: measured only
  if (!DecodeDibPixels(*header, *colour_table, data, DibAlpha::kIgnore, picture.pixels)) return std::nullopt;
  return picture;
}
