#pragma once

#include <span>
#include <string_view>

#include "render/automation/automation_object.h"
#include "render/automation/call_arguments.h"
#include "render/automation/status.h"

constexpr unsigned KindBit(InvokeKind kind) { return static_cast<unsigned>(kind); }
constexpr unsigned operator|(InvokeKind a, InvokeKind b) { return KindBit(a) | KindBit(b); }
constexpr unsigned operator|(unsigned a, InvokeKind b) { return a | KindBit(b); }

// One row of an object class's member table.
struct MemberInfo {
  std::string_view name;
  DispatchId id;
  unsigned kinds;          // the InvokeKind bits the member answers to
  int parameterCount = 0;  // declared parameters, not counting the value of a put
  int optionalCount = 0;   // how many of those, at the end, may be omitted
  bool variableArguments = false;
};

// A member bound for one invocation kind. For a put the parameter count includes the value,
// as the member's description gives it.
struct MemberDescription {
  DispatchId id = 0;
  InvokeKind kind = InvokeKind::Method;
  int parameterCount = 0;
  bool variableArguments = false;
};

struct Binding {
  Status status = Status::DISP_E_UNKNOWNNAME;
  MemberDescription member;
};

// The type information of one class of automation object: its name and its member table.
class TypeInfo {
 public:
  constexpr TypeInfo(std::string_view typeName, std::span<const MemberInfo> members)
      : typeName_(typeName), members_(members) {}

  std::string_view Name() const { return typeName_; }

  // Binds `memberName` (any case) for `kind`: DISP_E_UNKNOWNNAME when no member has that
  // name, DISP_E_MEMBERNOTFOUND when it does not answer to `kind`.
  Binding Bind(std::string_view memberName, InvokeKind kind) const;

  const MemberInfo* FindMember(DispatchId id) const;

  // Checks an invocation against the table, as the standard dispatch does before a member
  // runs: the member exists and answers to `kind`, a put has its value and nothing else
  // does, and the positional arguments fit the parameters (an omitted required one is
  // DISP_E_PARAMNOTOPTIONAL). On success `*member` is the member's row.
  Status CheckInvocation(DispatchId id, InvokeKind kind, const CallArguments& arguments,
                         const MemberInfo** member) const;

 private:
  std::string_view typeName_;
  std::span<const MemberInfo> members_;
};
