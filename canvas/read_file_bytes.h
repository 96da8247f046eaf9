#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The largest file taken for a picture. A picture of at most 800 × 600 pixels takes a few
// megabytes in any format the program reads (a GIF of many frames, of which only the first
// is shown, takes more); reading a file of gigabytes whole, as the program would, freezes
// the window for a minute and can exhaust the memory.
inline constexpr std::uint64_t kLargestPictureFile = std::uint64_t{64} << 20;

// The whole content of the file at `path`, opened for reading only. Empty when the
// path is empty, names no regular file, is larger than kLargestPictureFile, or the file
// cannot be opened or read.
Bytes ReadFileBytes(const std::string& path);

// Whether the file at `path` can be read now and holds exactly `bytes`: read and compared
// piece by piece, without a copy of the whole file.
bool FileHoldsBytes(const std::string& path, std::span<const std::uint8_t> bytes);
