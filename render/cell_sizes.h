#pragma once

#include <array>

// The five cell sizes a workbook can be made with. The text is the row height in points,
// passed to the spreadsheet as text; the value divided by 100 is the column width in
// characters. The window's cell-size list offers them in this order.
struct CellSize {
  const char* text;
  int value;
};

inline constexpr std::array<CellSize, 5> kCellSizes{{
    {"1", 8},
    {"2", 15},
    {"3", 23},
    {"4", 31},
    {"5", 38},
}};
