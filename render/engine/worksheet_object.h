#pragma once

#include <optional>

#include "render/engine/cell_rect.h"
#include "render/engine/engine_object.h"
#include "render/engine/workbook_model.h"

// One worksheet: its ranges (by A1-style reference, or all its cells) and saving the
// workbook.
class WorksheetObject final : public ApplicationChild {
 public:
  WorksheetObject(SpreadsheetApplication& application, SheetModel& sheet)
      : ApplicationChild(application), sheet_(&sheet) {}

  SheetModel& Sheet() const { return *sheet_; }

 protected:
  const TypeInfo& Type() const override;
  Status InvokeMember(const MemberInfo& member, InvokeKind kind, const CallArguments& arguments,
                      Variant* result) override;

 private:
  std::optional<CellRect> AreaOf(const Variant& corner) const;
  Status GetRange(const CallArguments& arguments, Variant* result);
  Status SaveAs(const CallArguments& arguments);

  SheetModel* sheet_;
};
