#pragma once

#include <optional>
#include <string_view>

// The sheet's size: columns A..XFD, rows 1..1048576.
inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;

// A rectangle of cells, 1-based and inclusive, first <= last on both axes.
struct CellRect {
  int firstRow = 1;
  int firstColumn = 1;
  int lastRow = 1;
  int lastColumn = 1;

  bool SpansAllRows() const { return firstRow == 1 && lastRow == kSheetRows; }
  bool SpansAllColumns() const { return firstColumn == 1 && lastColumn == kSheetColumns; }
  long long CellCount() const {
    return static_cast<long long>(lastRow - firstRow + 1) * (lastColumn - firstColumn + 1);
  }
  friend bool operator==(const CellRect&, const CellRect&) = default;
};

inline constexpr CellRect kWholeSheet{1, 1, kSheetRows, kSheetColumns};

// Reads an A1-style reference as a worksheet's Range accepts it: a cell ("B3", any letter
// case, each part may carry a "$"), two cells joined by ":" ("A1:C4", in either order),
// whole columns ("A:C") or whole rows ("2:5"). Columns reach XFD, rows 1048576. Anything
// else (blanks, names, a lone column or row, R1C1 style) gives nothing.
std::optional<CellRect> ParseCellReference(std::string_view reference);

// The smallest rectangle holding both.
CellRect BoundingRect(const CellRect& a, const CellRect& b);
