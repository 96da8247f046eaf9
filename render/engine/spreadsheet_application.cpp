#include "render/engine/spreadsheet_application.h"

#include <array>

#include "render/engine/workbook_object.h"
#include "render/engine/workbooks_collection.h"

namespace {

constexpr DispatchId kCaption = 0x8B;
constexpr DispatchId kQuit = 0x12E;
constexpr DispatchId kActiveWorkbook = 0x134;
constexpr DispatchId kDisplayAlerts = 0x157;
constexpr DispatchId kVisible = 0x22E;
constexpr DispatchId kWorkbooks = 0x23C;

constexpr unsigned kGetPut = InvokeKind::PropertyGet | InvokeKind::PropertyPut;
constexpr std::array kMembers{
    MemberInfo{"ActiveWorkbook", kActiveWorkbook, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Caption", kCaption, kGetPut},
    MemberInfo{"DisplayAlerts", kDisplayAlerts, kGetPut},
    MemberInfo{"Quit", kQuit, KindBit(InvokeKind::Method)},
    MemberInfo{"Visible", kVisible, kGetPut},
    MemberInfo{"Workbooks", kWorkbooks, KindBit(InvokeKind::PropertyGet)},
};
constexpr TypeInfo kType{"Application", kMembers};

// Stores a boolean setting from a put, or returns it for a get.
Status GetOrPutFlag(bool& setting, InvokeKind kind, const CallArguments& arguments,
                    Variant* result) {
  if (kind == InvokeKind::PropertyGet) {
    if (result != nullptr) *result = Variant::Bool(setting);
    return Status::S_OK;
  }
  return ToBool(*arguments.propertyValue, setting);
}

}  // namespace

const TypeInfo& SpreadsheetApplication::Type() const { return kType; }

WorkbookModel& SpreadsheetApplication::AddWorkbook() {
  auto workbook = std::make_unique<WorkbookModel>();
  workbook->name = "Book" + std::to_string(++workbooksMade_);
  workbook->sheets.push_back(std::make_unique<SheetModel>());
  workbook->sheets.back()->name = "Sheet1";
  workbooks_.push_back(std::move(workbook));
  activeWorkbook_ = workbooks_.back().get();
  return *workbooks_.back();
}

Status SpreadsheetApplication::InvokeMember(const MemberInfo& member, InvokeKind kind,
                                            const CallArguments& arguments, Variant* result) {
  switch (member.id) {
    case kWorkbooks: return Return(result, Variant::Object(MakeRef<WorkbooksCollection>(*this)));
    case kActiveWorkbook:  // nothing (an empty object) before the first workbook
      return Return(result,
                    Variant::Object(activeWorkbook_ == nullptr
                                        ? ObjectRef()
                                        : MakeRef<WorkbookObject>(*this, *activeWorkbook_)));
    case kCaption:
      if (kind == InvokeKind::PropertyGet) return Return(result, Variant::String(caption_));
      return ToString(*arguments.propertyValue, caption_);
    case kVisible: return GetOrPutFlag(visible_, kind, arguments, result);
    case kDisplayAlerts: return GetOrPutFlag(displayAlerts_, kind, arguments, result);
    case kQuit:
      // Unsaved workbooks are dropped without asking: nothing here can show a question.
      quit_ = true;
      return Status::S_OK;
    default: return Status::DISP_E_MEMBERNOTFOUND;
  }
}
