#pragma once

#include <memory>
#include <string>
#include <vector>

#include "render/engine/engine_object.h"
#include "render/engine/workbook_model.h"

// The root object of the embedded spreadsheet engine, what "Excel.Application" creates: it
// owns every workbook and the application's settings. An instance started through automation
// shows no window; Visible and Caption are kept as settings only.
class SpreadsheetApplication final : public EngineObject {
 public:
  SpreadsheetApplication() = default;

  // After Quit every object of this application refuses further requests.
  bool HasQuit() const { return quit_; }
  bool DisplayAlerts() const { return displayAlerts_; }

  // A new workbook as a blank workbook is made: "BookN" with one sheet, "Sheet1".
  WorkbookModel& AddWorkbook();
  void ActivateWorkbook(WorkbookModel& workbook) { activeWorkbook_ = &workbook; }
  std::size_t WorkbookCount() const { return workbooks_.size(); }

 protected:
  SpreadsheetApplication& Application() override { return *this; }
  const TypeInfo& Type() const override;
  Status InvokeMember(const MemberInfo& member, InvokeKind kind, const CallArguments& arguments,
                      Variant* result) override;

 private:
  std::string caption_ = "Microsoft Excel";
  bool visible_ = false;
  bool displayAlerts_ = true;
  bool quit_ = false;
  int workbooksMade_ = 0;
  std::vector<std::unique_ptr<WorkbookModel>> workbooks_;
  WorkbookModel* activeWorkbook_ = nullptr;
};
