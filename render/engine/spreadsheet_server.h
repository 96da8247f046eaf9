#pragma once

#include <string_view>

#include "render/automation/automation_registry.h"

// The programmatic id under which the spreadsheet application is started.
inline constexpr std::string_view kSpreadsheetProgrammaticId = "Excel.Application";

// Registers the embedded spreadsheet engine in `registry` under kSpreadsheetProgrammaticId:
// each instance created is a new application with no workbooks.
void RegisterSpreadsheetEngine(AutomationRegistry& registry);

// Prepares automation for the program: registers the embedded engine in the default
// registry. Start-up calls it once, before the window is made; calling it again is harmless.
void InitialiseAutomation();
