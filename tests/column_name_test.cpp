#include "render/column_name.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct NamedColumn {
  int column;
  const char* name;
  friend void PrintTo(const NamedColumn& named, std::ostream* out) {
    *out << "column " << named.column;
  }
};

class ColumnNameTable : public ::testing::TestWithParam<NamedColumn> {};

TEST_P(ColumnNameTable, GivesTheSpreadsheetsLetters) {
  EXPECT_EQ(ColumnName(GetParam().column), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ColumnNameTable,
    ::testing::Values(NamedColumn{-5, ""}, NamedColumn{0, ""}, NamedColumn{1, "A"},
                      NamedColumn{2, "B"}, NamedColumn{26, "Z"}, NamedColumn{27, "AA"},
                      NamedColumn{28, "AB"}, NamedColumn{52, "AZ"}, NamedColumn{53, "BA"},
                      NamedColumn{78, "BZ"}, NamedColumn{79, "CA"}, NamedColumn{256, "IV"},
                      NamedColumn{676, "YZ"}, NamedColumn{677, "ZA"}, NamedColumn{702, "ZZ"},
                      NamedColumn{703, "AAA"}, NamedColumn{704, "AAB"}, NamedColumn{728, "AAZ"},
                      NamedColumn{729, "ABA"}, NamedColumn{800, "ADT"}, NamedColumn{1378, "AZZ"},
                      NamedColumn{1379, "BAA"}, NamedColumn{16384, "XFD"},
                      NamedColumn{18278, "ZZZ"}),
    [](const auto& testCase) {
      const int column = testCase.param.column;
      return column < 0 ? "minus" + std::to_string(-column) : "col" + std::to_string(column);
    });

// The odometer the names are defined by: three wheels A..Z; a wheel that wraps shows A
// and carries into the next one, and a wheel once reached never goes blank again.
TEST(ColumnName, EqualsTheCountingDefinitionForEveryNamedColumn) {
  int counters[3] = {0, 0, 0};
  for (int column = 1; column <= kLastNamedColumn; ++column) {
    int position = 0;
    while (position < 3 && ++counters[position] == 27) counters[position++] = 1;
    std::string counted;
    for (int p = 2; p >= 0; --p) {
      if (counters[p] > 0) counted += static_cast<char>('A' + counters[p] - 1);
    }
    ASSERT_EQ(ColumnName(column), counted) << "column " << column;
  }
}

TEST(ColumnNameDeathTest, StopsPastTheLastNamedColumn) {
  EXPECT_DEATH(ColumnName(kLastNamedColumn + 1), "past ZZZ");
}

}  // namespace
