#include "canvas/decoders/dib.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "canvas/picture.h"

namespace {

constexpr std::int64_t kLargestSide = std::numeric_limits<std::int32_t>::max();

bool IsKnownBitCount(std::uint16_t bits) {
  switch (bits) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32: case 64: return true;
    default: return false;
  }
}

std::optional<DibHeaderKind> KindOfHeaderSize(std::uint32_t size) {
  switch (size) {
    case 12: return DibHeaderKind::kCore;
    case 40: case 52: case 56: return DibHeaderKind::kInfo;
    case 108: return DibHeaderKind::kV4;
    case 124: return DibHeaderKind::kV5;
    default: break;
  }
  if (size >= 16 && size <= 64 && size % 4 == 0) return DibHeaderKind::kOs2;
  return std::nullopt;
}

std::optional<DibHeader> ParseCoreHeader(ByteSpan dib) {
  DibHeader header;
  header.kind = DibHeaderKind::kCore;
  header.header_size = 12;
  header.width = LoadU16(dib, 4);
  header.height = LoadU16(dib, 6);
  if (LoadU16(dib, 8) != 1) return std::nullopt;  // planes
  header.bit_count = LoadU16(dib, 10);
  header.colour_table_offset = 12;
  header.colour_table_entry_size = 3;
  if (header.width == 0 || header.height == 0) return std::nullopt;
  return header;
}

// Reads the masks that a 40-byte header keeps just after itself, and those that larger
// headers keep inside.
bool ReadMasks(ByteSpan dib, DibHeader& header) {
  std::uint64_t count = 0;
  std::uint64_t at = 40;
  if (header.kind == DibHeaderKind::kInfo && header.header_size == 40) {
    if (header.compression == kDibBitfields) count = 3;
    if (header.compression == kDibAlphaBitfields) count = 4;
  } else if (header.kind != DibHeaderKind::kOs2) {
    count = header.header_size >= 56 ? 4 : 3;
  }
  if (!HasBytes(dib, at, 4 * count)) return false;
  for (std::uint64_t i = 0; i < count; ++i) header.masks[i] = LoadU32(dib, at + 4 * i);
  header.colour_table_offset = header.header_size;
  if (header.header_size == 40) header.colour_table_offset += 4 * count;
  return true;
}

std::optional<DibHeader> ParseLongHeader(ByteSpan dib, DibHeaderKind kind, std::uint32_t size) {
  DibHeader header;
  header.kind = kind;
  header.header_size = size;
  const std::int64_t width = LoadI32(dib, 4);
  const std::int64_t height = LoadI32(dib, 8);
  if (LoadU16(dib, 12) != 1) return std::nullopt;  // planes
  header.bit_count = LoadU16(dib, 14);
  header.compression = size >= 20 ? LoadU32(dib, 16) : kDibRgb;
  header.colour_count = size >= 36 ? LoadU32(dib, 32) : 0;
  if (width <= 0 || height == 0 || height < -kLargestSide) return std::nullopt;
  header.width = width;
  header.height = height < 0 ? -height : height;
  header.top_down = height < 0;
  if (!ReadMasks(dib, header)) return std::nullopt;
  return header;
}

// How one colour channel sits in a masked pixel.
struct ChannelMask {
  std::uint32_t mask = 0;
  unsigned shift = 0;
  std::uint64_t largest = 0;  // the channel's all-ones value; 0 when the mask is empty

  std::uint32_t Scale(std::uint32_t pixel) const {
    if (largest == 0) return 0;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((value * 255 + largest / 2) / largest);
  }
};

// Masks must be one run of set bits each, inside the pixel's bits.
std::optional<ChannelMask> MakeChannelMask(std::uint32_t mask, unsigned bit_count) {
  if (mask == 0) return ChannelMask{};
  if (bit_count < 32 && (mask >> bit_count) != 0) return std::nullopt;
  const unsigned shift = static_cast<unsigned>(std::countr_zero(mask));
  const std::uint32_t run = mask >> shift;
  if ((run & (run + 1)) != 0) return std::nullopt;
  return ChannelMask{mask, shift, run};
}

class PixelSink {
 public:
  PixelSink(const DibHeader& header, std::span<std::uint32_t> pixels)
      : width_(header.width), height_(header.height), top_down_(header.top_down), pixels_(pixels) {}

  // `stored_row` counts rows in the order the data stores them.
  std::uint32_t* Row(std::int64_t stored_row) const {
    const std::int64_t row = top_down_ ? stored_row : height_ - 1 - stored_row;
    return pixels_.data() + row * width_;
  }
  void Put(std::int64_t x, std::int64_t stored_row, std::uint32_t colour) const {
    if (x >= 0 && x < width_ && stored_row >= 0 && stored_row < height_) Row(stored_row)[x] = colour;
  }
  std::int64_t width() const { return width_; }
  std::int64_t height() const { return height_; }

