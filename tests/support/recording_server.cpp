#include "tests/support/recording_server.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "render/automation/call_arguments.h"
#include "render/automation/type_info.h"
#include "render/automation/variant.h"
#include "render/engine/spreadsheet_server.h"

namespace {

std::string TypeName(const AutomationObject* object) {
  const TypeInfo* type = object == nullptr ? nullptr : object->GetTypeInfo(kNeutralLocale);
  return type == nullptr ? "?" : std::string(type->Name());
}

std::string Describe(const Variant& value) {
  switch (value.Type()) {
    case VariantType::Empty: return "empty";
    case VariantType::Int32: return "int " + std::to_string(value.AsInt32());
    case VariantType::Double: {
      char text[32];
      std::snprintf(text, sizeof text, "double %g", value.AsDouble());
      return text;
    }
    case VariantType::Bool: return "bool " + std::to_string(value.AsBool());
    case VariantType::String: return value.IsNullString() ? "null" : "\"" + value.AsString() + "\"";
    case VariantType::Object: return "<" + TypeName(value.AsObject().Get()) + ">";
    case VariantType::Error:
      return value.IsMissing() ? "missing" : "error " + StatusName(value.AsError());
  }
  return "?";
}

const char* KindName(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::Method: return "method";
    case InvokeKind::PropertyGet: return "get";
    case InvokeKind::PropertyPut: return "put";
    case InvokeKind::PropertyPutRef: return "putref";
  }
  return "?";
}

class RecordingObject;

// Objects going into the engine are unwrapped, objects coming out wrapped.
Variant Unwrapped(const Variant& value);
void WrapResult(Variant& value, const std::shared_ptr<std::vector<std::string>>& log);

class RecordingObject final : public AutomationObject {
 public:
  RecordingObject(ObjectRef inner, std::shared_ptr<std::vector<std::string>> log)
      : inner_(std::move(inner)), log_(std::move(log)) {}

  const ObjectRef& Inner() const { return inner_; }

  const TypeInfo* GetTypeInfo(LocaleId locale) const override {
    return inner_->GetTypeInfo(locale);
  }

  Status Invoke(DispatchId member, InvokeKind kind, const CallArguments& arguments, Variant* result,
                LocaleId locale) override {
    std::vector<Variant> positional;
    for (const Variant& argument : arguments.positional) positional.push_back(Unwrapped(argument));
    Variant value;
    if (arguments.propertyValue != nullptr) value = Unwrapped(*arguments.propertyValue);
    const CallArguments forwarded{positional,
                                  arguments.propertyValue != nullptr ? &value : nullptr};
    const Status status = inner_->Invoke(member, kind, forwarded, result, locale);
    log_->push_back(Line(member, kind, arguments, locale, status));
    if (Succeeded(status) && result != nullptr) WrapResult(*result, log_);
    return status;
  }

 private:
  std::string Line(DispatchId member, InvokeKind kind, const CallArguments& arguments,
                   LocaleId locale, Status status) const {
    const TypeInfo* type = inner_->GetTypeInfo(kNeutralLocale);
    const MemberInfo* row = type == nullptr ? nullptr : type->FindMember(member);
    std::string line = TypeName(inner_.Get()) + "." +
                       (row != nullptr ? std::string(row->name) : "#" + std::to_string(member)) +
                       " " + KindName(kind) + "(";
    const char* separator = "";
    for (const Variant& argument : arguments.positional) {
      line += separator + Describe(argument);
      separator = ", ";
    }
    if (arguments.propertyValue != nullptr) {
      line += separator + std::string("= ") + Describe(*arguments.propertyValue);
    }
    line += ") @" + std::to_string(locale);
    if (Failed(status)) line += " -> " + StatusName(status);
    return line;
  }

  ObjectRef inner_;
  std::shared_ptr<std::vector<std::string>> log_;
};

Variant Unwrapped(const Variant& value) {
  if (value.Type() != VariantType::Object) return value;
  const auto* recording = dynamic_cast<const RecordingObject*>(value.AsObject().Get());
  return recording == nullptr ? value : Variant::Object(recording->Inner());
}

void WrapResult(Variant& value, const std::shared_ptr<std::vector<std::string>>& log) {
  if (value.Type() != VariantType::Object || !value.AsObject()) return;
  value = Variant::Object(MakeRef<RecordingObject>(value.AsObject(), log));
}

}  // namespace

RecordingServer::RecordingServer() : log_(std::make_shared<std::vector<std::string>>()) {
  RegisterSpreadsheetEngine(engine_);
  registry_.Register(
      std::string(kSpreadsheetProgrammaticId), [engine = &engine_, log = log_](ObjectRef& created) {
        ObjectRef application;
        const Status status = engine->CreateInstance(kSpreadsheetProgrammaticId, application);
        if (Failed(status)) return status;
        created = MakeRef<RecordingObject>(std::move(application), log);
        return Status::S_OK;
      });
}
