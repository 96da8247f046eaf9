#include "render/engine/sheets_collection.h"

#include <array>

#include "render/automation/ascii_case.h"
#include "render/engine/worksheet_object.h"

namespace {

constexpr DispatchId kCount = 0x76;
constexpr DispatchId kItem = 0xAA;

constexpr std::array kMembers{
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Count", kCount, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Item", kItem, KindBit(InvokeKind::PropertyGet), 1},
};
constexpr TypeInfo kType{"Sheets", kMembers};

}  // namespace

const TypeInfo& SheetsCollection::Type() const { return kType; }

SheetModel* SheetsCollection::FindSheet(const Variant& index, Status& status) const {
  auto& sheets = workbook_->sheets;
  if (index.Type() == VariantType::String) {
    for (auto& sheet : sheets) {
      if (EqualsIgnoringAsciiCase(sheet->name, index.AsString())) return sheet.get();
    }
    status = Status::DISP_E_BADINDEX;
    return nullptr;
  }
  std::int32_t number = 0;
  status = ToInt32(index, number);
  if (Failed(status)) return nullptr;
  if (number < 1 || static_cast<std::size_t>(number) > sheets.size()) {
    status = Status::DISP_E_BADINDEX;
    return nullptr;
  }
  return sheets[static_cast<std::size_t>(number - 1)].get();
}

Status SheetsCollection::InvokeMember(const MemberInfo& member, InvokeKind,
                                      const CallArguments& arguments, Variant* result) {
  switch (member.id) {
    case kCount:
      return Return(result, Variant::Int32(static_cast<std::int32_t>(workbook_->sheets.size())));
    case kItem: {
      Status status = Status::S_OK;
      SheetModel* sheet = FindSheet(Argument(arguments, 0), status);
      if (sheet == nullptr) return status;
      return Return(result, Variant::Object(MakeRef<WorksheetObject>(Application(), *sheet)));
    }
    default: return Status::DISP_E_MEMBERNOTFOUND;
  }
}
