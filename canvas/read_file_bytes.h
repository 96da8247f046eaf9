#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The whole content of the file at `path`, opened for reading only. Empty when the
// path is empty, names no regular file, or the file cannot be opened or read.
Bytes ReadFileBytes(const std::string& path);

// Whether the file at `path` can be read now and holds exactly `bytes`: read and compared
// piece by piece, without a copy of the whole file.
bool FileHoldsBytes(const std::string& path, std::span<const std::uint8_t> bytes);
