#include "render/automation/automation_object.h"

namespace {
// Objects live on the one apartment thread, so a plain counter is enough.
std::size_t liveObjects = 0;
}  // namespace

AutomationObject::AutomationObject() noexcept { ++liveObjects; }

AutomationObject::~AutomationObject() { --liveObjects; }

// Out of line: the compiler cannot follow the count, and inlined deletes make it warn about
// uses after free that never happen.
void AutomationObject::Release() noexcept {
  if (--references_ == 0) delete this;
}

std::size_t LiveAutomationObjects() { return liveObjects; }
