#include "canvas/picture_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <string>

#include "canvas/decoders/bmp_decoder.h"
#include "canvas/decoders/gif_decoder.h"
#include "canvas/decoders/icon_decoder.h"
#include "canvas/decoders/pcx_decoder.h"
#include "canvas/decoders/png_decoder.h"
#include "tests/picture_fixtures.h"

namespace {

// ---------------------------------------------------------------- format detection

struct DetectionCase {
  const char* name;
  std::string bytes;
  PictureFormat expected;
};

class DetectPictureFormatTest : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(DetectPictureFormatTest, RecognisesTheFirstBytes) {
  const std::string& text = GetParam().bytes;
  const Bytes bytes(text.begin(), text.end());
  EXPECT_EQ(DetectPictureFormat(bytes), GetParam().expected);
}

using std::string_literals::operator""s;

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectPictureFormatTest,
    ::testing::Values(
        DetectionCase{"Bitmap", "BM\x36\0\0\0"s, PictureFormat::kBmp},
        DetectionCase{"Jpeg", "\xFF\xD8\xFF\xE0\0\x10"s, PictureFormat::kJpeg},
        DetectionCase{"Icon", "\0\0\x01\0\x01\0"s, PictureFormat::kIcon},
        DetectionCase{"IconCountInHighByte", "\0\0\x01\0\0\x01"s, PictureFormat::kIcon},
        DetectionCase{"IconWithoutImages", "\0\0\x01\0\0\0"s, PictureFormat::kNone},
        DetectionCase{"Cursor", "\0\0\x02\0\x03\0"s, PictureFormat::kCursor},
        DetectionCase{"CursorWithoutImages", "\0\0\x02\0\0\0"s, PictureFormat::kNone},
        DetectionCase{"DirectoryOfType3", "\0\0\x03\0\x01\0"s, PictureFormat::kNone},
        DetectionCase{"Gif87a", "GIF87a"s, PictureFormat::kGif},
        DetectionCase{"Gif89a", "GIF89a"s, PictureFormat::kGif},
        DetectionCase{"Gif88a", "GIF88a"s, PictureFormat::kNone},
        DetectionCase{"Pcx256Version5", "\x0A\x05\x01\x08\0\0"s, PictureFormat::kPcx256},
        DetectionCase{"Pcx256Version0", "\x0A\x00\x01\x08\0\0"s, PictureFormat::kPcx256},
        DetectionCase{"Pcx256Version6", "\x0A\x06\x01\x08\0\0"s, PictureFormat::kNone},
        DetectionCase{"PcxMonochromeVersion3", "\x0A\x03\x01\x01\0\0"s, PictureFormat::kPcxMonochrome},
        DetectionCase{"PcxMonochromeVersion5", "\x0A\x05\x01\x01\0\0"s, PictureFormat::kNone},
        DetectionCase{"PcxUncompressed", "\x0A\x05\x00\x08\0\0"s, PictureFormat::kNone},
        DetectionCase{"Png", "\x89PNG\r\n\x1A\n"s, PictureFormat::kPng},
        DetectionCase{"PngSignatureCutShort", "\x89PNG\r\n\x1A"s, PictureFormat::kNone},
        DetectionCase{"FiveBytesOfABitmap", "BM\x36\0\0"s, PictureFormat::kNone},
        DetectionCase{"Empty", ""s, PictureFormat::kNone},
        DetectionCase{"Text", "hello, world"s, PictureFormat::kNone}),
    [](const auto& test_info) { return std::string(test_info.param.name); });

// ---------------------------------------------------------------- exact pixels

using Decoder = std::function<std::optional<Picture>(std::span<const std::uint8_t>)>;

struct GoldenCase {
  const char* file;  // under tests/data, next to its .ppm
  Decoder own_decoder;
};

class GoldenPictureTest : public ::testing::TestWithParam<GoldenCase> {};

