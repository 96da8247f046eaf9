#include "render/automation/automation_registry.h"

#include <gtest/gtest.h>

#include <new>

#include "render/automation/call_arguments.h"
#include "render/automation/variant.h"

namespace {

class Server final : public AutomationObject {
 public:
  const TypeInfo* GetTypeInfo(LocaleId) const override { return nullptr; }
  Status Invoke(DispatchId, InvokeKind, const CallArguments&, Variant*, LocaleId) override {
    return Status::E_NOTIMPL;
  }
};

TEST(AutomationRegistry, AnEmptyRegistryStartsNothing) {
  const AutomationRegistry empty;
  ObjectRef created;
  EXPECT_EQ(empty.CreateInstance("Excel.Application", created), Status::REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(created);
}

TEST(AutomationRegistry, CreatesANewInstanceForAnyCaseOfTheId) {
  AutomationRegistry registry;
  registry.Register("Excel.Application", [](ObjectRef& created) {
    created = MakeRef<Server>();
    return Status::S_OK;
  });
  ObjectRef first;
  ObjectRef second;
  ASSERT_EQ(registry.CreateInstance("excel.application", first), Status::S_OK);
  ASSERT_EQ(registry.CreateInstance("Excel.Application", second), Status::S_OK);
  EXPECT_TRUE(first);
  EXPECT_NE(first.Get(), second.Get());
  EXPECT_EQ(registry.CreateInstance("Excel.Sheet", first), Status::REGDB_E_CLASSNOTREG);
}

TEST(AutomationRegistry, AFailingServerLeavesTheSlotAsItWas) {
  const std::size_t before = LiveAutomationObjects();
  struct FailureCase {
    const char* label;
    ServerFactory factory;
    Status status;
  };
  const FailureCase cases[] = {
      {"refuses", [](ObjectRef&) { return Status::E_FAIL; }, Status::E_FAIL},
      {"claims success with nothing", [](ObjectRef&) { return Status::S_OK; }, Status::E_FAIL},
      {"runs out of memory", [](ObjectRef&) -> Status { throw std::bad_alloc(); },
       Status::E_OUTOFMEMORY},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.label);
    AutomationRegistry registry;
    registry.Register("Excel.Application", c.factory);
    ObjectRef held = MakeRef<Server>();
    AutomationObject* const previous = held.Get();
    EXPECT_EQ(registry.CreateInstance("Excel.Application", held), c.status);
    EXPECT_EQ(held.Get(), previous);
  }
  EXPECT_EQ(LiveAutomationObjects(), before);
}

}  // namespace
