#include "render/automation/type_info.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr unsigned kGetPut = InvokeKind::PropertyGet | InvokeKind::PropertyPut;
constexpr std::array kMembers{
    MemberInfo{"Color", 0x63, kGetPut},
    MemberInfo{"Range", 0xC5, KindBit(InvokeKind::PropertyGet), 2, 1},
    MemberInfo{"Quit", 0x12E, KindBit(InvokeKind::Method)},
    MemberInfo{"Union", 0x30B, KindBit(InvokeKind::Method), 1, 0, true},
};
constexpr TypeInfo kType{"Sample", kMembers};

TEST(TypeInfoBind, FindsMembersByNameInAnyCaseForTheirKinds) {
  struct BindCase {
    const char* name;
    InvokeKind kind;
    Status status;
    DispatchId id;
    int parameterCount;
  };
  const std::vector<BindCase> cases = {
      {"Color", InvokeKind::PropertyGet, Status::S_OK, 0x63, 0},
      {"color", InvokeKind::PropertyPut, Status::S_OK, 0x63, 1},  // the put's value counts
      {"COLOR", InvokeKind::Method, Status::DISP_E_MEMBERNOTFOUND, 0, 0},
      {"Color", InvokeKind::PropertyPutRef, Status::DISP_E_MEMBERNOTFOUND, 0, 0},
      {"Range", InvokeKind::PropertyGet, Status::S_OK, 0xC5, 2},
      {"Quit", InvokeKind::Method, Status::S_OK, 0x12E, 0},
      {"Colour", InvokeKind::PropertyGet, Status::DISP_E_UNKNOWNNAME, 0, 0},
      {"", InvokeKind::Method, Status::DISP_E_UNKNOWNNAME, 0, 0},
  };
  for (const BindCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Binding binding = kType.Bind(c.name, c.kind);
    EXPECT_EQ(binding.status, c.status);
    if (Succeeded(c.status)) {
      EXPECT_EQ(binding.member.id, c.id);
      EXPECT_EQ(binding.member.kind, c.kind);
      EXPECT_EQ(binding.member.parameterCount, c.parameterCount);
    }
  }
}

TEST(TypeInfoCheckInvocation, RefusesWhatTheMemberTableDoesNotAllow) {
  const Variant value = Variant::Int32(1);
  const std::array one{Variant::String("A1")};
  const std::array two{Variant::String("A1"), Variant::String("B2")};
  const std::array three{Variant::String("A1"), Variant::String("B2"), Variant::String("C3")};
  const std::array omittedFirst{Variant::Missing()};
  struct CheckCase {
    const char* label;
    DispatchId id;
    InvokeKind kind;
    CallArguments arguments;
    Status status;
  };
  const std::vector<CheckCase> cases = {
      {"put with its value", 0x63, InvokeKind::PropertyPut, {{}, &value}, Status::S_OK},
      {"put without a value", 0x63, InvokeKind::PropertyPut, {}, Status::DISP_E_PARAMNOTFOUND},
      {"get given a put value",
       0x63,
       InvokeKind::PropertyGet,
       {{}, &value},
       Status::DISP_E_PARAMNOTFOUND},
      {"unknown id", 0x999, InvokeKind::PropertyGet, {}, Status::DISP_E_MEMBERNOTFOUND},
      {"kind not offered", 0x12E, InvokeKind::PropertyGet, {}, Status::DISP_E_MEMBERNOTFOUND},
      {"optional omitted", 0xC5, InvokeKind::PropertyGet, {one}, Status::S_OK},
      {"all given", 0xC5, InvokeKind::PropertyGet, {two}, Status::S_OK},
      {"too many", 0xC5, InvokeKind::PropertyGet, {three}, Status::DISP_E_BADPARAMCOUNT},
      {"too few", 0xC5, InvokeKind::PropertyGet, {}, Status::DISP_E_BADPARAMCOUNT},
      {"required omitted",
       0xC5,
       InvokeKind::PropertyGet,
       {omittedFirst},
       Status::DISP_E_PARAMNOTOPTIONAL},
      {"variable list takes more", 0x30B, InvokeKind::Method, {three}, Status::S_OK},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.label);
    const MemberInfo* member = nullptr;
    EXPECT_EQ(kType.CheckInvocation(c.id, c.kind, c.arguments, &member), c.status);
    if (Succeeded(c.status)) {
      ASSERT_NE(member, nullptr);
      EXPECT_EQ(member->id, c.id);
    }
  }
}

}  // namespace
