#pragma once
// Reads a workbook the way an independent program would: tests/support/read_workbook.py run by
// Debian's Python (with python3-openpyxl), one printed fact per line.

#include <string>
#include <vector>

struct WorkbookFacts {
  int exitCode = -1;
  std::vector<std::string> lines;

  // The lines that start with `key` and a space, without that start.
  std::vector<std::string> Values(const std::string& key) const;
};

// `mode` is "openpyxl" or "parts"; `extra` are passed on (cell references, or "all").
WorkbookFacts ReadWorkbook(const std::string& mode, const std::string& path,
                           const std::vector<std::string>& extra = {});

// Excel's text of a 0x00BBGGRR colour: "FFRRGGBB".
std::string ArgbText(unsigned colour);
