#include "render/engine/spreadsheet_server.h"

#include <string>

#include "render/engine/spreadsheet_application.h"

void RegisterSpreadsheetEngine(AutomationRegistry& registry) {
  registry.Register(std::string(kSpreadsheetProgrammaticId), [](ObjectRef& created) {
    created = MakeRef<SpreadsheetApplication>();
    return Status::S_OK;
  });
}

void InitialiseAutomation() { RegisterSpreadsheetEngine(DefaultAutomationRegistry()); }
