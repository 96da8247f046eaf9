#include "render/engine/engine_object.h"

#include <new>

#include "render/engine/spreadsheet_application.h"

const TypeInfo* EngineObject::GetTypeInfo(LocaleId) const { return &Type(); }

Status EngineObject::Invoke(DispatchId member, InvokeKind kind, const CallArguments& arguments,
                            Variant* result, LocaleId) {
  if (Application().HasQuit()) return Status::RPC_E_DISCONNECTED;
  const MemberInfo* row = nullptr;
  const Status checked = Type().CheckInvocation(member, kind, arguments, &row);
  if (Failed(checked)) return checked;
  if (member == kDispatchApplication) {
    return Return(result, Variant::Object(ObjectRef(&Application())));
  }
  // Running out of memory is a result like any other failure: nothing is thrown to callers.
  try {
    return InvokeMember(*row, kind, arguments, result);
  } catch (const std::bad_alloc&) {
    return Status::E_OUTOFMEMORY;
  }
}

const Variant& EngineObject::Argument(const CallArguments& arguments, std::size_t index) {
  static const Variant kOmitted = Variant::Missing();
  return index < arguments.positional.size() ? arguments.positional[index] : kOmitted;
}

Status EngineObject::Return(Variant* result, Variant value) {
  if (result != nullptr) *result = std::move(value);
  return Status::S_OK;
}

ApplicationChild::ApplicationChild(SpreadsheetApplication& application)
    : application_(&application), keepApplication_(&application) {}
