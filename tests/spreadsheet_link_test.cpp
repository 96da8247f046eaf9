#include "render/spreadsheet_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "render/automation/call_arguments.h"
#include "render/automation/variant.h"
#include "render/engine/range_object.h"
#include "render/engine/spreadsheet_server.h"
#include "tests/support/recording_server.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every test ends with the links and ComObjects gone; no automation object may be left.
class LinkTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(LiveAutomationObjects(), 0u); }
};

// The embedded engine, as the program starts it.
class EngineLink : public LinkTest {
 protected:
  EngineLink() { RegisterSpreadsheetEngine(registry_); }

  // Starts an application and a workbook whose first sheet is current.
  void Open(ApplicationLink& application, WorkbookLink& workbook) {
    ASSERT_TRUE(application.StartApplication());
    ASSERT_TRUE(workbook.CreateWorkbook(application));
    ASSERT_FALSE(workbook.GetSheetObject().IsEmpty());
  }

  AutomationRegistry registry_;
};

// The same engine behind a recorder that logs every request reaching it.
class RecordedLink : public LinkTest {
 protected:
  void Open(ApplicationLink& application, WorkbookLink& workbook) {
    ASSERT_TRUE(application.StartApplication());
    ASSERT_TRUE(workbook.CreateWorkbook(application));
    server_.ClearRequests();
  }

  RecordingServer server_;
};

CellRect AreaOf(const ComObject& range) {
  return dynamic_cast<const RangeObject&>(*range.Get()).Area();
}

TEST_F(EngineLink, WithoutASpreadsheetApplicationNothingStarts) {
  const AutomationRegistry noSpreadsheet;
  ApplicationLink application(noSpreadsheet);
  EXPECT_FALSE(application.StartApplication());
  EXPECT_FALSE(application.HoldsApplication());
  WorkbookLink workbook;
  EXPECT_FALSE(workbook.CreateWorkbook(application));
  EXPECT_TRUE(workbook.GetWorkbookObject().IsEmpty());
}

TEST_F(RecordedLink, StartingAgainLetsGoOfTheOldInstanceWithoutAskingItToQuit) {
  ApplicationLink application(server_.Registry());
  ASSERT_TRUE(application.StartApplication());
  const std::size_t oneInstance = LiveAutomationObjects();
  ASSERT_TRUE(application.StartApplication());
  EXPECT_EQ(LiveAutomationObjects(), oneInstance) << "the first instance was not released";
  EXPECT_THAT(server_.Requests(), IsEmpty());
  application.ReleaseApplication();
}

