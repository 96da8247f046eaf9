#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The whole content of the file at `path`, opened for reading only. Empty when the
// path is empty, names no regular file, or the file cannot be opened or read.
Bytes ReadFileBytes(const std::string& path);
