#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/engine/cell_grid.h"

// What the engine keeps of a worksheet: its name, its cells' fills and the sizes set for all
// of its rows and all of its columns. Sizes of single rows or columns are not kept.
struct SheetModel {
  std::string name;
  CellGrid cells;
  std::optional<double> rowHeight;    // points
  std::optional<double> columnWidth;  // characters of the default font
};

// A workbook: its name and its sheets, in order. Sheets are never removed, so a pointer to
// one stays valid as long as the application that owns the workbook.
struct WorkbookModel {
  std::string name;
  std::vector<std::unique_ptr<SheetModel>> sheets;
};
