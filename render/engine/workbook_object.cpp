#include "render/engine/workbook_object.h"

#include <array>

#include "render/engine/sheets_collection.h"
#include "render/engine/spreadsheet_application.h"

namespace {

constexpr DispatchId kName = 0x6E;
constexpr DispatchId kActivate = 0x130;
constexpr DispatchId kSheets = 0x1E5;
constexpr DispatchId kWorksheets = 0x1EE;

constexpr std::array kMembers{
    MemberInfo{"Activate", kActivate, KindBit(InvokeKind::Method)},
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Name", kName, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Sheets", kSheets, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Worksheets", kWorksheets, KindBit(InvokeKind::PropertyGet)},
};
constexpr TypeInfo kType{"Workbook", kMembers};

}  // namespace

const TypeInfo& WorkbookObject::Type() const { return kType; }

Status WorkbookObject::InvokeMember(const MemberInfo& member, InvokeKind, const CallArguments&,
                                    Variant* result) {
  switch (member.id) {
    case kName: return Return(result, Variant::String(workbook_->name));
    case kActivate: Application().ActivateWorkbook(*workbook_); return Status::S_OK;
    case kSheets:
    case kWorksheets:  // every sheet the engine makes is a worksheet
      return Return(result, Variant::Object(MakeRef<SheetsCollection>(Application(), *workbook_)));
    default: return Status::DISP_E_MEMBERNOTFOUND;
  }
}
