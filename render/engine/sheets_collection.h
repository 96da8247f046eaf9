#pragma once

#include "render/engine/engine_object.h"
#include "render/engine/workbook_model.h"

// A workbook's sheets: their count, and one sheet by its 1-based index or by its name.
class SheetsCollection final : public ApplicationChild {
 public:
  SheetsCollection(SpreadsheetApplication& application, WorkbookModel& workbook)
      : ApplicationChild(application), workbook_(&workbook) {}

 protected:
  const TypeInfo& Type() const override;
  Status InvokeMember(const MemberInfo& member, InvokeKind kind, const CallArguments& arguments,
                      Variant* result) override;

 private:
  SheetModel* FindSheet(const Variant& index, Status& status) const;

  WorkbookModel* workbook_;
};
