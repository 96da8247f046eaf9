#include "canvas/picture_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/picture_fixtures.h"

namespace {

namespace fs = std::filesystem;

class PictureFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("tessarin-size-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  fs::path folder_;
};

struct SizeCase {
  const char* file;
  int width;
  int height;
};

class PictureFileSizeTest : public PictureFileTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PictureFileSizeTest, AnswersThePictureSize) {
  // Through a copy with a misleading name: the bytes decide, not the extension.
  const std::string path = Write("picture.jpg", FixtureBytes(GetParam().file));
  EXPECT_EQ(PictureWidth(path), GetParam().width);
  EXPECT_EQ(PictureHeight(path), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureFileSizeTest,
                         ::testing::Values(SizeCase{"bmp/bits24.bmp", 11, 6}, SizeCase{"jpeg/colour-420.jpg", 37, 23},
                                           SizeCase{"icon/mask-4bits.ico", 20, 9}, SizeCase{"cursor/mono.cur", 16, 16},
                                           SizeCase{"gif/offset-on-larger-screen.gif", 20, 12},
                                           SizeCase{"pcx/pillow-256.pcx", 13, 7}, SizeCase{"pcx/mono-v3.pcx", 21, 5},
                                           SizeCase{"png/rgba.png", 9, 5},
                                           // only the bitmap loader reads these
                                           SizeCase{"bitmap-loader/os2-64-bits24.bmp", 11, 6},
                                           SizeCase{"bitmap-loader/embedded-png.bmp", 21, 9}),
                         [](const auto& test_info) {
                           std::string name = test_info.param.file;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST_F(PictureFileTest, AnswersZeroWhenThereIsNoPicture) {
  const std::string text = "just some words, no picture\n";
  for (const std::string& path : {Write("notes.txt", Bytes(text.begin(), text.end())), Write("empty.jpg", {}),
                                  (folder_ / "missing.jpg").string(), folder_.string(), std::string()}) {
    EXPECT_EQ(PictureWidth(path), 0) << path;
    EXPECT_EQ(PictureHeight(path), 0) << path;
  }
}

// The remembered answer never outlives the bytes it came from: a file rewritten with the
// same length under the same path is measured anew, and so is the first file again.
TEST_F(PictureFileTest, AnswersAnewWhenTheBytesChange) {
  Bytes first = FixtureBytes("gif/plain87a.gif");
  ASSERT_GT(first.size(), 10u);
  Bytes second = first;
  second[6] = 40;  // the screen width, 13 before
  second[8] = 30;  // the screen height, 7 before
  const std::string path = Write("changing.gif", first);
  EXPECT_EQ(PictureWidth(path), 13);
  EXPECT_EQ(PictureWidth(path), 13);
  Write("changing.gif", second);
  EXPECT_EQ(PictureWidth(path), 40);
  EXPECT_EQ(PictureHeight(path), 30);
  Write("changing.gif", first);
  EXPECT_EQ(PictureHeight(path), 7);
  fs::remove(path);
  EXPECT_EQ(PictureWidth(path), 0);
}

TEST_F(PictureFileTest, MeasuresAPictureTooLargeToShow) {
  Bytes bytes = FixtureBytes("gif/plain87a.gif");
  ASSERT_GT(bytes.size(), 10u);
  bytes[6] = 0x21, bytes[7] = 0x03;  // 801 wide
  bytes[8] = 0x01, bytes[9] = 0x00;  // 1 high
  const std::string path = Write("wide.gif", bytes);
  EXPECT_EQ(PictureWidth(path), 801);
  EXPECT_EQ(PictureHeight(path), 1);
}

}  // namespace
