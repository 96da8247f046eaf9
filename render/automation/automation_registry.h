#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/automation/object_ref.h"
#include "render/automation/status.h"

// Makes a new instance of an automation server; on success `created` holds its root object.
using ServerFactory = std::function<Status(ObjectRef& created)>;

// The servers that can be started by programmatic id ("Excel.Application"). The program uses
// the default registry, which start-up fills; a test makes its own, and an empty one stands
// for a machine on which no such server is installed.
class AutomationRegistry {
 public:
  // Registers `factory` under `programmaticId` (any case), replacing an earlier one.
  void Register(std::string programmaticId, ServerFactory factory);
  bool IsRegistered(std::string_view programmaticId) const;

  // Starts a new instance: REGDB_E_CLASSNOTREG when nothing is registered under the id, the
  // factory's failure when it fails. `created` changes only on success.
  Status CreateInstance(std::string_view programmaticId, ObjectRef& created) const;

 private:
  const ServerFactory* Find(std::string_view programmaticId) const;

  std::vector<std::pair<std::string, ServerFactory>> servers_;
};

AutomationRegistry& DefaultAutomationRegistry();
