#include "render/automation/automation_registry.h"

#include <new>

#include "render/automation/ascii_case.h"

void AutomationRegistry::Register(std::string programmaticId, ServerFactory factory) {
  for (auto& [id, existing] : servers_) {
    if (EqualsIgnoringAsciiCase(id, programmaticId)) {
      existing = std::move(factory);
      return;
    }
  }
  servers_.emplace_back(std::move(programmaticId), std::move(factory));
}

const ServerFactory* AutomationRegistry::Find(std::string_view programmaticId) const {
  for (const auto& [id, factory] : servers_) {
    if (EqualsIgnoringAsciiCase(id, programmaticId)) return &factory;
  }
  return nullptr;
}

bool AutomationRegistry::IsRegistered(std::string_view programmaticId) const {
  return Find(programmaticId) != nullptr;
}

Status AutomationRegistry::CreateInstance(std::string_view programmaticId,
                                          ObjectRef& created) const {
  const ServerFactory* factory = Find(programmaticId);
  if (factory == nullptr || !*factory) return Status::REGDB_E_CLASSNOTREG;
  ObjectRef instance;
  Status status = Status::E_OUTOFMEMORY;
  try {
    status = (*factory)(instance);
  } catch (const std::bad_alloc&) {
    // reported as E_OUTOFMEMORY: failures never leave the layer as exceptions
  }
  if (Failed(status)) return status;
  if (!instance) return Status::E_FAIL;  // a factory that claims success must deliver
  created = std::move(instance);
  return Status::S_OK;
}

AutomationRegistry& DefaultAutomationRegistry() {
  static AutomationRegistry registry;
  return registry;
}
