#include "render/engine/range_object.h"

#include <array>
#include <optional>

#include "render/engine/interior_object.h"

namespace {

constexpr DispatchId kInterior = 0x81;
constexpr DispatchId kColumnWidth = 0xF2;
constexpr DispatchId kRowHeight = 0x110;

constexpr unsigned kGetPut = InvokeKind::PropertyGet | InvokeKind::PropertyPut;
constexpr std::array kMembers{
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"ColumnWidth", kColumnWidth, kGetPut},
    MemberInfo{"Interior", kInterior, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"RowHeight", kRowHeight, kGetPut},
};
constexpr TypeInfo kType{"Range", kMembers};

// Reads a size put (a number, or a text that holds one) and checks it against 0..limit.
// Out of range is the member's own error, as the spreadsheet raises it.
Status PutSize(const Variant& value, double limit, std::optional<double>& size) {
  double number = 0;
  const Status status = ToDouble(value, number);
  if (Failed(status)) return status;
  if (!(number >= 0 && number <= limit)) return Status::DISP_E_EXCEPTION;
  size = number;
  return Status::S_OK;
}

}  // namespace

const TypeInfo& RangeObject::Type() const { return kType; }

Status RangeObject::InvokeMember(const MemberInfo& member, InvokeKind kind,
                                 const CallArguments& arguments, Variant* result) {
  const bool get = kind == InvokeKind::PropertyGet;
  switch (member.id) {
    case kInterior:
      return Return(result,
                    Variant::Object(MakeRef<InteriorObject>(Application(), *sheet_, area_)));
    case kRowHeight:
      // Every row has the sheet's one height, so any range reads it.
      if (get)
        return Return(result, Variant::Double(sheet_->rowHeight.value_or(kDefaultRowHeight)));
      if (!area_.SpansAllRows()) return Status::E_NOTIMPL;
      return PutSize(*arguments.propertyValue, kMaxRowHeight, sheet_->rowHeight);
    case kColumnWidth:
      if (get) {
        return Return(result, Variant::Double(sheet_->columnWidth.value_or(kDefaultColumnWidth)));
      }
      if (!area_.SpansAllColumns()) return Status::E_NOTIMPL;
      return PutSize(*arguments.propertyValue, kMaxColumnWidth, sheet_->columnWidth);
    default: return Status::DISP_E_MEMBERNOTFOUND;
  }
}
