#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A cell with no fill of its own.
inline constexpr std::uint32_t kNoFill = 0xFFFFFFFFu;

// What a worksheet holds when it is saved: the fill colour of every cell in the used
// rectangle and the size of every row and column. The fills are borrowed from the sheet.
struct SheetContent {
  std::string name = "Sheet1";
  int rows = 0;     // rows 1..rows
  int columns = 0;  // columns 1..columns
  // rows × columns fill colours, row by row from row 1: 0x00BBGGRR, or kNoFill.
  const std::uint32_t* fills = nullptr;
  std::optional<double> rowHeight;    // points, for every row; none: the default height
  std::optional<double> columnWidth;  // characters, for every column; none: the default
};
