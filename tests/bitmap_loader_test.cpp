#include "canvas/bitmap_loader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "canvas/picture_decoder.h"
#include "tests/picture_fixtures.h"

namespace {

struct LoaderCase {
  const char* file;
  int width;
  int height;
};

class BitmapLoaderTest : public ::testing::TestWithParam<LoaderCase> {};

// The variants the decoder leaves alone are measured by the loader.
TEST_P(BitmapLoaderTest, MeasuresTheVariantsTheDecoderDoesNotShow) {
  const Bytes bytes = FixtureBytes(GetParam().file);
  ASSERT_FALSE(bytes.empty());
  const auto size = LoadBitmapSize(bytes);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, GetParam().width);
  EXPECT_EQ(size->height, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Variants, BitmapLoaderTest,
                         ::testing::Values(LoaderCase{"bitmap-loader/os2-64-bits24.bmp", 11, 6},
                                           LoaderCase{"bitmap-loader/bits2.bmp", 15, 3},
                                           LoaderCase{"bitmap-loader/bits64.bmp", 5, 4},
                                           LoaderCase{"bitmap-loader/alphabitfields32.bmp", 6, 3},
                                           LoaderCase{"bitmap-loader/embedded-png.bmp", 21, 9},
                                           LoaderCase{"bitmap-loader/embedded-jpeg.bmp", 17, 12}),
                         [](const auto& test_info) {
                           std::string name = std::filesystem::path(test_info.param.file).stem().string();
                           std::erase(name, '-');
                           return name;
                         });

// Where both read a file, the loader and the decoder agree on its size.
TEST(BitmapLoaderAgreementTest, MeasuresWhatTheDecoderShowsAtTheSameSize) {
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(FixturePath("bmp"))) {
    if (entry.path().extension() != ".bmp") continue;
    const Bytes bytes = FixtureBytes("bmp/" + entry.path().filename().string());
    const auto picture = DecodePicture(bytes);
    const auto size = LoadBitmapSize(bytes);
    ASSERT_TRUE(picture && size) << entry.path();
    EXPECT_EQ(size->width, picture->width) << entry.path();
    EXPECT_EQ(size->height, picture->height) << entry.path();
    ++compared;
  }
  EXPECT_GE(compared, 10);
}

// An embedded picture must be one, of the size the header states.
TEST(BitmapLoaderAgreementTest, RefusesAnEmbeddedPictureOfAnotherSize) {
  Bytes bytes = FixtureBytes("bitmap-loader/embedded-png.bmp");
  ASSERT_GT(bytes.size(), 30u);
  bytes[18] = 22;  // the header's width: the PNG inside is 21 wide
  EXPECT_FALSE(LoadBitmapSize(bytes));
  Bytes jpeg = FixtureBytes("bitmap-loader/embedded-jpeg.bmp");
  jpeg.resize(60);  // the JPEG stream cut to its first bytes: no frame header
  EXPECT_FALSE(LoadBitmapSize(jpeg));
}

}  // namespace
