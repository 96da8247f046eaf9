#pragma once

#include <cstdint>
#include <vector>

#include "render/engine/cell_rect.h"
#include "render/engine/sheet_content.h"

// The fill colours of a worksheet's cells, kept dense over the rectangle from A1 to the
// highest row and column ever filled. Rows grow by appending and columns by doubling the
// row stride, so filling a picture row by row copies little.
class CellGrid {
 public:
  // The most cells the grid will hold (16 MB of colours, almost nine 800 × 600 pictures).
  // A fill that would need more is refused, so one request on a huge range cannot exhaust
  // memory.
  static constexpr long long kMaxCells = 4LL * 1024 * 1024;

  // Gives every cell of `area` the fill `colour` (0x00BBGGRR, or kNoFill). False, with
  // nothing changed, when the grid would have to grow past kMaxCells.
  bool Fill(const CellRect& area, std::uint32_t colour);

  // The fill of a 1-based cell: kNoFill outside the used rectangle.
  std::uint32_t At(int row, int column) const;

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }

  // Every fill of the used rectangle, row by row, rows × columns of them. Packs the rows
  // together first, so the pointer stays valid until the next Fill.
  const std::uint32_t* PackedFills();

 private:
  bool Reserve(int rows, int columns);
  void SetStride(int stride);

  int rows_ = 0;
  int columns_ = 0;
  int stride_ = 0;                    // allocated cells per row, at least columns_
  std::vector<std::uint32_t> cells_;  // rows_ × stride_
};
