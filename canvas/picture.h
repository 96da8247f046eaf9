#pragma once

#include <cstdint>
#include <vector>

// The largest picture the program takes: wider or higher ones are refused when opened.
inline constexpr int kMaxPictureWidth = 800;
inline constexpr int kMaxPictureHeight = 600;

// A decoded picture. Pixels run row by row from the top, each 0xFFRRGGBB (the order of
// QImage::Format_RGB32), always opaque: transparency is already laid over white.
//
// How large a picture the decoders allocate for: a picture within kMaxPictureWidth ×
// kMaxPictureHeight is decoded fully (at most 800 × 600 × 4 bytes of pixels). A larger one
// is only measured: its header is validated as for a full decode, and it carries its size
// but no pixels, since nothing ever shows it; the opener needs the size only to refuse it.
// No pixel memory is ever allocated for it, so a file that claims 65535 × 65535 costs no
// more than a small one. Any decoding error (a header that lies, a code or offset out of
// range, a table longer than the file) gives no picture at all, never one with a wrong
// size. Pixel data that merely ends early is no error for the formats that stream their
// pixels (JPEG, GIF, run-length bitmaps, PCX): a file cut short keeps its full size, as a
// cut-short JPEG must, showing the rows its data reaches and white (JPEG: libjpeg's fill)
// below. Uncompressed bitmaps and PNG need all their pixel data.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool HasPixels() const { return !pixels.empty(); }
};

inline constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;
inline constexpr std::uint32_t kBlackPixel = 0xFF000000u;

constexpr std::uint32_t PixelFromRgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return 0xFF000000u | (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF);
}

// One 8-bit channel of `value` at opacity `alpha` laid over white, rounded to nearest.
constexpr std::uint32_t ChannelOverWhite(std::uint32_t value, std::uint32_t alpha) {
  return (value * alpha + 255 * (255 - alpha) + 127) / 255;
}

constexpr std::uint32_t PixelOverWhite(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                                       std::uint32_t alpha) {
  return PixelFromRgb(ChannelOverWhite(red, alpha), ChannelOverWhite(green, alpha),
                      ChannelOverWhite(blue, alpha));
}

// Whether a picture of this size is decoded fully (true) or only measured.
constexpr bool IsWithinPictureLimits(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureWidth && height <= kMaxPictureHeight;
}

// A picture of the given size: filled with `fill` when within the limits, else measured
// only (no pixels). Sizes must be positive and fit an int; decoders check that first.
inline Picture MakePicture(int width, int height, std::uint32_t fill = kWhitePixel) {
  Picture picture{width, height, {}};
  if (IsWithinPictureLimits(width, height))
    picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
  return picture;
}
