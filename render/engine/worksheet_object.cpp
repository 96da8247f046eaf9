#include "render/engine/worksheet_object.h"

#include <array>

#include "render/engine/range_object.h"

namespace {

constexpr DispatchId kName = 0x6E;
constexpr DispatchId kRange = 0xC5;
constexpr DispatchId kCells = 0xEE;

constexpr std::array kMembers{
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Cells", kCells, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Name", kName, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Range", kRange, KindBit(InvokeKind::PropertyGet), 2, 1},
};
constexpr TypeInfo kType{"Worksheet", kMembers};

}  // namespace

const TypeInfo& WorksheetObject::Type() const { return kType; }

// A corner of Range is a reference text or a range of this same sheet.
std::optional<CellRect> WorksheetObject::AreaOf(const Variant& corner) const {
  if (corner.Type() == VariantType::String) return ParseCellReference(corner.AsString());
  if (corner.Type() == VariantType::Object) {
    const auto* range = dynamic_cast<const RangeObject*>(corner.AsObject().Get());
    if (range != nullptr && &range->Sheet() == sheet_) return range->Area();
  }
  return std::nullopt;
}

Status WorksheetObject::GetRange(const CallArguments& arguments, Variant* result) {
  // A reference the sheet cannot read fails as the spreadsheet's Range does: with an error
  // raised by the member, not a type mismatch.
  auto area = AreaOf(Argument(arguments, 0));
  if (!area) return Status::DISP_E_EXCEPTION;
  const Variant& secondCorner = Argument(arguments, 1);
  if (!secondCorner.IsMissing()) {
    const auto second = AreaOf(secondCorner);
    if (!second) return Status::DISP_E_EXCEPTION;
    area = BoundingRect(*area, *second);
  }
  return Return(result, Variant::Object(MakeRef<RangeObject>(Application(), *sheet_, *area)));
}

Status WorksheetObject::InvokeMember(const MemberInfo& member, InvokeKind,
                                     const CallArguments& arguments, Variant* result) {
  switch (member.id) {
    case kName: return Return(result, Variant::String(sheet_->name));
    case kRange: return GetRange(arguments, result);
    case kCells:
      return Return(result, Variant::Object(MakeRef<RangeObject>(Application(), *sheet_, kWholeSheet)));
    default: return Status::DISP_E_MEMBERNOTFOUND;
  }
}
