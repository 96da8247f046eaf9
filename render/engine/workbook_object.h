#pragma once

#include "render/engine/engine_object.h"
#include "render/engine/workbook_model.h"

// One workbook: its name, its sheets, and making it the active workbook.
class WorkbookObject final : public ApplicationChild {
 public:
  WorkbookObject(SpreadsheetApplication& application, WorkbookModel& workbook)
      : ApplicationChild(application), workbook_(&workbook) {}

 protected:
  const TypeInfo& Type() const override;
  Status InvokeMember(const MemberInfo& member, InvokeKind kind, const CallArguments& arguments,
                      Variant* result) override;

 private:
  WorkbookModel* workbook_;
};
