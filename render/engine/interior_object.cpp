#include "render/engine/interior_object.h"

#include <array>

namespace {

constexpr DispatchId kColor = 0x63;

constexpr std::array kMembers{
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Color", kColor, KindBit(InvokeKind::PropertyPut)},
};
constexpr TypeInfo kType{"Interior", kMembers};

}  // namespace

const TypeInfo& InteriorObject::Type() const { return kType; }

Status InteriorObject::InvokeMember(const MemberInfo& member, InvokeKind,
                                    const CallArguments& arguments, Variant*) {
  if (member.id != kColor) return Status::DISP_E_MEMBERNOTFOUND;
  std::int32_t colour = 0;
  const Status status = ToInt32(*arguments.propertyValue, colour);
  if (Failed(status)) return status;
  // A value outside the colour cube is the member's own error; the cells keep their fill.
  if (colour < 0 || colour > kMaxColour) return Status::DISP_E_EXCEPTION;
  if (!sheet_->cells.Fill(area_, static_cast<std::uint32_t>(colour))) return Status::E_OUTOFMEMORY;
  return Status::S_OK;
}
