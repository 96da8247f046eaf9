#pragma once
// The device-independent bitmap: the info header, colour table and pixel rows that a
// bitmap file carries after its file header and that an icon or cursor carries for each
// of its images. Shared by the bitmap decoder, the icon decoder and the bitmap loader.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "canvas/decoders/little_endian.h"

enum class DibHeaderKind {
  kCore,  // 12 bytes, 16-bit sizes, 3-byte colour table entries
  kOs2,   // OS/2 2.x, 16 to 64 bytes
  kInfo,  // 40, 52 or 56 bytes
  kV4,    // 108 bytes
  kV5,    // 124 bytes
};

enum DibCompression : std::uint32_t {
  kDibRgb = 0,
  kDibRle8 = 1,
  kDibRle4 = 2,
  kDibBitfields = 3,
  kDibJpeg = 4,
  kDibPng = 5,
  kDibAlphaBitfields = 6,
};

struct DibHeader {
  DibHeaderKind kind = DibHeaderKind::kInfo;
  std::uint32_t header_size = 0;
  std::int64_t width = 0;   // positive
  std::int64_t height = 0;  // positive; see top_down
  bool top_down = false;    // the height was stored negative
  std::uint16_t bit_count = 0;
  std::uint32_t compression = kDibRgb;
  std::uint32_t colour_count = 0;              // as stored; 0 means the default
  std::array<std::uint32_t, 4> masks{};         // red, green, blue, alpha, where given
  std::uint64_t colour_table_offset = 0;       // from the start of the info header
  std::uint32_t colour_table_entry_size = 4;
};

// Reads and validates the info header at the start of `dib` (and the masks that follow a
// 40-byte header). Accepts every header size and bit count a bitmap may carry; which
// variants can be decoded is a separate question (IsDecodableDib).
std::optional<DibHeader> ParseDibHeader(ByteSpan dib);

// The variants whose pixels DecodeDibPixels turns into a picture.
bool IsDecodableDib(const DibHeader& header);

// Whether the red, green and blue masks of a bit-field header are each one run of set
// bits inside the pixel.
bool HasValidMasks(const DibHeader& header);

// Bytes from one stored row to the next (rows are padded to four bytes).
std::uint64_t DibRowStride(const DibHeader& header);

// Bytes the uncompressed pixel data needs: every row but the last in full, and the last
// without its padding.
std::uint64_t DibPixelBytes(const DibHeader& header);

// Entries of the colour table: the stored colour count, or 2 to the power of the bit
// count when that is 0, never more than the bit count can index; none above 8 bits.
std::uint64_t DibColourTableLength(const DibHeader& header);

// The colour table as 0xFFRRGGBB values, read from `dib`; nothing when it runs past
// `table_end` (an offset into `dib`, at most its size). A core header's table may be
// shorter than its full length when `table_end` leaves room for fewer entries.
std::optional<std::vector<std::uint32_t>> ReadDibColourTable(ByteSpan dib, const DibHeader& header,
                                                            std::uint64_t table_end);

// What becomes of the fourth byte of a 32-bit pixel without masks: ignored (bitmap
// files), or kept in the top byte as opacity (icon images).
enum class DibAlpha { kIgnore, kKeep };

// Decodes the pixel data of a decodable header into `pixels`, width × height values, top
// row first, 0xFFRRGGBB (or with the opacity in the top byte under DibAlpha::kKeep).
// Indices past the colour table give black; pixels that run-length data skips stay as
// they were. False when uncompressed data is shorter than DibPixelBytes; run-length data
// that ends early leaves the rest unwritten.
bool DecodeDibPixels(const DibHeader& header, std::span<const std::uint32_t> colour_table,
                     ByteSpan data, DibAlpha alpha, std::span<std::uint32_t> pixels);
