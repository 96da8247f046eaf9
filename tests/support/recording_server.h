#pragma once

#include <memory>
#include <string>
#include <vector>

#include "render/automation/automation_registry.h"

// A spreadsheet server for tests that logs every request reaching the application: it starts
// the embedded engine and wraps each object it hands out, so every object reached from it is
// wrapped too. One line per request:
//
//   Worksheet.Range get("A1", "A1") @0
//   Interior.Color put(= int 255) @1024
//   Sheets.Item get(int 2) @0 -> DISP_E_BADINDEX
//
// the object's type, the member, the kind (method, get, put, putref), the positional
// arguments, a put's value after "=", the locale, and the failure if the request failed.
// Values: int N, double N, bool -1/0, "text", null (a null string), missing, empty, <Type>.
class RecordingServer {
 public:
  RecordingServer();
  RecordingServer(const RecordingServer&) = delete;
  RecordingServer& operator=(const RecordingServer&) = delete;

  // A registry in which "Excel.Application" starts a recorded engine.
  const AutomationRegistry& Registry() const { return registry_; }

  const std::vector<std::string>& Requests() const { return *log_; }
  void ClearRequests() { log_->clear(); }

 private:
  std::shared_ptr<std::vector<std::string>> log_;
  AutomationRegistry engine_;
  AutomationRegistry registry_;
};
