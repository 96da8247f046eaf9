#pragma once

#include <string>

// The last column that has a name of at most three letters: ZZZ.
inline constexpr int kLastNamedColumn = 18278;

// The letters by which a spreadsheet names the 1-based `column`: A for 1, Z for 26,
// AA for 27, ZZZ for 18278. Empty for 0 or less. A column above 18278 breaks the
// precondition and stops the program: no caller comes near it.
std::string ColumnName(int column);
