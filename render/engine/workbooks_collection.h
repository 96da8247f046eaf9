#pragma once

#include "render/engine/engine_object.h"

// The application's Workbooks collection: counts the open workbooks and adds new ones.
class WorkbooksCollection final : public ApplicationChild {
 public:
  explicit WorkbooksCollection(SpreadsheetApplication& application)
      : ApplicationChild(application) {}

 protected:
  const TypeInfo& Type() const override;
  Status InvokeMember(const MemberInfo& member, InvokeKind kind, const CallArguments& arguments,
                      Variant* result) override;
};
