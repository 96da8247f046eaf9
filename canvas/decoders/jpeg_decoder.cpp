#include "canvas/decoders/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared
#include <vector>

#include <jpeglib.h>

namespace {

constexpr std::size_t kPieceSize = 4096;

// Progressive files may hold any number of scans, each a full pass over the picture;
// real encoders write about a dozen. More than this is taken as a damaged file rather
// than decoded for ever.
constexpr int kMostScans = 500;

// libjpeg calls these through plain function pointers, so they take the library's
// structs, which sit first in ours.
struct PieceSource {
  jpeg_source_mgr manager{};
  std::span<const std::uint8_t> data;
  std::size_t next = 0;
};

constexpr JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr decoder) {
  auto* source = reinterpret_cast<PieceSource*>(decoder->src);
  if (source->next < source->data.size()) {
    const std::size_t piece = std::min(kPieceSize, source->data.size() - source->next);
    source->manager.next_input_byte = source->data.data() + source->next;
    source->manager.bytes_in_buffer = piece;
    source->next += piece;
  } else {
    // The data ran out before its end: supply the marker so that decoding finishes.
    source->manager.next_input_byte = kEndOfImage;
    source->manager.bytes_in_buffer = sizeof kEndOfImage;
  }
  return TRUE;
}

void SkipInputData(j_decompress_ptr decoder, long count) {
  auto* source = reinterpret_cast<PieceSource*>(decoder->src);
  if (count <= 0) return;
  while (static_cast<std::size_t>(count) > source->manager.bytes_in_buffer) {
    count -= static_cast<long>(source->manager.bytes_in_buffer);
    FillInputBuffer(decoder);
  }
  source->manager.next_input_byte += count;
  source->manager.bytes_in_buffer -= static_cast<std::size_t>(count);
}

struct QuietErrors {
  jpeg_error_mgr manager{};
  std::jmp_buf return_point;
};

[[noreturn]] void ReturnOnFatalError(j_common_ptr decoder) {
  std::longjmp(reinterpret_cast<QuietErrors*>(decoder->err)->return_point, 1);
}
void PrintNothing(j_common_ptr) {}
void IgnoreWarning(j_common_ptr, int) {}

void StopEndlessScans(j_common_ptr common) {
  auto* decoder = reinterpret_cast<j_decompress_ptr>(common);
  if (decoder->input_scan_number > kMostScans) ReturnOnFatalError(common);
}

// Owns the libjpeg decompression object: destroyed on every way out, also after a
// fatal error has jumped back.
struct Decompressor {
  jpeg_decompress_struct info{};
  QuietErrors errors;
  PieceSource source;
  jpeg_progress_mgr progress{};

  explicit Decompressor(std::span<const std::uint8_t> data) {
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ReturnOnFatalError;
    errors.manager.output_message = PrintNothing;
    errors.manager.emit_message = IgnoreWarning;
    source.data = data;
    source.manager.init_source = InitSource;
    source.manager.fill_input_buffer = FillInputBuffer;
    source.manager.skip_input_data = SkipInputData;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = TermSource;
    progress.progress_monitor = StopEndlessScans;
  }
  ~Decompressor() { jpeg_destroy_decompress(&info); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
};

std::uint32_t ChannelFromCmyk(unsigned ink, unsigned black, bool inverted) {
  if (!inverted) {
    ink = 255 - ink;
    black = 255 - black;
  }
  return (ink * black + 127) / 255;
}

// Converts one output row of libjpeg into 0xFFRRGGBB pixels.
void ConvertRow(const jpeg_decompress_struct& info, const JSAMPLE* row, std::uint32_t* out) {
  const int components = info.output_components;
  for (JDIMENSION x = 0; x < info.output_width; ++x) {
    const JSAMPLE* at = row + static_cast<std::size_t>(x) * components;
    if (info.out_color_space == JCS_CMYK) {
      const bool inverted = info.saw_Adobe_marker;
      out[x] = PixelFromRgb(ChannelFromCmyk(at[0], at[3], inverted), ChannelFromCmyk(at[1], at[3], inverted),
                            ChannelFromCmyk(at[2], at[3], inverted));
    } else {
      out[x] = PixelFromRgb(at[0], at[0], at[0]);
    }
  }
}

void ChooseOutput(jpeg_decompress_struct& info) {
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE: info.out_color_space = JCS_GRAYSCALE; break;
    // BGRX writes each pixel as the 0xFFRRGGBB value with the same colours as JCS_RGB.
    case JCS_YCbCr: case JCS_RGB: info.out_color_space = JCS_EXT_BGRX; break;
    case JCS_CMYK: case JCS_YCCK: info.out_color_space = JCS_CMYK; break;
    default: break;  // the components as stored; the first one is shown
  }
}

// The steps that may jump back on a fatal error. Everything they touch lives in the
// caller's frame, so the jump skips no destructor.
bool Decode(Decompressor& jpeg, Picture& picture, std::vector<JSAMPLE>& row) {
  jpeg_decompress_struct& info = jpeg.info;
  if (setjmp(jpeg.errors.return_point)) return false;
  jpeg_create_decompress(&info);
  info.src = &jpeg.source.manager;
  info.progress = &jpeg.progress;
  jpeg_read_header(&info, TRUE);
  if (info.image_width == 0 || info.image_height == 0) return false;
  picture = MakePicture(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
  if (!picture.HasPixels()) return true;  // too large to show: measured only

  ChooseOutput(info);
  jpeg_start_decompress(&info);
  if (info.output_width != info.image_width || info.output_height != info.image_height) return false;
  const bool direct = info.out_color_space == JCS_EXT_BGRX;
  if (!direct) row.resize(static_cast<std::size_t>(info.output_width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    std::uint32_t* out = picture.pixels.data() + static_cast<std::size_t>(info.output_scanline) * picture.width;
    JSAMPROW target = direct ? reinterpret_cast<JSAMPROW>(out) : row.data();
    if (jpeg_read_scanlines(&info, &target, 1) != 1) return false;
    if (direct) {
      for (int x = 0; x < picture.width; ++x) out[x] |= 0xFF000000u;  // the X byte is not ours to trust
    } else {
      ConvertRow(info, row.data(), out);
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
  Decompressor jpeg(bytes);
  Picture picture;
  std::vector<JSAMPLE> row;
  if (!Decode(jpeg, picture, row)) return std::nullopt;
  return picture;
}
