#include "canvas/decoders/gif_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "canvas/decoders/little_endian.h"

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr int kMostCodes = 4096;  // codes are at most 12 bits wide

// Decoding time grows with the first image's area, which its descriptor may state up to
// 65535 × 65535 whatever the screen. On a screen of at most 800 × 600 an image larger than
// this is a lie, and is taken as a damaged file rather than decoded for seconds.
constexpr std::int64_t kLargestImageArea = std::int64_t{16} * kMaxPictureWidth * kMaxPictureHeight;

struct ImageDescriptor {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  std::span<const std::uint8_t> colour_table;  // three bytes an entry
  int transparent_index = -1;
  int min_code_size = 0;
  std::size_t data_offset = 0;  // the first data sub-block
};

// Reads the data sub-blocks of the image one byte at a time, as LZW codes need them.
class SubBlockReader {
 public:
  SubBlockReader(ByteSpan bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  // False when the data ends: at the terminating empty block or at the end of the file.
  bool Next(std::uint8_t& byte) {
    if (left_in_block_ == 0) {
      if (at_ >= bytes_.size() || bytes_[at_] == 0) return false;
      left_in_block_ = bytes_[at_++];
    }
    if (at_ >= bytes_.size()) return false;
    byte = bytes_[at_++];
    --left_in_block_;
    return true;
  }

 private:
  ByteSpan bytes_;
  std::size_t at_;
  unsigned left_in_block_ = 0;
};

class CodeReader {
 public:
  explicit CodeReader(SubBlockReader blocks) : blocks_(blocks) {}

  bool Read(int width, int& code) {
    while (bits_held_ < width) {
      std::uint8_t byte;
      if (!blocks_.Next(byte)) return false;
      held_ |= std::uint32_t{byte} << bits_held_;
      bits_held_ += 8;
    }
    code = static_cast<int>(held_ & ((1u << width) - 1));
    held_ >>= width;
    bits_held_ -= width;
    return true;
  }

 private:
  SubBlockReader blocks_;
  std::uint32_t held_ = 0;
  int bits_held_ = 0;
};

// Hands out the image's pixel positions in the order the data stores them.
class RowOrder {
 public:
  RowOrder(int height, bool interlaced) : height_(height), interlaced_(interlaced) {}

  int Row(int stored) const {
    if (!interlaced_) return stored;
    // Four passes: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      const int rows_in_pass = height_ > kStart[pass] ? (height_ - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
      if (stored < rows_in_pass) return kStart[pass] + stored * kStep[pass];
      stored -= rows_in_pass;
    }
    return height_;  // never reached for stored < height
  }

 private:
  int height_;
  bool interlaced_;
};

class ImagePainter {
 public:
  ImagePainter(const ImageDescriptor& image, Picture& picture)
      : image_(image), picture_(picture), order_(image.height, image.interlaced) {}

  bool Done() const { return next_ >= std::int64_t{image_.width} * image_.height; }

  void Paint(std::uint8_t index) {
    const int stored_row = static_cast<int>(next_ / image_.width);
    const int x = image_.left + static_cast<int>(next_ % image_.width);
    if (stored_row != last_stored_row_) {
      last_stored_row_ = stored_row;
      y_ = image_.top + order_.Row(stored_row);
    }
    ++next_;
    if (x >= picture_.width || y_ >= picture_.height || index == image_.transparent_index) return;
    picture_.pixels[static_cast<std::size_t>(y_) * picture_.width + x] = ColourOf(index);
  }

 private:
  std::uint32_t ColourOf(std::uint8_t index) const {
    const std::size_t at = std::size_t{index} * 3;
    if (at + 2 >= image_.colour_table.size()) return kBlackPixel;
    return PixelFromRgb(image_.colour_table[at], image_.colour_table[at + 1], image_.colour_table[at + 2]);
  }

  const ImageDescriptor& image_;
  Picture& picture_;
  RowOrder order_;
  std::int64_t next_ = 0;
  int last_stored_row_ = -1;
  int y_ = 0;
};

// LZW decoding with every code checked against the table as it stands.
class LzwDecoder {
 public:
  explicit LzwDecoder(int min_code_size)
      : clear_(1 << min_code_size), end_(clear_ + 1), min_code_size_(min_code_size) {
    for (int code = 0; code < clear_; ++code) {
      first_[code] = static_cast<std::uint8_t>(code);
      suffix_[code] = static_cast<std::uint8_t>(code);
      length_[code] = 1;
    }
    Reset();
  }

  // False on a code outside the table; true at the end code or when the data runs out.
  bool Run(CodeReader& codes, ImagePainter& painter) {
    int code;
    while (!painter.Done() && codes.Read(code_width_, code)) {
      if (code == clear_) {
        Reset();
        continue;
      }
      if (code == end_) return true;
      if (!Take(code, painter)) return false;
    }
    return true;
  }

 private:
  void Reset() {
    next_code_ = end_ + 1;
    code_width_ = min_code_size_ + 1;
    previous_ = -1;
  }