 private:
  std::int64_t width_;
  std::int64_t height_;
  bool top_down_;
  std::span<std::uint32_t> pixels_;
};

std::uint32_t LookUp(std::span<const std::uint32_t> table, unsigned index) {
  return index < table.size() ? table[index] : kBlackPixel;
}

void DecodeIndexedRow(const std::uint8_t* row, unsigned bits, std::span<const std::uint32_t> table,
                      std::uint32_t* out, std::int64_t width) {
  const unsigned per_byte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  for (std::int64_t x = 0; x < width; ++x) {
    const unsigned slot = static_cast<unsigned>(x % per_byte);
    const unsigned index = (row[x / per_byte] >> (8 - bits * (slot + 1))) & mask;
    out[x] = LookUp(table, index);
  }
}

void DecodeMaskedRow(const std::uint8_t* row, unsigned bits, const std::array<ChannelMask, 3>& channels,
                     std::uint32_t* out, std::int64_t width) {
  for (std::int64_t x = 0; x < width; ++x) {
    const std::uint8_t* at = row + x * (bits / 8);
    const std::uint32_t value =
        bits == 16 ? std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 : LoadU32(ByteSpan(at, 4), 0);
    out[x] = PixelFromRgb(channels[0].Scale(value), channels[1].Scale(value), channels[2].Scale(value));
  }
}

void DecodeBgrRow(const std::uint8_t* row, unsigned bits, DibAlpha alpha, std::uint32_t* out,
                  std::int64_t width) {
  const unsigned step = bits / 8;
  for (std::int64_t x = 0; x < width; ++x) {
    const std::uint8_t* at = row + x * step;
    std::uint32_t pixel = PixelFromRgb(at[2], at[1], at[0]);
    if (step == 4 && alpha == DibAlpha::kKeep) pixel = (pixel & 0x00FFFFFFu) | std::uint32_t{at[3]} << 24;
    out[x] = pixel;
  }
}

std::optional<std::array<ChannelMask, 3>> ChannelMasksOf(const DibHeader& header,
                                                         std::array<std::uint32_t, 3> masks) {
  std::array<ChannelMask, 3> channels;
  for (int i = 0; i < 3; ++i) {
    const auto channel = MakeChannelMask(masks[i], header.bit_count);
    if (!channel) return std::nullopt;
    channels[i] = *channel;
  }
  return channels;
}

bool DecodeUncompressed(const DibHeader& header, std::span<const std::uint32_t> table, ByteSpan data,
                        DibAlpha alpha, const PixelSink& sink) {
  if (data.size() < DibPixelBytes(header)) return false;
  const unsigned bits = header.bit_count;
  std::optional<std::array<ChannelMask, 3>> channels;
  if (header.compression == kDibBitfields) {
    channels = ChannelMasksOf(header, {header.masks[0], header.masks[1], header.masks[2]});
  } else if (bits == 16) {
    channels = ChannelMasksOf(header, {0x7C00, 0x03E0, 0x001F});  // 5-5-5 by default
  }
  if ((header.compression == kDibBitfields || bits == 16) && !channels) return false;

  const std::uint64_t stride = DibRowStride(header);
  for (std::int64_t stored = 0; stored < sink.height(); ++stored) {
    const std::uint8_t* row = data.data() + static_cast<std::uint64_t>(stored) * stride;
    std::uint32_t* out = sink.Row(stored);
    if (bits <= 8) {
      DecodeIndexedRow(row, bits, table, out, sink.width());
    } else if (channels) {
      DecodeMaskedRow(row, bits, *channels, out, sink.width());
    } else {
      DecodeBgrRow(row, bits, alpha, out, sink.width());
    }
  }
  return true;
}

// Run-length data, 8 or 4 bits per index, rows stored bottom first. Escapes: 0 0 ends a
// row, 0 1 ends the bitmap, 0 2 dx dy moves on, 0 n copies n literal indices. Writes past
// a row's end are dropped; data that ends early ends the bitmap.
void DecodeRunLength(const DibHeader& header, std::span<const std::uint32_t> table, ByteSpan data,
                     const PixelSink& sink) {
  const bool nibbles = header.compression == kDibRle4;
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::size_t at = 0;
  auto index_of = [&](std::uint8_t byte, std::int64_t i) -> unsigned {
    if (!nibbles) return byte;
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
  };
  while (at + 1 < data.size() && y < sink.height()) {
    const std::uint8_t count = data[at];
    const std::uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (std::int64_t i = 0; i < count; ++i) sink.Put(x + i, y, LookUp(table, index_of(value, i)));
      x += count;
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (at + 1 >= data.size()) return;
      x += data[at];
      y += data[at + 1];
      at += 2;
    } else {
      const std::size_t literal_bytes = nibbles ? (value + 1u) / 2 : value;
      for (std::int64_t i = 0; i < value; ++i) {
        const std::size_t byte_at = at + static_cast<std::size_t>(nibbles ? i / 2 : i);
        if (byte_at >= data.size()) return;
        sink.Put(x + i, y, LookUp(table, index_of(data[byte_at], i)));
      }
      x += value;
      at += (literal_bytes + 1) & ~std::size_t{1};  // literals are padded to 16 bits
    }
  }
}

}  // namespace