TEST_F(RecordedLink, CreateWorkbookAddsABlankWorkbookAndTakesItsFirstSheet) {
  ApplicationLink application(server_.Registry());
  ASSERT_TRUE(application.StartApplication());
  WorkbookLink workbook;
  ASSERT_TRUE(workbook.CreateWorkbook(application));
  workbook.ActivateWorkbook();
  workbook.SelectSheet(1);
  application.SetApplicationCaption("/home/u/作品-1.xls");
  application.SetApplicationVisible(false);
  EXPECT_THAT(server_.Requests(),
              ElementsAre("Application.Workbooks get() @0", "Workbooks.Add method(missing) @0",
                          "Workbook.Sheets get() @0", "Sheets.Item get(int 1) @0",
                          "Workbook.Activate method() @0", "Sheets.Item get(int 1) @0",
                          "Application.Caption put(= \"/home/u/作品-1.xls\") @0",
                          "Application.Visible put(= bool 0) @0"));
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

TEST_F(EngineLink, CreateWorkbookWithoutAnApplicationEmptiesTheLink) {
  ApplicationLink application(registry_);
  WorkbookLink workbook;
  Open(application, workbook);
  workbook.SetRangeCell1("A1");
  workbook.SetRangeCell2("A1");
  ApplicationLink none(registry_);
  EXPECT_FALSE(workbook.CreateWorkbook(none));
  EXPECT_TRUE(workbook.GetWorkbookObject().IsEmpty());
  EXPECT_TRUE(workbook.GetSheetObject().IsEmpty());
  EXPECT_TRUE(workbook.GetRangeObject().IsEmpty());
  application.ReleaseApplication();
}

TEST_F(RecordedLink, SetRangeCell2AsksForTheRangeBetweenBothCorners) {
  ApplicationLink application(server_.Registry());
  WorkbookLink workbook;
  // Before any worksheet is current, the second corner asks for nothing.
  workbook.SetRangeCell1("B2");
  workbook.SetRangeCell2("B2");
  EXPECT_THAT(server_.Requests(), IsEmpty());
  EXPECT_TRUE(workbook.GetRangeObject().IsEmpty());

  Open(application, workbook);
  workbook.SetRangeCell1("C3");
  workbook.SetRangeCell2("A1");
  EXPECT_THAT(server_.Requests(), ElementsAre("Worksheet.Range get(\"C3\", \"A1\") @0"));
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

TEST_F(EngineLink, ARefusedAddressKeepsThePreviousRange) {
  ApplicationLink application(registry_);
  WorkbookLink workbook;
  Open(application, workbook);
  workbook.SetRangeCell1("B2");
  workbook.SetRangeCell2("B2");
  for (const char* refused : {"", "A0", "1A", "XFE1", "A1048577", "A1:B2:C3"}) {
    SCOPED_TRACE(refused);
    workbook.SetRangeCell1(refused);
    workbook.SetRangeCell2(refused);
    const ComObject range = workbook.GetRangeObject();
    ASSERT_FALSE(range.IsEmpty());
    EXPECT_EQ(AreaOf(range), (CellRect{2, 2, 2, 2}));
  }
  workbook.SetRangeCell1("XFD1048576");
  workbook.SetRangeCell2("XFD1048576");
  EXPECT_EQ(AreaOf(workbook.GetRangeObject()),
            (CellRect{kSheetRows, kSheetColumns, kSheetRows, kSheetColumns}));
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

TEST_F(EngineLink, SelectSheetBeyondTheSheetsKeepsTheCurrentOne) {
  ApplicationLink application(registry_);
  WorkbookLink workbook;
  Open(application, workbook);
  const ComObject before = workbook.GetSheetObject();
  for (const int index : {0, 2, -1}) {
    workbook.SelectSheet(index);
    EXPECT_EQ(workbook.GetSheetObject().Get(), before.Get()) << "index " << index;
  }
  workbook.SelectSheet(1);
  EXPECT_NE(workbook.GetSheetObject().Get(), before.Get()) << "a new sheet object replaces it";
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

TEST_F(RecordedLink, ByNameOperationsBindInTheirOrderAndPassTheUsersLocale) {
  ApplicationLink application(server_.Registry());
  WorkbookLink workbook;
  Open(application, workbook);
  ComObject book = workbook.GetWorkbookObject();
  ComObject cells = GetObjectProperty(workbook.GetSheetObject(), "Cells");
  ComObject app = GetObjectProperty(book, "application");  // names bind in any case

  // A get that binds as a method (Activate) runs, but gives no object.
  EXPECT_TRUE(GetObjectProperty(book, "Activate").IsEmpty());
  // A method bound for a put takes no value, so nothing is sent.
  EXPECT_FALSE(SetObjectProperty(app, "Quit", 1));
  // A call that binds as a get (Sheets) is made as a get.
  CallObjectMethod(book, "Sheets");
  EXPECT_TRUE(SetObjectProperty(cells, "RowHeight", std::string("3")));
  EXPECT_TRUE(SetObjectProperty(cells, "ColumnWidth", 0.23));
  EXPECT_FALSE(SetObjectProperty(cells, "RowHeight", ""));  // no text is a null string
  EXPECT_TRUE(SetObjectProperty(app, "DisplayAlerts", false));
  CallObjectMethod(app, "Quit");

  EXPECT_THAT(server_.Requests(),
              ElementsAre("Worksheet.Cells get() @1024", "Workbook.Application get() @1024",
                          "Workbook.Activate method() @1024", "Workbook.Sheets get() @1024",
                          "Range.RowHeight put(= \"3\") @1024",
                          "Range.ColumnWidth put(= double 0.23) @1024",
                          "Range.RowHeight put(= null) @1024 -> DISP_E_TYPEMISMATCH",
                          "Application.DisplayAlerts put(= bool 0) @1024",
                          "Application.Quit method() @1024"));
  for (ComObject* object : {&book, &cells, &app}) ClearObject(*object);
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

TEST_F(EngineLink, ByNameOperationsFailQuietly) {
  ApplicationLink application(registry_);
  WorkbookLink workbook;
  Open(application, workbook);
  const ComObject sheet = workbook.GetSheetObject();
  EXPECT_TRUE(GetObjectProperty(sheet, "Interiour").IsEmpty());
  EXPECT_TRUE(GetObjectProperty(sheet, "Name").IsEmpty()) << "a text is no object";
  const ComObject empty;
  EXPECT_TRUE(GetObjectProperty(empty, "Interior").IsEmpty());
  EXPECT_FALSE(SetObjectProperty(empty, "Color", 0));
  CallObjectMethod(empty, "Quit");

  // An object without type information cannot be reached by name.
  class Opaque final : public AutomationObject {
   public:
    const TypeInfo* GetTypeInfo(LocaleId) const override { return nullptr; }
    Status Invoke(DispatchId, InvokeKind, const CallArguments&, Variant*, LocaleId) override {
      ADD_FAILURE() << "nothing may be invoked without binding a name";
      return Status::E_FAIL;
    }
  };
  const ComObject opaque(MakeRef<Opaque>());
  EXPECT_TRUE(GetObjectProperty(opaque, "Interior").IsEmpty());
  EXPECT_FALSE(SetObjectProperty(opaque, "Color", 0));
  CallObjectMethod(opaque, "Quit");
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

// An object whose members answer to several kinds each, so the kind a by-name operation
// tries first is the one it uses. It notes the kind of every invocation.
class ManyKinds final : public AutomationObject {
 public:
  explicit ManyKinds(std::vector<InvokeKind>* invoked) : invoked_(invoked) {}
  const TypeInfo* GetTypeInfo(LocaleId) const override { return &kType; }
  Status Invoke(DispatchId, InvokeKind kind, const CallArguments&, Variant* result,
                LocaleId) override {
    invoked_->push_back(kind);
    if (result != nullptr) *result = Variant::Object(ObjectRef(this));
    return Status::S_OK;
  }

 private:
  static constexpr unsigned kAll = InvokeKind::Method | InvokeKind::PropertyGet |
                                   InvokeKind::PropertyPut | InvokeKind::PropertyPutRef;
  static constexpr std::array kMembers{
      MemberInfo{"All", 1, kAll},
      MemberInfo{"NoGet", 2,
                 InvokeKind::Method | InvokeKind::PropertyPut | InvokeKind::PropertyPutRef, 1},
      MemberInfo{"RefOrMethod", 3, InvokeKind::Method | InvokeKind::PropertyPutRef, 1},
      MemberInfo{"GetOrPut", 4, InvokeKind::PropertyGet | InvokeKind::PropertyPut},
  };
  static constexpr TypeInfo kType{"ManyKinds", kMembers};
  std::vector<InvokeKind>* invoked_;
};

TEST_F(LinkTest, EachByNameOperationTriesTheKindsInItsOwnOrder) {
  std::vector<InvokeKind> invoked;
  {
    const ComObject object(MakeRef<ManyKinds>(&invoked));
    EXPECT_FALSE(GetObjectProperty(object, "All").IsEmpty());    // get before method
    EXPECT_TRUE(SetObjectProperty(object, "All", 1));            // put before the rest
    CallObjectMethod(object, "All");                             // method before the rest
    EXPECT_TRUE(SetObjectProperty(object, "RefOrMethod", 1));    // put by reference next
    CallObjectMethod(object, "GetOrPut");                        // then get
    CallObjectMethod(object, "NoGet");                           // method first again
    EXPECT_FALSE(GetObjectProperty(object, "NoGet").IsEmpty());  // no get: method
  }
  EXPECT_THAT(invoked,
              ElementsAre(InvokeKind::PropertyGet, InvokeKind::PropertyPut, InvokeKind::Method,
                          InvokeKind::PropertyPutRef, InvokeKind::PropertyGet, InvokeKind::Method,
                          InvokeKind::Method));
}

TEST_F(RecordedLink, SaveSheetAsPassesTheFileNameAndOmitsEverythingElse) {
  ApplicationLink application(server_.Registry());
  WorkbookLink workbook;
  Open(application, workbook);
  // A folder that does not exist: the save fails, and says so.
  EXPECT_FALSE(workbook.SaveSheetAs("/nonexistent-folder/作品 1"));
  EXPECT_THAT(server_.Requests(),
              ElementsAre("Worksheet.SaveAs method(\"/nonexistent-folder/作品 1\", missing, "
                          "missing, missing, missing, missing, missing, missing, missing) @0 "
                          "-> DISP_E_EXCEPTION"));
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

TEST_F(RecordedLink, SaveAndClearWithoutAWorkbookDoNothing) {
  ApplicationLink application(server_.Registry());
  WorkbookLink workbook;
  Open(application, workbook);
  workbook.ReleaseWorkbook();
  EXPECT_FALSE(workbook.SaveSheetAs("/tmp/never-written.xlsx"));
  ComObject empty;
  ClearObject(empty);
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_THAT(server_.Requests(), IsEmpty());
  application.ReleaseApplication();
}

// One cell the way the conversion colours it, from its address to its cleared interior.
void ColourCell(WorkbookLink& workbook, ComObject& previousRange, const std::string& address,
                std::int32_t colour) {
  workbook.SetRangeCell1(address);
  workbook.SetRangeCell2(address);
  ComObject range = workbook.GetRangeObject();
  ClearObject(previousRange);
  previousRange = range;
  ComObject interior = GetObjectProperty(range, "Interior");
  SetObjectProperty(interior, "Color", colour);
  ClearObject(interior);
}

TEST_F(RecordedLink, ColouringACellSendsThreeRequests) {
  ApplicationLink application(server_.Registry());
  WorkbookLink workbook;
  Open(application, workbook);
  ComObject range;
  ColourCell(workbook, range, "B1", 0x0000FF);
  ColourCell(workbook, range, "ADT600", -1);  // a point off the canvas: refused, nothing set
  EXPECT_THAT(
      server_.Requests(),
      ElementsAre("Worksheet.Range get(\"B1\", \"B1\") @0", "Range.Interior get() @1024",
                  "Interior.Color put(= int 255) @1024",
                  "Worksheet.Range get(\"ADT600\", \"ADT600\") @0", "Range.Interior get() @1024",
                  "Interior.Color put(= int -1) @1024 -> DISP_E_EXCEPTION"));
  ClearObject(range);
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
}

TEST_F(EngineLink, EveryReferenceIsReleasedWhenTheLinksAndObjectsLetGo) {
  ApplicationLink application(registry_);
  WorkbookLink workbook;
  Open(application, workbook);
  ComObject range;
  for (const char* address : {"A1", "B1", "A2", "B2"})
    ColourCell(workbook, range, address, 0x336699);
  ComObject sheet = workbook.GetSheetObject();
  ComObject book = workbook.GetWorkbookObject();
  ComObject app = GetObjectProperty(book, "Application");
  CallObjectMethod(app, "Quit");
  ClearObject(app);
  workbook.ReleaseWorkbook();
  application.ReleaseApplication();
  EXPECT_GT(LiveAutomationObjects(), 0u) << "the run's own references still hold the engine";
  ClearObject(range);
  ClearObject(sheet);
  ClearObject(book);
  EXPECT_EQ(LiveAutomationObjects(), 0u);
}

}  // namespace
