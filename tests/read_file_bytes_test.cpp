#include "canvas/read_file_bytes.h"

#include <gtest/gtest.h>

#include "tests/support/acting_as_ordinary_user.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ReadFileBytesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("tessarin-read-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    fs::permissions(folder_, fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_ / "locked", fs::perms::owner_all, ignored);
    fs::remove_all(folder_, ignored);
  }
  std::string Write(const std::string& name, const std::string& content) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  fs::path folder_;
};

TEST_F(ReadFileBytesTest, ReadsTheWholeFileIncludingZeroBytes) {
  const std::string content("GIF89a\0\x01\xff tail", 15);
  EXPECT_EQ(ReadFileBytes(Write("a.bin", content)), Bytes(content.begin(), content.end()));
}

TEST_F(ReadFileBytesTest, GivesNothingForWhatCannotBeRead) {
  EXPECT_TRUE(ReadFileBytes("").empty());
  EXPECT_TRUE(ReadFileBytes((folder_ / "missing").string()).empty());
  EXPECT_TRUE(ReadFileBytes(folder_.string()).empty()) << "a directory";
  EXPECT_TRUE(ReadFileBytes(Write("empty", "")).empty());
  const std::string fifo = (folder_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_TRUE(ReadFileBytes(fifo).empty()) << "a pipe must not block";
}

TEST_F(ReadFileBytesTest, GivesNothingForAFileWithoutReadPermission) {
  const std::string path = Write("locked", "secret");
  fs::permissions(path, fs::perms::none);
  ActingAsOrdinaryUser nobody;
  EXPECT_TRUE(ReadFileBytes(path).empty());
}

}  // namespace

namespace {

TEST_F(ReadFileBytesTest, FileHoldsBytesOnlyForExactlyTheSameContent) {
  Bytes big(200000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  const std::string path = Write("big.bin", std::string(big.begin(), big.end()));
  EXPECT_TRUE(FileHoldsBytes(path, big));

  Bytes changedLate = big;
  changedLate[150000] ^= 1;  // past the first pieces read
  EXPECT_FALSE(FileHoldsBytes(path, changedLate));
  EXPECT_FALSE(FileHoldsBytes(path, Bytes(big.begin(), big.end() - 1)));
  Bytes longer = big;
  longer.push_back(0);
  EXPECT_FALSE(FileHoldsBytes(path, longer));

  EXPECT_TRUE(FileHoldsBytes(Write("empty", ""), {}));
  EXPECT_FALSE(FileHoldsBytes((folder_ / "missing").string(), {}));
  EXPECT_FALSE(FileHoldsBytes(folder_.string(), {})) << "a directory";
}

}  // namespace
