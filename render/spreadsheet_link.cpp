#include "render/spreadsheet_link.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <span>

#include "render/automation/call_arguments.h"
#include "render/automation/type_info.h"
#include "render/automation/variant.h"

namespace {

constexpr std::string_view kSpreadsheetServer = "Excel.Application";

// The members the links reach by dispatch id, as the spreadsheet's object model numbers them.
constexpr DispatchId kCaption = 0x8B;             // Application.Caption
constexpr DispatchId kItem = 0xAA;                // Sheets.Item(Index)
constexpr DispatchId kAdd = 0xB5;                 // Workbooks.Add(Template)
constexpr DispatchId kRange = 0xC5;               // Worksheet.Range(Cell1, Cell2)
constexpr DispatchId kSaveAs = 0x11C;             // Worksheet.SaveAs(Filename, ...)
constexpr DispatchId kActivate = 0x130;           // Workbook.Activate
constexpr DispatchId kSheets = 0x1E5;             // Workbook.Sheets
constexpr DispatchId kVisible = 0x22E;            // Application.Visible
constexpr DispatchId kWorkbooks = 0x23C;          // Application.Workbooks
constexpr int kSaveAsArgumentsAfterFilename = 8;  // all omitted: the default format

// A request from a link: made in the neutral locale, as the links always do.
Status Request(const ObjectRef& target, DispatchId member, InvokeKind kind,
               std::span<const Variant> positional, Variant* result) {
  return target->Invoke(member, kind, CallArguments{positional, nullptr}, result, kNeutralLocale);
}

Status Put(const ObjectRef& target, DispatchId member, const Variant& value) {
  Variant ignored;
  return target->Invoke(member, InvokeKind::PropertyPut, CallArguments{{}, &value}, &ignored,
                        kNeutralLocale);
}

// Asks `target` for an object; `handle` takes it only when one comes back, so a refused
// request leaves the handle as it was.
bool RequestObject(const ObjectRef& target, DispatchId member, InvokeKind kind,
                   std::span<const Variant> positional, ObjectRef& handle) {
  Variant result;
  if (Failed(Request(target, member, kind, positional, &result))) return false;
  if (result.Type() != VariantType::Object || !result.AsObject()) return false;
  handle = result.AsObject();
  return true;
}

// Binds `name` on the object's type information, trying the kinds in `order` until one binds.
std::optional<MemberDescription> BindByName(const ComObject& object, std::string_view name,
                                            std::initializer_list<InvokeKind> order) {
  if (object.IsEmpty()) return std::nullopt;
  const TypeInfo* type = object.Get()->GetTypeInfo(kUserDefaultLocale);
  if (type == nullptr) return std::nullopt;
  for (const InvokeKind kind : order) {
    const Binding binding = type->Bind(name, kind);
    if (Succeeded(binding.status)) return binding.member;
  }
  return std::nullopt;
}

bool ArgumentsFit(const MemberDescription& member, int given) {
  return given <= member.parameterCount || member.variableArguments;
}

// Puts `value` by name: a property put, a put by reference, or a method, whichever binds
// first, with the value as the named argument of a put.
bool SetByName(const ComObject& object, std::string_view name, const Variant& value) {
  const auto member = BindByName(
      object, name, {InvokeKind::PropertyPut, InvokeKind::PropertyPutRef, InvokeKind::Method});
  if (!member || !ArgumentsFit(*member, 1)) return false;
  Variant ignored;
  return Succeeded(object.Get()->Invoke(member->id, member->kind, CallArguments{{}, &value},
                                        &ignored, kUserDefaultLocale));
}

// The program's text as the application takes it: the system code page is UTF-8 here, so the
// bytes pass unchanged; no text is a null string.
Variant TextArgument(std::string_view text) {
  return text.empty() ? Variant::NullString() : Variant::String(std::string(text));
}

}  // namespace

ApplicationLink::ApplicationLink(const AutomationRegistry& registry) : registry_(&registry) {}

bool ApplicationLink::StartApplication() {
  ReleaseApplication();
  return Succeeded(registry_->CreateInstance(kSpreadsheetServer, application_));
}

void ApplicationLink::SetApplicationCaption(const std::string& text) {
  if (application_) Put(application_, kCaption, Variant::String(text));
}