// Every lossless fixture decodes to exactly the pixels of its dump, through DecodePicture
// and through its format's own decoder alike.
TEST_P(GoldenPictureTest, DecodesToTheExpectedPixels) {
  const std::string file = GetParam().file;
  const Picture expected = ReadPpm(file.substr(0, file.rfind('.')) + ".ppm");
  ASSERT_TRUE(expected.HasPixels()) << "missing dump for " << file;
  const Bytes bytes = FixtureBytes(file);
  ASSERT_FALSE(bytes.empty()) << file;

  for (const auto& [route, picture] : {std::pair{"DecodePicture", DecodePicture(bytes)},
                                       std::pair{"own decoder", GetParam().own_decoder(bytes)}}) {
    ASSERT_TRUE(picture) << route;
    EXPECT_EQ(picture->width, expected.width) << route;
    EXPECT_EQ(picture->height, expected.height) << route;
    ASSERT_EQ(picture->pixels.size(), expected.pixels.size()) << route;
    for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
      ASSERT_EQ(picture->pixels[i], expected.pixels[i])
          << route << " at x " << i % expected.width << ", y " << i / expected.width;
    }
  }
}

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& test_info) {
  std::string name = test_info.param.file;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(
    Bitmaps, GoldenPictureTest,
    ::testing::Values(GoldenCase{"bmp/bits1.bmp", DecodeBmp}, GoldenCase{"bmp/bits4.bmp", DecodeBmp},
                      GoldenCase{"bmp/bits8-16colours.bmp", DecodeBmp},
                      GoldenCase{"bmp/bits8-index-past-table.bmp", DecodeBmp},
                      GoldenCase{"bmp/bits16-555.bmp", DecodeBmp}, GoldenCase{"bmp/bits24.bmp", DecodeBmp},
                      GoldenCase{"bmp/bits24-top-down.bmp", DecodeBmp},
                      GoldenCase{"bmp/bits24-data-offset.bmp", DecodeBmp}, GoldenCase{"bmp/bits32.bmp", DecodeBmp},
                      GoldenCase{"bmp/bitfields16-565.bmp", DecodeBmp},
                      GoldenCase{"bmp/v5-bitfields32.bmp", DecodeBmp}, GoldenCase{"bmp/v4-bits24.bmp", DecodeBmp},
                      GoldenCase{"bmp/core8-short-table.bmp", DecodeBmp}, GoldenCase{"bmp/core24.bmp", DecodeBmp},
                      GoldenCase{"bmp/rle8.bmp", DecodeBmp}, GoldenCase{"bmp/rle4.bmp", DecodeBmp}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    IconsAndCursors, GoldenPictureTest,
    ::testing::Values(GoldenCase{"icon/choice-first-32-wide.ico", DecodeIcon},
                      GoldenCase{"icon/choice-last.ico", DecodeIcon}, GoldenCase{"icon/mask-4bits.ico", DecodeIcon},
                      GoldenCase{"icon/alpha-32bits.ico", DecodeIcon},
                      GoldenCase{"icon/no-alpha-32bits.ico", DecodeIcon},
                      GoldenCase{"icon/png-inside.ico", DecodeIcon}, GoldenCase{"cursor/mono.cur", DecodeIcon}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Gifs, GoldenPictureTest,
    ::testing::Values(GoldenCase{"gif/plain87a.gif", DecodeGif}, GoldenCase{"gif/offset-on-larger-screen.gif", DecodeGif},
                      GoldenCase{"gif/image-past-screen.gif", DecodeGif}, GoldenCase{"gif/transparent.gif", DecodeGif},
                      GoldenCase{"gif/local-table.gif", DecodeGif}, GoldenCase{"gif/interlaced.gif", DecodeGif},
                      GoldenCase{"gif/full-table.gif", DecodeGif}, GoldenCase{"gif/data-ends-early.gif", DecodeGif},
                      GoldenCase{"gif/pillow-interlaced.gif", DecodeGif}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Pcx, GoldenPictureTest,
    ::testing::Values(GoldenCase{"pcx/pillow-256.pcx", DecodePcx}, GoldenCase{"pcx/pillow-rgb.pcx", DecodePcx},
                      GoldenCase{"pcx/mono-v3.pcx", DecodePcx}, GoldenCase{"pcx/runs-across-lines.pcx", DecodePcx}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Pngs, GoldenPictureTest,
    ::testing::Values(GoldenCase{"png/rgba.png", DecodePng}, GoldenCase{"png/rgba-interlaced.png", DecodePng},
                      GoldenCase{"png/palette-2bits-trns.png", DecodePng}, GoldenCase{"png/grey-16bits.png", DecodePng},
                      GoldenCase{"png/grey-1bit.png", DecodePng}),
    CaseName);

// The variants left to the bitmap loader are no picture to the decoder.
TEST(DecodePictureTest, LeavesTheLoaderOnlyBitmapsAlone) {
  for (const char* file : {"bitmap-loader/os2-64-bits24.bmp", "bitmap-loader/bits2.bmp", "bitmap-loader/bits64.bmp",
                           "bitmap-loader/alphabitfields32.bmp", "bitmap-loader/embedded-png.bmp",
                           "bitmap-loader/embedded-jpeg.bmp"}) {
    const Bytes bytes = FixtureBytes(file);
    ASSERT_FALSE(bytes.empty()) << file;
    EXPECT_FALSE(DecodePicture(bytes)) << file;
  }
}

// ---------------------------------------------------------------- sizes at and past the limits

void PutU16(Bytes& bytes, std::size_t at, unsigned value) {
  bytes[at] = value & 0xFF;
  bytes[at + 1] = (value >> 8) & 0xFF;
}
void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = (value >> (8 * i)) & 0xFF;
}

// An uncompressed 24-bit bitmap of the given size whose pixels are all (r, g, b) = (1, 2, 3).
Bytes SolidBitmap(int width, int height) {
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  Bytes bytes(54 + stride * height, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutU32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  PutU32(bytes, 10, 54);
  PutU32(bytes, 14, 40);
  PutU32(bytes, 18, static_cast<std::uint32_t>(width));
  PutU32(bytes, 22, static_cast<std::uint32_t>(height));
  PutU16(bytes, 26, 1);
  PutU16(bytes, 28, 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* at = bytes.data() + 54 + y * stride + x * 3;
      at[0] = 3, at[1] = 2, at[2] = 1;
    }
  return bytes;
}

TEST(DecodePictureTest, DecodesAPictureOfExactlyTheLargestSize) {
  const auto picture = DecodePicture(SolidBitmap(kMaxPictureWidth, kMaxPictureHeight));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 800);
  EXPECT_EQ(picture->height, 600);
  ASSERT_EQ(picture->pixels.size(), 800u * 600u);
  EXPECT_EQ(picture->pixels.front(), PixelFromRgb(1, 2, 3));
  EXPECT_EQ(picture->pixels.back(), PixelFromRgb(1, 2, 3));
}

// A header made to claim a size: each case patches one fixture.
struct OversizeCase {
  const char* name;
  const char* file;
  std::function<void(Bytes&, int width, int height)> claim;
};

class OversizeTest : public ::testing::TestWithParam<std::tuple<OversizeCase, std::pair<int, int>>> {};

// Sizes past the limits are measured, with no pixels allocated.
TEST_P(OversizeTest, IsMeasuredWithoutPixels) {
  const auto& [format, size] = GetParam();
  Bytes bytes = FixtureBytes(format.file);
  ASSERT_FALSE(bytes.empty());
  format.claim(bytes, size.first, size.second);
  const auto picture = DecodePicture(bytes);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, size.first);
  EXPECT_EQ(picture->height, size.second);
  EXPECT_FALSE(picture->HasPixels());
}

// A bitmap's data must be as large as its header says, so that one is built anew.
const OversizeCase kOversizeFormats[] = {
    {"Gif", "gif/plain87a.gif",
     [](Bytes& b, int w, int h) { PutU16(b, 6, static_cast<unsigned>(w)), PutU16(b, 8, static_cast<unsigned>(h)); }},
    {"Pcx", "pcx/pillow-256.pcx",
     [](Bytes& b, int w, int h) {
       PutU16(b, 8, static_cast<unsigned>(w - 1)), PutU16(b, 10, static_cast<unsigned>(h - 1));
       PutU16(b, 66, static_cast<unsigned>(w + w % 2));
     }},
    {"Jpeg", "jpeg/colour-420.jpg",
     [](Bytes& b, int w, int h) {
       for (std::size_t i = 2; i + 8 < b.size(); ++i)
         if (b[i] == 0xFF && b[i + 1] == 0xC0) {  // baseline frame header: height, then width
           b[i + 5] = h >> 8, b[i + 6] = h & 0xFF, b[i + 7] = w >> 8, b[i + 8] = w & 0xFF;
           return;
         }
     }},
    {"Png", "png/rgba.png",
     [](Bytes& b, int w, int h) {
       PutU32(b, 16, __builtin_bswap32(static_cast<std::uint32_t>(w)));
       PutU32(b, 20, __builtin_bswap32(static_cast<std::uint32_t>(h)));
       const auto crc = static_cast<std::uint32_t>(crc32(0, b.data() + 12, 17));  // type and fields
       PutU32(b, 29, __builtin_bswap32(crc));
     }},
    {"Bitmap", "bmp/bits24.bmp",
     [](Bytes& b, int w, int h) { b = SolidBitmap(1, 1), PutU32(b, 18, w), PutU32(b, 22, h), b.resize(54 + (w * 3 + 3) / 4 * 4 * std::size_t(h)); }},
};

std::string OversizeCaseName(const ::testing::TestParamInfo<OversizeTest::ParamType>& test_info) {
  const auto& [format, size] = test_info.param;
  return std::string(format.name) + "_" + std::to_string(size.first) + "x" + std::to_string(size.second);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, OversizeTest,
    ::testing::Combine(::testing::ValuesIn(kOversizeFormats),
                       ::testing::Values(std::pair{801, 1}, std::pair{800, 601}, std::pair{1000, 1000}, std::pair{30000, 20})),
    OversizeCaseName);

}  // namespace
