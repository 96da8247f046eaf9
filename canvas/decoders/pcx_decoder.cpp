#include "canvas/decoders/pcx_decoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "canvas/decoders/little_endian.h"

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 768;
constexpr std::uint8_t kPaletteMarker = 0x0C;

struct PcxLayout {
  int width = 0;
  int height = 0;
  int bits = 0;    // per pixel in each plane: 1 or 8
  int planes = 0;  // 1, or 3 for red, green and blue
  std::size_t bytes_per_line = 0;  // of each plane
  ByteSpan data;                   // the run-length data
  ByteSpan palette;                // 768 bytes for 8 bits in one plane
};

std::optional<PcxLayout> ReadLayout(ByteSpan bytes) {
  if (!HasBytes(bytes, 0, kHeaderSize) || bytes[0] != 0x0A || bytes[2] != 1) return std::nullopt;
  PcxLayout layout;
  const std::uint8_t version = bytes[1];
  layout.bits = bytes[3];
  layout.planes = bytes[65];
  const bool eight_bit = layout.bits == 8 && version <= 5 && (layout.planes == 1 || layout.planes == 3);
  const bool monochrome = layout.bits == 1 && version == 3 && layout.planes == 1;
  if (!eight_bit && !monochrome) return std::nullopt;

  const int x_min = LoadU16(bytes, 4), y_min = LoadU16(bytes, 6);
  const int x_max = LoadU16(bytes, 8), y_max = LoadU16(bytes, 10);
  if (x_max < x_min || y_max < y_min) return std::nullopt;
  layout.width = x_max - x_min + 1;
  layout.height = y_max - y_min + 1;
  layout.bytes_per_line = LoadU16(bytes, 66);
  const std::size_t needed_per_line = (static_cast<std::size_t>(layout.width) * layout.bits + 7) / 8;
  if (layout.bytes_per_line < needed_per_line) return std::nullopt;

  std::size_t data_end = bytes.size();
  if (layout.bits == 8 && layout.planes == 1) {
    if (bytes.size() < kHeaderSize + 1 + kPaletteSize) return std::nullopt;
    data_end = bytes.size() - kPaletteSize - 1;
    if (bytes[data_end] != kPaletteMarker) return std::nullopt;
    layout.palette = bytes.subspan(data_end + 1, kPaletteSize);
  }
  layout.data = bytes.subspan(kHeaderSize, data_end - kHeaderSize);
  return layout;
}

// Expands the run-length data. A run left over at the end of one line fills the next.
class RunExpander {
 public:
  explicit RunExpander(ByteSpan data) : data_(data) {}

  // Fills `line`; false when the data ends first.
  bool Fill(std::span<std::uint8_t> line) {
    std::size_t out = 0;
    while (out < line.size()) {
      if (run_left_ == 0 && !StartRun()) return false;
      const std::size_t count = std::min(run_left_, line.size() - out);
      std::memset(line.data() + out, run_byte_, count);
      out += count;
      run_left_ -= count;
    }
    return true;
  }

 private:
  bool StartRun() {
    if (at_ >= data_.size()) return false;
    run_byte_ = data_[at_++];
    run_left_ = 1;
    if ((run_byte_ & 0xC0) == 0xC0) {
      if (at_ >= data_.size()) return false;
      run_left_ = run_byte_ & 0x3F;
      run_byte_ = data_[at_++];
    }
    return true;
  }

  ByteSpan data_;
  std::size_t at_ = 0;
  std::uint8_t run_byte_ = 0;
  std::size_t run_left_ = 0;
};

void PaintLine(const PcxLayout& layout, const std::uint8_t* line, std::uint32_t* out) {
  const std::size_t plane = layout.bytes_per_line;
  for (int x = 0; x < layout.width; ++x) {
    if (layout.bits == 1) {
      out[x] = (line[x / 8] >> (7 - x % 8)) & 1 ? kWhitePixel : kBlackPixel;
    } else if (layout.planes == 3) {
      out[x] = PixelFromRgb(line[x], line[plane + x], line[2 * plane + x]);
    } else {
      const std::uint8_t* entry = layout.palette.data() + std::size_t{line[x]} * 3;
      out[x] = PixelFromRgb(entry[0], entry[1], entry[2]);
    }
  }
}

}  // namespace

std::optional<Picture> DecodePcx(std::span<const std::uint8_t> bytes) {
  const auto layout = ReadLayout(bytes);
  if (!layout) return std::nullopt;
  Picture picture = MakePicture(layout->width, layout->height);
  if (!picture.HasPixels()) return picture;  // too large to show: measured only

  // One line of all planes at a time: the stated line length may be far larger than the
  // picture needs, and is only ever held once. Lines the data does not reach stay white.
  std::vector<std::uint8_t> line(layout->bytes_per_line * layout->planes);
  RunExpander runs(layout->data);
  for (int y = 0; y < layout->height && runs.Fill(line); ++y)
    PaintLine(*layout, line.data(), picture.pixels.data() + static_cast<std::size_t>(y) * layout->width);
  return picture;
}