void ApplicationLink::SetApplicationVisible(bool visible) {
  if (application_) Put(application_, kVisible, Variant::Bool(visible));
}

void ApplicationLink::ReleaseApplication() { application_.Reset(); }

bool WorkbookLink::CreateWorkbook(const ApplicationLink& application) {
  ReleaseWorkbook();
  if (!application.application_) return false;
  // One unit: the first refused request ends it, keeping the handles filled before it.
  const std::array templateOmitted{Variant::Missing()};
  const std::array firstSheet{Variant::Int32(1)};
  if (!RequestObject(application.application_, kWorkbooks, InvokeKind::PropertyGet, {},
                     workbooks_)) {
    return true;
  }
  if (!RequestObject(workbooks_, kAdd, InvokeKind::Method, templateOmitted, workbook_)) return true;
  if (!RequestObject(workbook_, kSheets, InvokeKind::PropertyGet, {}, sheets_)) return true;
  RequestObject(sheets_, kItem, InvokeKind::PropertyGet, firstSheet, worksheet_);
  return true;
}

void WorkbookLink::ActivateWorkbook() {
  if (workbook_) Request(workbook_, kActivate, InvokeKind::Method, {}, nullptr);
}

void WorkbookLink::SelectSheet(std::int32_t index) {
  if (!sheets_) return;
  const std::array sheetIndex{Variant::Int32(index)};
  RequestObject(sheets_, kItem, InvokeKind::PropertyGet, sheetIndex, worksheet_);
}

void WorkbookLink::SetRangeCell1(const std::string& address) { cell1_ = address; }

void WorkbookLink::SetRangeCell2(const std::string& address) {
  if (!worksheet_) return;
  cell2_ = address;
  const std::array corners{Variant::String(cell1_), Variant::String(cell2_)};
  RequestObject(worksheet_, kRange, InvokeKind::PropertyGet, corners, range_);
}

bool WorkbookLink::SaveSheetAs(const std::string& fileName) {
  if (!workbook_ || !worksheet_) return false;
  std::array<Variant, 1 + kSaveAsArgumentsAfterFilename> arguments;
  arguments[0] = Variant::String(fileName);
  for (std::size_t i = 1; i < arguments.size(); ++i) arguments[i] = Variant::Missing();
  Variant ignored;
  return Succeeded(Request(worksheet_, kSaveAs, InvokeKind::Method, arguments, &ignored));
}

void WorkbookLink::ReleaseWorkbook() {
  workbook_.Reset();
  workbooks_.Reset();
  range_.Reset();
  worksheet_.Reset();
  sheets_.Reset();
  cell1_.clear();
  cell2_.clear();
}

ComObject GetObjectProperty(const ComObject& object, std::string_view name) {
  const auto member = BindByName(object, name, {InvokeKind::PropertyGet, InvokeKind::Method});
  if (!member) return {};
  Variant result;
  if (Failed(object.Get()->Invoke(member->id, member->kind, CallArguments{}, &result,
                                  kUserDefaultLocale))) {
    return {};
  }
  if (result.Type() != VariantType::Object) return {};
  return ComObject(result.AsObject());
}

bool SetObjectProperty(const ComObject& object, std::string_view name, std::int32_t value) {
  return SetByName(object, name, Variant::Int32(value));
}

bool SetObjectProperty(const ComObject& object, std::string_view name, const std::string& text) {
  return SetByName(object, name, TextArgument(text));
}

bool SetObjectProperty(const ComObject& object, std::string_view name, const char* text) {
  return SetByName(object, name, TextArgument(text == nullptr ? std::string_view() : text));
}

bool SetObjectProperty(const ComObject& object, std::string_view name, double value) {
  return SetByName(object, name, Variant::Double(value));
}

bool SetObjectProperty(const ComObject& object, std::string_view name, bool value) {
  return SetByName(object, name, Variant::Bool(value));
}

void CallObjectMethod(const ComObject& object, std::string_view name) {
  const auto member = BindByName(object, name,
                                 {InvokeKind::Method, InvokeKind::PropertyGet,
                                  InvokeKind::PropertyPut, InvokeKind::PropertyPutRef});
  if (!member) return;
  Variant ignored;
  object.Get()->Invoke(member->id, member->kind, CallArguments{}, &ignored, kUserDefaultLocale);
}

void ClearObject(ComObject& object) { object.object_.Reset(); }
