#pragma once

#include <string>

#include "render/engine/sheet_content.h"

struct SaveOutcome {
  bool written = false;
  std::string error;  // why the workbook was not written, in plain English
};

// Writes a workbook holding the one sheet to exactly `path` (no extension added or
// changed), as an Office Open XML package. The file appears whole or not at all: a
// failed save leaves whatever was at `path` before untouched.
SaveOutcome WriteWorkbook(const std::string& path, const SheetContent& sheet);
