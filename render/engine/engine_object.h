#pragma once

#include <cstddef>

#include "render/automation/automation_object.h"
#include "render/automation/call_arguments.h"
#include "render/automation/object_ref.h"
#include "render/automation/type_info.h"
#include "render/automation/variant.h"

class SpreadsheetApplication;

// Dispatch ids every object of the spreadsheet's object model shares.
inline constexpr DispatchId kDispatchApplication = 0x94;

// The common part of every object of the embedded spreadsheet engine. Before a member runs,
// the request is checked against the object's member table; once the application has quit,
// every object is disconnected and refuses all requests.
class EngineObject : public AutomationObject {
 public:
  const TypeInfo* GetTypeInfo(LocaleId locale) const final;
  Status Invoke(DispatchId member, InvokeKind kind, const CallArguments& arguments, Variant* result,
                LocaleId locale) final;

 protected:
  virtual SpreadsheetApplication& Application() = 0;
  virtual const TypeInfo& Type() const = 0;
  // Runs a member whose request already passed the member table's checks.
  virtual Status InvokeMember(const MemberInfo& member, InvokeKind kind,
                              const CallArguments& arguments, Variant* result) = 0;

  // The positional argument at `index`, or an omitted one past the end.
  static const Variant& Argument(const CallArguments& arguments, std::size_t index);
  // Hands `value` to the caller when it asked for a result.
  static Status Return(Variant* result, Variant value);
};

// An engine object below the application. It keeps the application alive while it lives, as
// every object of the model leads back to its application.
class ApplicationChild : public EngineObject {
 protected:
  explicit ApplicationChild(SpreadsheetApplication& application);
  SpreadsheetApplication& Application() final { return *application_; }

 private:
  SpreadsheetApplication* application_;
  ObjectRef keepApplication_;
};
