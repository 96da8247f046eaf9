#include <cstddef>
#include <cstdint>
#include <span>

#include "canvas/picture_decoder.h"
#include "fuzz/sound_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RequireSound(DecodePicture(std::span(data, size)));
  return 0;
}
