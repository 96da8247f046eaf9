#include "render/engine/cell_grid.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

CellRect Cell(int row, int column) { return {row, column, row, column}; }

// A colour that tells its cell's place, so a moved cell cannot go unnoticed.
std::uint32_t ColourOf(int row, int column) {
  return static_cast<std::uint32_t>(row * 1000 + column);
}

TEST(CellGrid, KeepsEveryFillWhileGrowingRowAfterRowAndColumnAfterColumn) {
  CellGrid grid;
  // Grow the way a picture is filled, then widen a finished grid once more.
  for (int row = 1; row <= 5; ++row) {
    for (int column = 1; column <= 9; ++column) {
      ASSERT_TRUE(grid.Fill(Cell(row, column), ColourOf(row, column)));
    }
  }
  ASSERT_TRUE(grid.Fill(Cell(2, 40), ColourOf(2, 40)));
  EXPECT_EQ(grid.Rows(), 5);
  EXPECT_EQ(grid.Columns(), 40);
  for (int row = 1; row <= 5; ++row) {
    for (int column = 1; column <= 40; ++column) {
      const bool filled = column <= 9 || (row == 2 && column == 40);
      EXPECT_EQ(grid.At(row, column), filled ? ColourOf(row, column) : kNoFill)
          << "row " << row << " column " << column;
    }
  }
  EXPECT_EQ(grid.At(6, 1), kNoFill);
  EXPECT_EQ(grid.At(0, 0), kNoFill);
}

TEST(CellGrid, PacksRowsForSaving) {
  CellGrid grid;
  // Columns grown one at a time leave spare room in each row; the packed copy has none.
  for (int column = 1; column <= 3; ++column)
    ASSERT_TRUE(grid.Fill(Cell(1, column), ColourOf(1, column)));
  ASSERT_TRUE(grid.Fill(Cell(2, 2), ColourOf(2, 2)));
  ASSERT_TRUE(grid.Fill(Cell(3, 3), ColourOf(3, 3)));
  const std::uint32_t* fills = grid.PackedFills();
  //   row 1: 1001 1002 1003
  //   row 2:  -   2002  -
  //   row 3:  -    -   3003
  const std::uint32_t expected[] = {1001,    1002,    1003,    kNoFill, 2002,
                                    kNoFill, kNoFill, kNoFill, 3003};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(fills[i], expected[i]) << "cell " << i;
  ASSERT_TRUE(grid.Fill(Cell(3, 4), 7));  // still grows correctly after packing
  EXPECT_EQ(grid.At(3, 3), 3003u);
  EXPECT_EQ(grid.At(3, 4), 7u);
}

TEST(CellGrid, RefusesAFillThatWouldOutgrowItsLimitAndChangesNothing) {
  CellGrid grid;
  ASSERT_TRUE(grid.Fill(Cell(2, 2), 5));
  EXPECT_FALSE(grid.Fill(kWholeSheet, 9));
  EXPECT_FALSE(grid.Fill(Cell(kSheetRows, 5), 9));
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Columns(), 2);
  EXPECT_EQ(grid.At(2, 2), 5u);
  // Up to the limit itself is fine.
  EXPECT_TRUE(grid.Fill(Cell(static_cast<int>(CellGrid::kMaxCells / 4), 4), 9));
}

}  // namespace
