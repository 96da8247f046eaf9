#pragma once

#include "render/engine/cell_rect.h"
#include "render/engine/engine_object.h"
#include "render/engine/workbook_model.h"

// A rectangle of cells on one worksheet: its interior, and the height of its rows and the
// width of its columns. Sizes are kept for the whole sheet only, so a size put is accepted
// only on a range that covers every row (height) or every column (width).
class RangeObject final : public ApplicationChild {
 public:
  RangeObject(SpreadsheetApplication& application, SheetModel& sheet, const CellRect& area)
      : ApplicationChild(application), sheet_(&sheet), area_(area) {}

  const SheetModel& Sheet() const { return *sheet_; }
  const CellRect& Area() const { return area_; }

  // The limits the spreadsheet puts on sizes: points for a row, characters for a column.
  static constexpr double kMaxRowHeight = 409;
  static constexpr double kMaxColumnWidth = 255;
  // What a blank sheet shows: 15 points and 8.43 characters with the default font.
  static constexpr double kDefaultRowHeight = 15;
  static constexpr double kDefaultColumnWidth = 8.43;

 protected:
  const TypeInfo& Type() const override;
  Status InvokeMember(const MemberInfo& member, InvokeKind kind, const CallArguments& arguments,
                      Variant* result) override;

 private:
  SheetModel* sheet_;
  CellRect area_;
};
