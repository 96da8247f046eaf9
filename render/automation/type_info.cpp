#include "render/automation/type_info.h"

#include "render/automation/ascii_case.h"

namespace {

bool IsPut(InvokeKind kind) {
  return kind == InvokeKind::PropertyPut || kind == InvokeKind::PropertyPutRef;
}

}  // namespace

Binding TypeInfo::Bind(std::string_view memberName, InvokeKind kind) const {
  Binding binding;
  for (const MemberInfo& member : members_) {
    if (!EqualsIgnoringAsciiCase(member.name, memberName)) continue;
    if ((member.kinds & KindBit(kind)) == 0) {
      binding.status = Status::DISP_E_MEMBERNOTFOUND;
      continue;  // a name may also appear once more with other kinds
    }
    binding.status = Status::S_OK;
    binding.member = {member.id, kind, member.parameterCount + (IsPut(kind) ? 1 : 0),
                      member.variableArguments};
    return binding;
  }
  return binding;
}

const MemberInfo* TypeInfo::FindMember(DispatchId id) const {
  for (const MemberInfo& member : members_) {
    if (member.id == id) return &member;
  }
  return nullptr;
}

Status TypeInfo::CheckInvocation(DispatchId id, InvokeKind kind, const CallArguments& arguments,
                                 const MemberInfo** member) const {
  const MemberInfo* found = FindMember(id);
  if (found == nullptr || (found->kinds & KindBit(kind)) == 0) {
    return Status::DISP_E_MEMBERNOTFOUND;
  }
  if (IsPut(kind) != (arguments.propertyValue != nullptr)) return Status::DISP_E_PARAMNOTFOUND;
  const auto given = static_cast<int>(arguments.positional.size());
  if (given > found->parameterCount && !found->variableArguments) {
    return Status::DISP_E_BADPARAMCOUNT;
  }
  const int required = found->parameterCount - found->optionalCount;
  if (given < required) return Status::DISP_E_BADPARAMCOUNT;
  for (int i = 0; i < required; ++i) {
    if (arguments.positional[static_cast<std::size_t>(i)].IsMissing()) {
      return Status::DISP_E_PARAMNOTOPTIONAL;
    }
  }
  *member = found;
  return Status::S_OK;
}
