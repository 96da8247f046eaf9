#include "canvas/decoders/png_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// Bounds on what libpng keeps of ancillary chunks, so that a file of many or huge text
// chunks cannot make it allocate without limit.
constexpr png_uint_32 kMostCachedChunks = 1000;
constexpr png_alloc_size_t kLargestChunk = 8u << 20;

// The ancillary chunks nothing here uses. libpng allocates a chunk's whole stated length
// before reading some of them (sPLT, iCCP, the texts), so a chunk that claims a gigabyte
// in a file of forty bytes would cost a gigabyte; skipped chunks are read through a small
// buffer instead. tRNS is kept: it says which colours are transparent.
constexpr png_byte kUnusedChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0"
                                     "sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
constexpr int kUnusedChunkCount = 17;

struct MemoryReader {
  std::span<const std::uint8_t> data;
  std::size_t next = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->data.size() - reader->next) png_error(png, "cut short");
  std::memcpy(out, reader->data.data() + reader->next, count);
  reader->next += count;
}

[[noreturn]] void ReturnOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Owns libpng's read and info structs on every way out, also after an error jumped back.
struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
  MemoryReader source;

  explicit PngReader(std::span<const std::uint8_t> data) : source{data} {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ReturnOnError, IgnoreWarning);
    if (png) info = png_create_info_struct(png);
  }
  ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
};

// Any format to 8-bit blue, green, red, alpha in memory order: 0xAARRGGBB as a value.
void AskForBgra(png_structp png, png_infop info) {
  const int colour_type = png_get_color_type(png, info);
  png_set_expand(png);  // palettes and low depths to 8 bits, a transparent colour to alpha
  png_set_scale_16(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // only where no alpha comes from the file
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

void LayOverWhite(std::vector<std::uint32_t>& pixels) {
  for (std::uint32_t& pixel : pixels) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha != 0xFF) pixel = PixelOverWhite(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF, alpha);
  }
}

// The steps that may jump back on an error. Everything they touch lives in the caller's
// frame, so the jump skips no destructor.
bool Decode(PngReader& reader, Picture& picture, std::vector<png_bytep>& rows) {
  png_structp png = reader.png;
  png_infop info = reader.info;
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &reader.source, ReadFromMemory);
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);  // large ones are measured, not refused
  png_set_chunk_cache_max(png, kMostCachedChunks);
  png_set_chunk_malloc_max(png, kLargestChunk);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks, kUnusedChunkCount);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  picture = MakePicture(static_cast<int>(width), static_cast<int>(height));
  if (!picture.HasPixels()) return true;  // too large to show: measured only

  AskForBgra(png, info);
  if (png_get_rowbytes(png, info) != std::size_t{width} * 4) return false;
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = reinterpret_cast<png_bytep>(picture.pixels.data() + std::size_t{y} * width);
  png_read_image(png, rows.data());
  return true;
}

}  // namespace

bool HasPngSignature(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= sizeof kSignature && std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

std::optional<Picture> DecodePng(std::span<const std::uint8_t> bytes) {
  if (!HasPngSignature(bytes)) return std::nullopt;
  PngReader reader(bytes);
  if (!reader.png || !reader.info) return std::nullopt;
  Picture picture;
  std::vector<png_bytep> rows;
  if (!Decode(reader, picture, rows)) return std::nullopt;
  if (picture.HasPixels()) LayOverWhite(picture.pixels);
  return picture;
}
