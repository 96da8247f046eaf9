#include "render/engine/cell_rect.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

struct ReferenceCase {
  const char* reference;
  std::optional<CellRect> area;  // nothing: refused
  friend void PrintTo(const ReferenceCase& c, std::ostream* out) {
    *out << '"' << c.reference << '"';
  }
};

class ParseCellReferenceTable : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ParseCellReferenceTable, AcceptsWhatARangeAccepts) {
  const auto area = ParseCellReference(GetParam().reference);
  ASSERT_EQ(area.has_value(), GetParam().area.has_value());
  if (area) {
    EXPECT_EQ(*area, *GetParam().area);
  }
}

constexpr std::optional<CellRect> kRefused;

INSTANTIATE_TEST_SUITE_P(
    References, ParseCellReferenceTable,
    ::testing::Values(
        ReferenceCase{"A1", CellRect{1, 1, 1, 1}},
        ReferenceCase{"ADT600", CellRect{600, 800, 600, 800}},
        ReferenceCase{"adt600", CellRect{600, 800, 600, 800}},
        ReferenceCase{"$B$3", CellRect{3, 2, 3, 2}}, ReferenceCase{"B$3", CellRect{3, 2, 3, 2}},
        ReferenceCase{"A01", CellRect{1, 1, 1, 1}},
        ReferenceCase{"XFD1048576", CellRect{kSheetRows, kSheetColumns, kSheetRows, kSheetColumns}},
        ReferenceCase{"C4:A1", CellRect{1, 1, 4, 3}},
        ReferenceCase{"B:D", CellRect{1, 2, kSheetRows, 4}},
        ReferenceCase{"$5:2", CellRect{2, 1, 5, kSheetColumns}},
        ReferenceCase{"A:XFD", kWholeSheet}, ReferenceCase{"", kRefused},
        ReferenceCase{"A0", kRefused}, ReferenceCase{"A1048577", kRefused},
        ReferenceCase{"XFE1", kRefused}, ReferenceCase{"AAAA1", kRefused},
        ReferenceCase{"1A", kRefused}, ReferenceCase{"A", kRefused}, ReferenceCase{"7", kRefused},
        ReferenceCase{" A1", kRefused}, ReferenceCase{"A1 ", kRefused},
        ReferenceCase{"A-1", kRefused}, ReferenceCase{"A1:", kRefused},
        ReferenceCase{"A1:B", kRefused}, ReferenceCase{"A1:B2:C3", kRefused},
        ReferenceCase{"A$$1", kRefused}, ReferenceCase{"R1C1", kRefused},
        ReferenceCase{"A99999999999999999999", kRefused}));

TEST(CellRect, KnowsWhenItCoversEveryRowOrColumn) {
  EXPECT_TRUE(kWholeSheet.SpansAllRows());
  EXPECT_TRUE(kWholeSheet.SpansAllColumns());
  const CellRect rows = *ParseCellReference("3:4");
  EXPECT_TRUE(rows.SpansAllColumns());
  EXPECT_FALSE(rows.SpansAllRows());
  const CellRect columns = *ParseCellReference("A1:B1048576");
  EXPECT_TRUE(columns.SpansAllRows());
  EXPECT_FALSE(columns.SpansAllColumns());
}

}  // namespace