std::optional<DibHeader> ParseDibHeader(ByteSpan dib) {
  if (!HasBytes(dib, 0, 4)) return std::nullopt;
  const std::uint32_t size = LoadU32(dib, 0);
  const auto kind = KindOfHeaderSize(size);
  if (!kind || !HasBytes(dib, 0, size)) return std::nullopt;
  auto header = *kind == DibHeaderKind::kCore ? ParseCoreHeader(dib) : ParseLongHeader(dib, *kind, size);
  if (!header) return std::nullopt;
  const bool embedded = header->compression == kDibJpeg || header->compression == kDibPng;
  if (!IsKnownBitCount(header->bit_count) && !(embedded && header->bit_count == 0)) return std::nullopt;
  return header;
}

bool IsDecodableDib(const DibHeader& header) {
  if (header.kind == DibHeaderKind::kOs2) return false;
  const unsigned bits = header.bit_count;
  switch (header.compression) {
    case kDibRgb:
      if (header.kind == DibHeaderKind::kCore) return bits == 1 || bits == 4 || bits == 8 || bits == 24;
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kDibRle8: return bits == 8 && !header.top_down;
    case kDibRle4: return bits == 4 && !header.top_down;
    case kDibBitfields: return bits == 16 || bits == 32;
    default: return false;
  }
}

bool HasValidMasks(const DibHeader& header) {
  return ChannelMasksOf(header, {header.masks[0], header.masks[1], header.masks[2]}).has_value();
}

std::uint64_t DibRowStride(const DibHeader& header) {
  const std::uint64_t bits = static_cast<std::uint64_t>(header.width) * header.bit_count;
  return (bits + 31) / 32 * 4;
}

std::uint64_t DibPixelBytes(const DibHeader& header) {
  // Saturates rather than wraps: a lying header then simply needs more than any file has.
  constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
  const std::uint64_t stride = DibRowStride(header);
  const std::uint64_t full_rows = static_cast<std::uint64_t>(header.height - 1);
  if (full_rows != 0 && stride > kMost / full_rows) return kMost;
  const std::uint64_t last_row = (static_cast<std::uint64_t>(header.width) * header.bit_count + 7) / 8;
  const std::uint64_t rows = stride * full_rows;
  return rows > kMost - last_row ? kMost : rows + last_row;
}

std::uint64_t DibColourTableLength(const DibHeader& header) {
  if (header.bit_count == 0 || header.bit_count > 8) return 0;
  const std::uint64_t full = std::uint64_t{1} << header.bit_count;
  if (header.colour_count == 0) return full;
  return std::min<std::uint64_t>(header.colour_count, full);
}

std::optional<std::vector<std::uint32_t>> ReadDibColourTable(ByteSpan dib, const DibHeader& header,
                                                            std::uint64_t table_end) {
  std::uint64_t length = DibColourTableLength(header);
  const std::uint64_t entry = header.colour_table_entry_size;
  table_end = std::min<std::uint64_t>(table_end, dib.size());
  if (header.kind == DibHeaderKind::kCore && table_end >= header.colour_table_offset)
    length = std::min(length, (table_end - header.colour_table_offset) / entry);
  if (header.colour_table_offset > table_end || length * entry > table_end - header.colour_table_offset)
    return std::nullopt;
  std::vector<std::uint32_t> table(length);
  for (std::uint64_t i = 0; i < length; ++i) {
    const std::uint8_t* at = dib.data() + header.colour_table_offset + i * entry;
    table[i] = PixelFromRgb(at[2], at[1], at[0]);
  }
  return table;
}

bool DecodeDibPixels(const DibHeader& header, std::span<const std::uint32_t> colour_table,
                     ByteSpan data, DibAlpha alpha, std::span<std::uint32_t> pixels) {
  if (!IsDecodableDib(header)) return false;
  if (pixels.size() != static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height))
    return false;
  const PixelSink sink(header, pixels);
  if (header.compression == kDibRle8 || header.compression == kDibRle4) {
    DecodeRunLength(header, colour_table, data, sink);
    return true;
  }
  return DecodeUncompressed(header, colour_table, data, alpha, sink);
}
