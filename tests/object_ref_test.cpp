#include "render/automation/object_ref.h"

#include <gtest/gtest.h>

#include "render/automation/call_arguments.h"
#include "render/automation/variant.h"

namespace {

// An object that notes its own end, so a test sees exactly when the last reference went.
class Probe final : public AutomationObject {
 public:
  explicit Probe(bool* destroyed) : destroyed_(destroyed) {}
  ~Probe() override { *destroyed_ = true; }
  const TypeInfo* GetTypeInfo(LocaleId) const override { return nullptr; }
  Status Invoke(DispatchId, InvokeKind, const CallArguments&, Variant*, LocaleId) override {
    return Status::E_NOTIMPL;
  }

 private:
  bool* destroyed_;
};

TEST(ObjectRef, StoringANewReferenceReleasesTheOldOne) {
  const std::size_t before = LiveAutomationObjects();
  bool firstGone = false;
  bool secondGone = false;
  ObjectRef slot = MakeRef<Probe>(&firstGone);
  EXPECT_EQ(LiveAutomationObjects(), before + 1);
  slot = MakeRef<Probe>(&secondGone);
  EXPECT_TRUE(firstGone);
  EXPECT_FALSE(secondGone);
  slot.Reset();
  EXPECT_TRUE(secondGone);
  EXPECT_FALSE(slot);
  EXPECT_EQ(LiveAutomationObjects(), before);
}

TEST(ObjectRef, EachCopyOwnsAReferenceOfItsOwn) {
  bool gone = false;
  ObjectRef first = MakeRef<Probe>(&gone);
  ObjectRef second = first;
  Variant held = Variant::Object(second);
  first.Reset();
  second = nullptr;
  EXPECT_FALSE(gone) << "the variant still holds a reference";
  held = Variant();
  EXPECT_TRUE(gone);
}

TEST(ObjectRef, AssigningTheOnlyReferenceToItselfKeepsTheObject) {
  bool gone = false;
  ObjectRef slot = MakeRef<Probe>(&gone);
  ObjectRef& alias = slot;
  slot = alias;
  EXPECT_FALSE(gone);
  EXPECT_TRUE(slot);
}

}  // namespace