  bool Take(int code, ImagePainter& painter) {
    if (previous_ < 0) {  // the first code after a clear is a literal
      if (code >= clear_) return false;
      Emit(code, painter);
      previous_ = code;
      return true;
    }
    if (code > next_code_ || (code == next_code_ && next_code_ >= kMostCodes)) return false;
    const std::uint8_t first = code < next_code_ ? first_[code] : first_[previous_];
    if (next_code_ < kMostCodes) {
      prefix_[next_code_] = static_cast<std::uint16_t>(previous_);
      suffix_[next_code_] = first;
      first_[next_code_] = first_[previous_];
      length_[next_code_] = static_cast<std::uint16_t>(length_[previous_] + 1);
      ++next_code_;
      if (next_code_ == (1 << code_width_) && code_width_ < 12) ++code_width_;
    }
    Emit(code, painter);
    previous_ = code;
    return true;
  }

  // Writes the string of `code`, which is built from its last byte backwards.
  void Emit(int code, ImagePainter& painter) {
    const int length = length_[code];
    for (int i = length - 1; i >= 0; --i) {
      string_[i] = suffix_[code];
      code = prefix_[code];
    }
    for (int i = 0; i < length && !painter.Done(); ++i) painter.Paint(string_[i]);
  }

  const int clear_;
  const int end_;
  const int min_code_size_;
  int next_code_ = 0;
  int code_width_ = 0;
  int previous_ = -1;
  std::array<std::uint16_t, kMostCodes> prefix_{};
  std::array<std::uint8_t, kMostCodes> suffix_{};
  std::array<std::uint8_t, kMostCodes> first_{};
  std::array<std::uint16_t, kMostCodes> length_{};
  std::array<std::uint8_t, kMostCodes> string_{};
};

// Skips data sub-blocks from `at`; the offset after the terminator, or 0 when the file ends.
std::size_t SkipSubBlocks(ByteSpan bytes, std::size_t at) {
  while (at < bytes.size()) {
    const std::size_t size = bytes[at];
    if (size == 0) return at + 1;
    at += 1 + size;
  }
  return 0;
}

std::size_t ColourTableSize(std::uint8_t packed) {
  return packed & 0x80 ? std::size_t{3} << ((packed & 0x07) + 1) : 0;
}

// Reads the first image's descriptor and the graphic control extension before it.
std::optional<ImageDescriptor> FindFirstImage(ByteSpan bytes, std::span<const std::uint8_t> global_table,
                                              std::size_t at) {
  int transparent_index = -1;
  while (at < bytes.size()) {
    const std::uint8_t introducer = bytes[at];
    if (introducer == kExtensionIntroducer) {
      if (!HasBytes(bytes, at, 2)) return std::nullopt;
      if (bytes[at + 1] == kGraphicControlLabel && HasBytes(bytes, at, 8) && bytes[at + 2] >= 4)
        transparent_index = (bytes[at + 3] & 0x01) ? bytes[at + 6] : -1;
      at = SkipSubBlocks(bytes, at + 2);
      if (at == 0) return std::nullopt;
    } else if (introducer == kImageSeparator) {
      if (!HasBytes(bytes, at, 11)) return std::nullopt;
      ImageDescriptor image;
      image.left = LoadU16(bytes, at + 1);
      image.top = LoadU16(bytes, at + 3);
      image.width = LoadU16(bytes, at + 5);
      image.height = LoadU16(bytes, at + 7);
      const std::uint8_t packed = bytes[at + 9];
      image.interlaced = packed & 0x40;
      image.transparent_index = transparent_index;
      at += 10;
      image.colour_table = global_table;
      if (const std::size_t local_size = ColourTableSize(packed); local_size > 0) {
        if (!HasBytes(bytes, at, local_size)) return std::nullopt;
        image.colour_table = bytes.subspan(at, local_size);
        at += local_size;
      }
      if (image.colour_table.empty() || !HasBytes(bytes, at, 1)) return std::nullopt;
      image.min_code_size = bytes[at];
      if (image.min_code_size < 1 || image.min_code_size > 11) return std::nullopt;
      image.data_offset = at + 1;
      return image;
    } else {
      return std::nullopt;  // the trailer (3B) before any image, or a byte that starts no block
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<Picture> DecodeGif(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kHeaderSize = 13;
  if (!HasBytes(bytes, 0, kHeaderSize)) return std::nullopt;
  if (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0)
    return std::nullopt;
  const int width = LoadU16(bytes, 6);
  const int height = LoadU16(bytes, 8);
  const std::uint8_t packed = bytes[10];
  if (width == 0 || height == 0) return std::nullopt;
  std::span<const std::uint8_t> global_table;
  std::size_t at = kHeaderSize;
  if (const std::size_t table_size = ColourTableSize(packed); table_size > 0) {
    if (!HasBytes(bytes, at, table_size)) return std::nullopt;
    global_table = bytes.subspan(at, table_size);
    at += table_size;
  }
  const auto image = FindFirstImage(bytes, global_table, at);
  if (!image) return std::nullopt;

  Picture picture = MakePicture(width, height);
  if (!picture.HasPixels()) return picture;  // too large to show: measured only
  if (image->width == 0 || image->height == 0) return picture;
  if (std::int64_t{image->width} * image->height > kLargestImageArea) return std::nullopt;
  ImagePainter painter(*image, picture);
  CodeReader codes(SubBlockReader(bytes, image->data_offset));
  LzwDecoder lzw(image->min_code_size);
  if (!lzw.Run(codes, painter)) return std::nullopt;
  return picture;
}
