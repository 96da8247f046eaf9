#include "canvas/decoders/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "canvas/picture_decoder.h"
#include "tests/picture_fixtures.h"

namespace {

// libjpeg's own plain decode of a whole, valid file: its default output (RGB for colour,
// one grey sample for grey) turned into 0xFFRRGGBB.
Picture PlainLibjpegDecode(const Bytes& bytes) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  Picture picture{static_cast<int>(info.output_width), static_cast<int>(info.output_height), {}};
  std::vector<JSAMPLE> row(static_cast<std::size_t>(info.output_width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (JDIMENSION x = 0; x < info.output_width; ++x) {
      const JSAMPLE* at = row.data() + x * info.output_components;
      picture.pixels.push_back(info.output_components == 1 ? PixelFromRgb(at[0], at[0], at[0])
                                                           : PixelFromRgb(at[0], at[1], at[2]));
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return picture;
}

class JpegAgainstLibjpegTest : public ::testing::TestWithParam<const char*> {};

TEST_P(JpegAgainstLibjpegTest, GivesLibjpegsOwnColours) {
  const Bytes bytes = FixtureBytes(GetParam());
  ASSERT_FALSE(bytes.empty());
  const Picture expected = PlainLibjpegDecode(bytes);
  const auto picture = DecodePicture(bytes);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, expected.width);
  EXPECT_EQ(picture->height, expected.height);
  EXPECT_EQ(picture->pixels, expected.pixels);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, JpegAgainstLibjpegTest,
                         ::testing::Values("jpeg/colour-420.jpg", "jpeg/colour-444.jpg", "jpeg/progressive.jpg",
                                           "jpeg/grey.jpg"),
                         [](const auto& test_info) {
                           std::string name = std::string(test_info.param).substr(5);
                           name = name.substr(0, name.find('.'));
                           std::erase(name, '-');
                           return name;
                         });

TEST(JpegDecoderTest, GreyPixelsHaveEqualRedGreenAndBlue) {
  const auto picture = DecodeJpeg(FixtureBytes("jpeg/grey.jpg"));
  ASSERT_TRUE(picture && picture->HasPixels());
  for (std::uint32_t pixel : picture->pixels) {
    EXPECT_EQ(pixel >> 16 & 0xFF, pixel & 0xFF);
    EXPECT_EQ(pixel >> 8 & 0xFF, pixel & 0xFF);
  }
}

// A file cut short still has its full size; when the cut leaves the first rows' data
// whole, they decode as in the whole file.
TEST(JpegDecoderTest, FileCutShortKeepsItsFullSize) {
  const Bytes whole = FixtureBytes("jpeg/colour-444.jpg");
  const Picture expected = PlainLibjpegDecode(whole);
  const std::vector<std::uint32_t> expected_first_row(expected.pixels.begin(), expected.pixels.begin() + expected.width);
  for (std::size_t keep : {whole.size() - 2, whole.size() - 100, whole.size() / 2}) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
    const auto picture = DecodeJpeg(cut);
    ASSERT_TRUE(picture) << keep;
    EXPECT_EQ(picture->width, expected.width);
    EXPECT_EQ(picture->height, expected.height);
    ASSERT_EQ(picture->pixels.size(), expected.pixels.size());
    if (keep == whole.size() - 2) {
      EXPECT_EQ(picture->pixels, expected.pixels) << "only the end marker was missing";
    } else if (keep == whole.size() - 100) {
      EXPECT_EQ(std::vector<std::uint32_t>(picture->pixels.begin(), picture->pixels.begin() + expected.width),
                expected_first_row);
    }
  }
}

TEST(JpegDecoderTest, HeaderOnlyOrDamagedDataIsNoPicture) {
  const Bytes whole = FixtureBytes("jpeg/colour-420.jpg");
  EXPECT_FALSE(DecodeJpeg(Bytes(whole.begin(), whole.begin() + 2))) << "the start marker only";
  EXPECT_FALSE(DecodeJpeg(Bytes(whole.begin(), whole.begin() + 40))) << "cut before the frame header";
  Bytes twelve_bits = whole;
  for (std::size_t i = 2; i + 4 < twelve_bits.size(); ++i)
    if (twelve_bits[i] == 0xFF && twelve_bits[i + 1] == 0xC0) twelve_bits[i + 4] = 12;  // sample precision
  EXPECT_FALSE(DecodeJpeg(twelve_bits)) << "a precision this libjpeg does not decode";
}

// Pillow writes Adobe's inverted CMYK: the quarters must come out as the inks they hold
// (cyan, magenta, yellow, half black), not as their inverses.
TEST(JpegDecoderTest, CmykShowsTheColoursOfItsInks) {
  const auto picture = DecodeJpeg(FixtureBytes("jpeg/cmyk.jpg"));
  ASSERT_TRUE(picture && picture->HasPixels());
  ASSERT_EQ(picture->width, 16);
  struct Quarter {
    int x, y;
    int r, g, b;
  };
  for (const Quarter& q : {Quarter{3, 3, 0, 255, 255}, Quarter{12, 3, 255, 0, 255}, Quarter{3, 12, 255, 255, 0},
                           Quarter{12, 12, 127, 127, 127}}) {
    const std::uint32_t pixel = picture->pixels[q.y * 16 + q.x];
    EXPECT_NEAR(static_cast<int>(pixel >> 16 & 0xFF), q.r, 6) << q.x << "," << q.y;
    EXPECT_NEAR(static_cast<int>(pixel >> 8 & 0xFF), q.g, 6) << q.x << "," << q.y;
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), q.b, 6) << q.x << "," << q.y;
  }
}

}  // namespace
