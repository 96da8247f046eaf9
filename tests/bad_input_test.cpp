// Damaged, cut-short and corrupted files: every decoder gives a picture or none, never a
// crash or a picture whose pixels disagree with its size. Run under the sanitizer build
// these also catch every read past the data.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>

#include "canvas/bitmap_loader.h"
#include "canvas/decoders/bmp_decoder.h"
#include "canvas/decoders/gif_decoder.h"
#include "canvas/decoders/icon_decoder.h"
#include "canvas/decoders/jpeg_decoder.h"
#include "canvas/decoders/pcx_decoder.h"
#include "canvas/decoders/png_decoder.h"
#include "canvas/picture_decoder.h"
#include "tests/picture_fixtures.h"

namespace {

namespace fs = std::filesystem;

// A picture is sound when its size is positive and its pixels are exactly width × height
// opaque values within the limits, and none past them.
::testing::AssertionResult IsSound(const std::optional<Picture>& picture) {
  if (!picture) return ::testing::AssertionSuccess();
  if (picture->width <= 0 || picture->height <= 0)
    return ::testing::AssertionFailure() << "size " << picture->width << " x " << picture->height;
  const bool within = IsWithinPictureLimits(picture->width, picture->height);
  const std::size_t expected = within ? std::size_t(picture->width) * std::size_t(picture->height) : 0;
  if (picture->pixels.size() != expected)
    return ::testing::AssertionFailure() << picture->pixels.size() << " pixels for " << picture->width << " x "
                                         << picture->height;
  const auto translucent =
      std::find_if(picture->pixels.begin(), picture->pixels.end(), [](std::uint32_t p) { return p >> 24 != 0xFF; });
  if (translucent != picture->pixels.end()) return ::testing::AssertionFailure() << "a pixel is not opaque";
  return ::testing::AssertionSuccess();
}

std::vector<std::string> FilesUnder(const std::string& folder) {
  std::vector<std::string> files;
  const fs::path root = FixturePath(folder);
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file() && entry.path().extension() != ".ppm")
      files.push_back(fs::relative(entry.path(), FixturePath("")).string());
  std::sort(files.begin(), files.end());
  return files;
}

std::string NameOf(const std::string& file) {
  std::string name = file;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// ---------------------------------------------------------------- one fault each

class DamagedFileTest : public ::testing::TestWithParam<std::string> {};

// Each file is wrong in the one way its name says (see make_fixtures.py).
TEST_P(DamagedFileTest, GivesNoPicture) {
  const Bytes bytes = FixtureBytes(GetParam());
  ASSERT_FALSE(bytes.empty());
  EXPECT_FALSE(DecodePicture(bytes));
  EXPECT_FALSE(LoadBitmapSize(bytes)) << "the bitmap loader validates as much";
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedFileTest, ::testing::ValuesIn(FilesUnder("damaged")),
                         [](const auto& test_info) { return NameOf(test_info.param); });

// ---------------------------------------------------------------- every good file, damaged

class GoodFileDamagedTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoodFileDamagedTest, EveryCutGivesASoundPictureOrNone) {
  const Bytes whole = FixtureBytes(GetParam());
  ASSERT_FALSE(whole.empty());
  const std::size_t step = std::max<std::size_t>(1, whole.size() / 300);
  for (std::size_t keep = 0; keep < whole.size(); keep += step) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
    ASSERT_TRUE(IsSound(DecodePicture(cut))) << "cut at " << keep;
    (void)LoadBitmapSize(cut);
  }
}

// Bytes of the headers and the first data overwritten with random values: sizes, counts,
// offsets and codes that lie.
TEST_P(GoodFileDamagedTest, CorruptedBytesGiveASoundPictureOrNone) {
  const Bytes whole = FixtureBytes(GetParam());
  ASSERT_FALSE(whole.empty());
  std::mt19937 random(static_cast<unsigned>(whole.size()));
  const std::size_t reach = std::min<std::size_t>(whole.size(), 256);
  for (int round = 0; round < 300; ++round) {
    Bytes damaged = whole;
    for (int i = 0; i < 1 + round % 4; ++i)
      damaged[random() % reach] = static_cast<std::uint8_t>(round % 3 == 0 ? 0xFF : random());
    ASSERT_TRUE(IsSound(DecodePicture(damaged))) << "round " << round;
    (void)LoadBitmapSize(damaged);
  }
}

std::vector<std::string> GoodFiles() {
  std::vector<std::string> files;
  for (const char* folder : {"bmp", "bitmap-loader", "jpeg", "icon", "cursor", "gif", "pcx", "png"})
    for (const std::string& file : FilesUnder(folder)) files.push_back(file);
  return files;
}

INSTANTIATE_TEST_SUITE_P(Files, GoodFileDamagedTest, ::testing::ValuesIn(GoodFiles()),
                         [](const auto& test_info) { return NameOf(test_info.param); });

// ---------------------------------------------------------------- fuzzing's finds

// Inputs that once crashed, hung or allocated too much under a fuzz target, kept under
// fuzz-regressions/<target>/ and replayed through that target's function.
const std::map<std::string, std::function<::testing::AssertionResult(const Bytes&)>>& FuzzTargets() {
  static const std::map<std::string, std::function<::testing::AssertionResult(const Bytes&)>> targets = {
      {"bmp", [](const Bytes& b) { return IsSound(DecodeBmp(b)); }},
      {"jpeg", [](const Bytes& b) { return IsSound(DecodeJpeg(b)); }},
      {"icon", [](const Bytes& b) { return IsSound(DecodeIcon(b)); }},
      {"gif", [](const Bytes& b) { return IsSound(DecodeGif(b)); }},
      {"pcx", [](const Bytes& b) { return IsSound(DecodePcx(b)); }},
      {"png", [](const Bytes& b) { return IsSound(DecodePng(b)); }},
      {"decode_picture", [](const Bytes& b) { return IsSound(DecodePicture(b)); }},
      {"bitmap_loader",
       [](const Bytes& b) {
         const auto size = LoadBitmapSize(b);
         if (size && (size->width <= 0 || size->height <= 0)) return ::testing::AssertionFailure() << "empty size";
         return ::testing::AssertionSuccess();
       }},
  };
  return targets;
}

class FuzzRegressionTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzRegressionTest, StaysSound) {
  const fs::path file = GetParam();
  const std::string target = file.parent_path().filename().string();
  const auto found = FuzzTargets().find(target);
  ASSERT_NE(found, FuzzTargets().end()) << "no fuzz target named " << target;
  EXPECT_TRUE(found->second(FixtureBytes(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Files, FuzzRegressionTest, ::testing::ValuesIn(FilesUnder("fuzz-regressions")),
                         [](const auto& test_info) { return NameOf(test_info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzRegressionTest);

}  // namespace
