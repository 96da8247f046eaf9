#include "render/column_name.h"

#include <cstdio>
#include <cstdlib>

std::string ColumnName(int column) {
  if (column <= 0) return {};
  if (column > kLastNamedColumn) {
    std::fprintf(stderr, "ColumnName: column %d is past ZZZ\n", column);
    std::abort();
  }
  // Bijective base 26: each letter is a digit 1..26, so subtract one before each step.
  char letters[3];
  int count = 0;
  for (int rest = column; rest > 0; rest = (rest - 1) / 26) {
    letters[count++] = static_cast<char>('A' + (rest - 1) % 26);
  }
  std::string name(static_cast<std::size_t>(count), ' ');
  for (int i = 0; i < count; ++i) name[static_cast<std::size_t>(i)] = letters[count - 1 - i];
  return name;
}
