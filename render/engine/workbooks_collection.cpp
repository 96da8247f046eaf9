#include "render/engine/workbooks_collection.h"

#include <array>

#include "render/engine/spreadsheet_application.h"
#include "render/engine/workbook_object.h"

namespace {

constexpr DispatchId kCount = 0x76;
constexpr DispatchId kAdd = 0xB5;

constexpr std::array kMembers{
    MemberInfo{"Add", kAdd, KindBit(InvokeKind::Method), 1, 1},
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Count", kCount, KindBit(InvokeKind::PropertyGet)},
};
constexpr TypeInfo kType{"Workbooks", kMembers};

}  // namespace

const TypeInfo& WorkbooksCollection::Type() const { return kType; }

Status WorkbooksCollection::InvokeMember(const MemberInfo& member, InvokeKind,
                                         const CallArguments& arguments, Variant* result) {
  switch (member.id) {
    case kCount:
      return Return(result,
                    Variant::Int32(static_cast<std::int32_t>(Application().WorkbookCount())));
    case kAdd: {
      // Only a blank workbook can be made: there are no template files to open.
      if (!Argument(arguments, 0).IsMissing()) return Status::E_NOTIMPL;
      WorkbookModel& workbook = Application().AddWorkbook();
      return Return(result, Variant::Object(MakeRef<WorkbookObject>(Application(), workbook)));
    }
    default: return Status::DISP_E_MEMBERNOTFOUND;
  }
}
