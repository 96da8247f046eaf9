#pragma once

#include "render/engine/cell_rect.h"
#include "render/engine/engine_object.h"
#include "render/engine/workbook_model.h"

// The interior of a range: setting its colour fills every cell of the range.
class InteriorObject final : public ApplicationChild {
 public:
  InteriorObject(SpreadsheetApplication& application, SheetModel& sheet, const CellRect& area)
      : ApplicationChild(application), sheet_(&sheet), area_(area) {}

  // Colours are 0x00BBGGRR: red in the low byte, nothing above blue.
  static constexpr std::int32_t kMaxColour = 0xFFFFFF;

 protected:
  const TypeInfo& Type() const override;
  Status InvokeMember(const MemberInfo& member, InvokeKind kind, const CallArguments& arguments,
                      Variant* result) override;

 private:
  SheetModel* sheet_;
  CellRect area_;
};
