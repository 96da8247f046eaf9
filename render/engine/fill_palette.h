#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/engine/colour_reduction.h"
#include "render/engine/sheet_content.h"

// The fills a sheet is saved with: one per distinct colour, in the order in which the
// cells (row by row) first use them, and for every cell the fill it gets.
struct FillPalette {
  std::vector<std::uint32_t> colours;    // 0x00BBGGRR; fill number k is colours[k - 1]
  std::vector<std::uint32_t> cellFills;  // per cell, row by row: 0 = no fill, else k
  std::size_t distinctColours = 0;       // in the sheet, before any reduction
};

// Collects the sheet's fill colours. A sheet with more than `limit` distinct colours gets
// them reduced to at most `limit` (ReduceColours); otherwise every colour is kept exactly.
FillPalette BuildFillPalette(const SheetContent& sheet, std::size_t limit = kMostSheetColours);
