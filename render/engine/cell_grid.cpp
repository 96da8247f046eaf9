#include "render/engine/cell_grid.h"

#include <algorithm>
#include <cstring>

std::uint32_t CellGrid::At(int row, int column) const {
  if (row < 1 || column < 1 || row > rows_ || column > columns_) return kNoFill;
  return cells_[static_cast<std::size_t>(row - 1) * stride_ + (column - 1)];
}

bool CellGrid::Fill(const CellRect& area, std::uint32_t colour) {
  if (!Reserve(std::max(rows_, area.lastRow), std::max(columns_, area.lastColumn))) return false;
  for (int row = area.firstRow; row <= area.lastRow; ++row) {
    std::uint32_t* line = &cells_[static_cast<std::size_t>(row - 1) * stride_];
    std::fill(line + (area.firstColumn - 1), line + area.lastColumn, colour);
  }
  return true;
}

bool CellGrid::Reserve(int rows, int columns) {
  if (static_cast<long long>(rows) * columns > kMaxCells) return false;
  if (columns > stride_) {
    // Double the stride while that still fits the limit, so a row growing one cell at a
    // time is moved only a few times.
    const long long doubled = std::min<long long>(2LL * stride_, kSheetColumns);
    const bool roomToDouble = doubled > columns && doubled * std::max(rows, 1) <= kMaxCells;
    SetStride(roomToDouble ? static_cast<int>(doubled) : columns);
  }
  columns_ = columns;
  if (rows > rows_) {
    cells_.resize(static_cast<std::size_t>(rows) * stride_, kNoFill);
    rows_ = rows;
  }
  return true;
}

void CellGrid::SetStride(int stride) {
  std::vector<std::uint32_t> moved(static_cast<std::size_t>(rows_) * stride, kNoFill);
  for (int row = 0; row < rows_; ++row) {
    std::memcpy(&moved[static_cast<std::size_t>(row) * stride],
                &cells_[static_cast<std::size_t>(row) * stride_],
                static_cast<std::size_t>(columns_) * sizeof(std::uint32_t));
  }
  cells_ = std::move(moved);
  stride_ = stride;
}

const std::uint32_t* CellGrid::PackedFills() {
  if (stride_ != columns_) {
    // Rows only move towards the front, so each can be moved in place, first row first.
    for (int row = 1; row < rows_; ++row) {
      std::memmove(&cells_[static_cast<std::size_t>(row) * columns_],
                   &cells_[static_cast<std::size_t>(row) * stride_],
                   static_cast<std::size_t>(columns_) * sizeof(std::uint32_t));
    }
    stride_ = columns_;
    cells_.resize(static_cast<std::size_t>(rows_) * columns_);
  }
  return cells_.data();
}
