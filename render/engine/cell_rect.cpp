#include "render/engine/cell_rect.h"

#include <algorithm>

namespace {

// One side of a reference: column letters, row digits, or both, each after an optional "$".
struct Corner {
  int column = 0;  // 0: no column given
  int row = 0;     // 0: no row given
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads letters as a column number; false past XFD. At most three letters fit the sheet.
bool ReadColumn(std::string_view& text, int& column) {
  if (!text.empty() && text.front() == '$') text.remove_prefix(1);
  std::size_t count = 0;
  int value = 0;
  while (count < text.size() && IsLetter(text[count])) {
    if (++count > 3) return false;
    value = value * 26 + ((text[count - 1] | 0x20) - 'a' + 1);
  }
  if (count == 0 || value > kSheetColumns) return false;
  column = value;
  text.remove_prefix(count);
  return true;
}

// Reads digits as a row number; false for 0 or past the last row. Leading zeros are allowed.
bool ReadRow(std::string_view& text, int& row) {
  if (!text.empty() && text.front() == '$') text.remove_prefix(1);
  std::size_t count = 0;
  long long value = 0;
  while (count < text.size() && IsDigit(text[count])) {
    value = value * 10 + (text[count] - '0');
    if (value > kSheetRows) return false;
    ++count;
  }
  if (count == 0 || value == 0) return false;
  row = static_cast<int>(value);
  text.remove_prefix(count);
  return true;
}

// A corner is letters then digits, letters alone, or digits alone; the rest must be empty.
std::optional<Corner> ReadCorner(std::string_view text) {
  Corner corner;
  const std::size_t dollar = (!text.empty() && text.front() == '$') ? 1 : 0;
  const bool startsWithLetter = text.size() > dollar && IsLetter(text[dollar]);
  if (startsWithLetter && !ReadColumn(text, corner.column)) return std::nullopt;
  if (!text.empty() && !ReadRow(text, corner.row)) return std::nullopt;
  if (!text.empty() || (corner.column == 0 && corner.row == 0)) return std::nullopt;
  return corner;
}

}  // namespace

CellRect BoundingRect(const CellRect& a, const CellRect& b) {
  return {std::min(a.firstRow, b.firstRow), std::min(a.firstColumn, b.firstColumn),
          std::max(a.lastRow, b.lastRow), std::max(a.lastColumn, b.lastColumn)};
}

std::optional<CellRect> ParseCellReference(std::string_view reference) {
  const std::size_t colon = reference.find(':');
  const auto first = ReadCorner(reference.substr(0, colon));
  if (!first) return std::nullopt;
  if (colon == std::string_view::npos) {
    // A single corner must name a cell: a lone column or row is a name, not a reference.
    if (first->column == 0 || first->row == 0) return std::nullopt;
    return CellRect{first->row, first->column, first->row, first->column};
  }
  const auto second = ReadCorner(reference.substr(colon + 1));
  if (!second) return std::nullopt;
  const bool firstIsCell = first->column != 0 && first->row != 0;
  const bool secondIsCell = second->column != 0 && second->row != 0;
  if (firstIsCell && secondIsCell) {
    return BoundingRect({first->row, first->column, first->row, first->column},
                        {second->row, second->column, second->row, second->column});
  }
  if (first->row == 0 && second->row == 0) {  // whole columns
    return CellRect{1, std::min(first->column, second->column), kSheetRows,
                    std::max(first->column, second->column)};
  }
  if (first->column == 0 && second->column == 0) {  // whole rows
    return CellRect{std::min(first->row, second->row), 1, std::max(first->row, second->row),
                    kSheetColumns};
  }
  return std::nullopt;  // a cell joined to a whole column or row
}
