#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "render/automation/automation_registry.h"
#include "render/automation/object_ref.h"

// The program's adapter over the spreadsheet application, reached only through the
// automation layer: it knows the spreadsheet's object model (members and dispatch ids), not
// which server answers. No operation shows anything or throws; a refused request leaves the
// links as they were, and the only signals are results (false, or an empty ComObject).

// A value that owns one counted reference to an object of the spreadsheet, or none (empty).
// A copy takes a reference of its own; ClearObject, or the end of the value, releases it.
class ComObject {
 public:
  ComObject() = default;
  explicit ComObject(ObjectRef object) : object_(std::move(object)) {}

  bool IsEmpty() const { return !object_; }
  AutomationObject* Get() const { return object_.Get(); }

 private:
  friend void ClearObject(ComObject& object);
  ObjectRef object_;
};

// The component that holds the running spreadsheet application (the window's `Excel程序1`).
class ApplicationLink {
 public:
  // Starts applications through `registry`, which must outlive the link.
  explicit ApplicationLink(const AutomationRegistry& registry = DefaultAutomationRegistry());

  // Releases a held application (without asking it to quit), then starts a new instance of
  // "Excel.Application". False, with the link empty, when none could be started.
  bool StartApplication();
  // Puts the application's Caption or Visible; nothing without an application.
  void SetApplicationCaption(const std::string& text);
  void SetApplicationVisible(bool visible);
  // Releases the application; it is not asked to quit.
  void ReleaseApplication();

  bool HoldsApplication() const { return static_cast<bool>(application_); }

 private:
  friend class WorkbookLink;

  const AutomationRegistry* registry_;
  ObjectRef application_;
};

// The component that holds one workbook, its sheets, the current worksheet and the current
// range (the window's `Excel工作簿1`).
class WorkbookLink {
 public:
  // Empties this link, then adds a new workbook to `application`'s Workbooks and makes its
  // first sheet current. False only when `application` holds no application; a request
  // refused on the way ends the steps with the handles filled so far, and is still true.
  bool CreateWorkbook(const ApplicationLink& application);
  void ActivateWorkbook();
  // Makes sheet `index` (1-based) current; a refused index keeps the current sheet.
  void SelectSheet(std::int32_t index);

  // Stores the first corner of the next range, whatever the state of the link.
  void SetRangeCell1(const std::string& address);
  // With a current worksheet: stores the second corner and asks for the range between the
  // two; the answer becomes the current range, a refusal keeps the previous one. Without a
  // worksheet nothing is stored or asked.
  void SetRangeCell2(const std::string& address);

  // New references to the current range, worksheet or workbook; empty when there is none.
  ComObject GetRangeObject() const { return ComObject(range_); }
  ComObject GetSheetObject() const { return ComObject(worksheet_); }
  ComObject GetWorkbookObject() const { return ComObject(workbook_); }

  // Saves the current worksheet's workbook under exactly `fileName`, in the application's
  // default format. True only when the workbook was written.
  bool SaveSheetAs(const std::string& fileName);

  // Releases every handle (the workbook is not closed) and forgets both corners.
  void ReleaseWorkbook();

 private:
  ObjectRef workbooks_;
  ObjectRef workbook_;
  ObjectRef sheets_;
  ObjectRef worksheet_;
  ObjectRef range_;
  std::string cell1_;
  std::string cell2_;
};

// Generic requests by member name, bound afresh on each call. Each fails quietly: on an
// empty object, an unknown name, a refused value or a result that is no object.
// SetObjectProperty passes its value as a 32-bit integer, a string (an empty text as a null
// string), a double or a boolean (true = -1): a colour value goes as std::int32_t, so the
// canvas's 0xFFFFFFFF arrives as -1.
ComObject GetObjectProperty(const ComObject& object, std::string_view name);
bool SetObjectProperty(const ComObject& object, std::string_view name, std::int32_t value);
bool SetObjectProperty(const ComObject& object, std::string_view name, const std::string& text);
bool SetObjectProperty(const ComObject& object, std::string_view name, const char* text);
bool SetObjectProperty(const ComObject& object, std::string_view name, double value);
bool SetObjectProperty(const ComObject& object, std::string_view name, bool value);
void CallObjectMethod(const ComObject& object, std::string_view name);

// Releases the object's reference; the ComObject is then empty. An empty one stays empty.
void ClearObject(ComObject& object);
