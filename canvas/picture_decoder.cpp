#include "canvas/picture_decoder.h"

#include <cstring>

#include "canvas/decoders/bmp_decoder.h"
#include "canvas/decoders/gif_decoder.h"
#include "canvas/decoders/icon_decoder.h"
#include "canvas/decoders/jpeg_decoder.h"
#include "canvas/decoders/pcx_decoder.h"
#include "canvas/decoders/png_decoder.h"

namespace {

bool IsIconDirectory(std::span<const std::uint8_t> head, std::uint8_t type) {
  const bool has_images = head[4] != 0 || head[5] != 0;
  return head[0] == 0 && head[1] == 0 && head[2] == type && head[3] == 0 && has_images;
}

}  // namespace

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 6) return PictureFormat::kNone;
  const auto head = bytes.first(6);
  if (head[0] == 0x42 && head[1] == 0x4D) return PictureFormat::kBmp;
  if (head[0] == 0xFF && head[1] == 0xD8) return PictureFormat::kJpeg;
  if (IsIconDirectory(head, 1)) return PictureFormat::kIcon;
  if (IsIconDirectory(head, 2)) return PictureFormat::kCursor;
  if (std::memcmp(head.data(), "GIF87a", 6) == 0 || std::memcmp(head.data(), "GIF89a", 6) == 0)
    return PictureFormat::kGif;
  if (head[0] == 0x0A && head[1] <= 5 && head[2] == 0x01 && head[3] == 0x08) return PictureFormat::kPcx256;
  if (head[0] == 0x0A && head[1] == 0x03 && head[2] == 0x01 && head[3] == 0x01)
    return PictureFormat::kPcxMonochrome;
  if (HasPngSignature(bytes)) return PictureFormat::kPng;
  return PictureFormat::kNone;
}

std::optional<Picture> DecodePicture(std::span<const std::uint8_t> bytes) {
  switch (DetectPictureFormat(bytes)) {
    case PictureFormat::kBmp: return DecodeBmp(bytes);
    case PictureFormat::kJpeg: return DecodeJpeg(bytes);
    case PictureFormat::kIcon:
    case PictureFormat::kCursor: return DecodeIcon(bytes);
    case PictureFormat::kGif: return DecodeGif(bytes);
    case PictureFormat::kPcx256:
    case PictureFormat::kPcxMonochrome: return DecodePcx(bytes);
    case PictureFormat::kPng: return DecodePng(bytes);
    case PictureFormat::kNone: break;
  }
  return std::nullopt;
}
