#pragma once
// Bounds-checked reading of little-endian fields, shared by the decoders of the
// Windows-born formats (bitmap, icon, GIF, PCX).

#include <cstddef>
#include <cstdint>
#include <span>

using ByteSpan = std::span<const std::uint8_t>;

// Whether `count` bytes from `offset` lie inside `bytes`; safe for any offset and count.
constexpr bool HasBytes(ByteSpan bytes, std::uint64_t offset, std::uint64_t count) {
  return offset <= bytes.size() && count <= bytes.size() - offset;
}

// The readers below expect HasBytes to have been checked.
constexpr std::uint16_t LoadU16(ByteSpan bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}
constexpr std::uint32_t LoadU32(ByteSpan bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
         std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}
constexpr std::int32_t LoadI32(ByteSpan bytes, std::size_t offset) {
  return static_cast<std::int32_t>(LoadU32(bytes, offset));
}
