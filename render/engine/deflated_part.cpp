#include "render/engine/deflated_part.h"

#include <libdeflate.h>

#include <new>
#include <utility>

namespace {

struct FreeCompressor {
  void operator()(libdeflate_compressor* compressor) const {
    libdeflate_free_compressor(compressor);
  }
};

}  // namespace

DeflatedPart DeflatePart(std::string name, std::string_view content, int level) {
  DeflatedPart part;
  part.name = std::move(name);
  part.originalSize = content.size();
  part.crc32 = libdeflate_crc32(0, content.data(), content.size());
  const std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor(
      libdeflate_alloc_compressor(level));
  if (!compressor) throw std::bad_alloc();
  const std::size_t bound = libdeflate_deflate_compress_bound(compressor.get(), content.size());
  part.data = std::make_unique_for_overwrite<std::uint8_t[]>(bound);
  // The bound always suffices, so compression cannot run out of room.
  part.size = libdeflate_deflate_compress(compressor.get(), content.data(), content.size(),
                                          part.data.get(), bound);
  return part;
}
