#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// One part of a package, deflated whole and ready to be stored in a zip container.
struct DeflatedPart {
  std::string name;  // inside the container, e.g. "xl/styles.xml"
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;          // of the deflated data
  std::size_t originalSize = 0;  // of the content
  std::uint32_t crc32 = 0;       // of the content
};

// Deflates `content` in one call (libdeflate; `level` 1 fastest to 12 smallest). Touches no
// shared state, so parts may be deflated on several threads at once.
DeflatedPart DeflatePart(std::string name, std::string_view content, int level);
