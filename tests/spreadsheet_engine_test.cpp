#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "render/automation/call_arguments.h"
#include "render/automation/variant.h"
#include "render/engine/range_object.h"
#include "render/engine/spreadsheet_server.h"
#include "render/engine/worksheet_object.h"
#include "tests/support/scratch_folder.h"

namespace {

// The spreadsheet object model's dispatch ids, as a client would use them.
constexpr DispatchId kApplication = 0x94;
constexpr DispatchId kCaption = 0x8B;
constexpr DispatchId kVisible = 0x22E;
constexpr DispatchId kDisplayAlerts = 0x157;
constexpr DispatchId kQuit = 0x12E;
constexpr DispatchId kActiveWorkbook = 0x134;
constexpr DispatchId kActivate = 0x130;
constexpr DispatchId kWorkbooks = 0x23C;
constexpr DispatchId kCount = 0x76;
constexpr DispatchId kAdd = 0xB5;
constexpr DispatchId kName = 0x6E;
constexpr DispatchId kSheets = 0x1E5;
constexpr DispatchId kItem = 0xAA;
constexpr DispatchId kRange = 0xC5;
constexpr DispatchId kCells = 0xEE;
constexpr DispatchId kInterior = 0x81;
constexpr DispatchId kColor = 0x63;
constexpr DispatchId kRowHeight = 0x110;
constexpr DispatchId kColumnWidth = 0xF2;
constexpr DispatchId kSaveAs = 0x11C;

Status Call(const ObjectRef& target, DispatchId member, InvokeKind kind,
            const std::vector<Variant>& arguments, Variant* result = nullptr) {
  return target->Invoke(member, kind, CallArguments{arguments, nullptr}, result, kNeutralLocale);
}

Status Get(const ObjectRef& target, DispatchId member, const std::vector<Variant>& arguments,
           Variant& result) {
  return Call(target, member, InvokeKind::PropertyGet, arguments, &result);
}

Status Put(const ObjectRef& target, DispatchId member, const Variant& value) {
  return target->Invoke(member, InvokeKind::PropertyPut, CallArguments{{}, &value}, nullptr,
                        kNeutralLocale);
}

// The object a request returns; a failed request fails the test.
ObjectRef ObjectFrom(const ObjectRef& target, DispatchId member, InvokeKind kind,
                     const std::vector<Variant>& arguments = {}) {
  Variant result;
  const Status status = Call(target, member, kind, arguments, &result);
  EXPECT_EQ(status, Status::S_OK) << "member 0x" << std::hex << member;
  return result.Type() == VariantType::Object ? result.AsObject() : ObjectRef();
}

// A running engine with one new workbook whose first sheet is at hand. Every test ends with
// all references released and checks that no engine object outlives them.
class SpreadsheetEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSpreadsheetEngine(registry_);
    ASSERT_EQ(registry_.CreateInstance("Excel.Application", application_), Status::S_OK);
    workbooks_ = ObjectFrom(application_, kWorkbooks, InvokeKind::PropertyGet);
    workbook_ = ObjectFrom(workbooks_, kAdd, InvokeKind::Method, {Variant::Missing()});
    sheets_ = ObjectFrom(workbook_, kSheets, InvokeKind::PropertyGet);
    worksheet_ = ObjectFrom(sheets_, kItem, InvokeKind::PropertyGet, {Variant::Int32(1)});
    ASSERT_TRUE(worksheet_);
  }

  void TearDown() override {
    application_ = workbooks_ = workbook_ = sheets_ = worksheet_ = nullptr;
    EXPECT_EQ(LiveAutomationObjects(), 0u);
  }

  SheetModel& Sheet() const { return dynamic_cast<WorksheetObject&>(*worksheet_).Sheet(); }

  ObjectRef Range(const char* reference) const {
    return ObjectFrom(worksheet_, kRange, InvokeKind::PropertyGet, {Variant::String(reference)});
  }

  AutomationRegistry registry_;
  ObjectRef application_, workbooks_, workbook_, sheets_, worksheet_;
};

TEST_F(SpreadsheetEngine, ABlankWorkbookHasOneSheetNamedSheet1) {
  Variant value;
  ASSERT_EQ(Get(workbooks_, kCount, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsInt32(), 1);
  ASSERT_EQ(Get(sheets_, kCount, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsInt32(), 1);
  ASSERT_EQ(Get(worksheet_, kName, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsString(), "Sheet1");
  ASSERT_EQ(Get(workbook_, kName, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsString(), "Book1");

  // There are no template files: naming one is refused and adds nothing.
  EXPECT_EQ(Call(workbooks_, kAdd, InvokeKind::Method, {Variant::String("report.xltx")}),
            Status::E_NOTIMPL);
  ASSERT_EQ(Get(workbooks_, kCount, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsInt32(), 1);
}

TEST_F(SpreadsheetEngine, ActivateMakesAWorkbookTheActiveOne) {
  const auto activeName = [this] {
    Variant name;
    EXPECT_EQ(
        Get(ObjectFrom(application_, kActiveWorkbook, InvokeKind::PropertyGet), kName, {}, name),
        Status::S_OK);
    return name.AsString();
  };
  EXPECT_EQ(activeName(), "Book1");
  const ObjectRef second = ObjectFrom(workbooks_, kAdd, InvokeKind::Method, {Variant::Missing()});
  EXPECT_EQ(activeName(), "Book2") << "a new workbook becomes the active one";
  ASSERT_EQ(Call(workbook_, kActivate, InvokeKind::Method, {}), Status::S_OK);
  EXPECT_EQ(activeName(), "Book1");
}

TEST_F(SpreadsheetEngine, SheetsItemChecksItsIndex) {
  struct IndexCase {
    const char* label;
    std::vector<Variant> arguments;
    Status status;
  };
  const std::vector<IndexCase> cases = {
      {"first", {Variant::Int32(1)}, Status::S_OK},
      {"by name, any case", {Variant::String("sheet1")}, Status::S_OK},
      {"number rounds", {Variant::Double(1.4)}, Status::S_OK},
      {"zero", {Variant::Int32(0)}, Status::DISP_E_BADINDEX},
      {"past the last", {Variant::Int32(2)}, Status::DISP_E_BADINDEX},
      {"negative", {Variant::Int32(-1)}, Status::DISP_E_BADINDEX},
      {"unknown name", {Variant::String("Sheet2")}, Status::DISP_E_BADINDEX},
      {"omitted", {Variant::Missing()}, Status::DISP_E_PARAMNOTOPTIONAL},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(c.label);
    Variant sheet;
    EXPECT_EQ(Get(sheets_, kItem, c.arguments, sheet), c.status);
    EXPECT_EQ(sheet.Type(), Succeeded(c.status) ? VariantType::Object : VariantType::Empty);
  }
}

TEST_F(SpreadsheetEngine, RangeJoinsItsCornersAndRefusesWhatItCannotRead) {
  const auto area = [](const ObjectRef& range) {
    return dynamic_cast<const RangeObject&>(*range).Area();
  };
  const ObjectRef corner = Range("B2");
  ObjectRef joined = ObjectFrom(worksheet_, kRange, InvokeKind::PropertyGet,
                                {Variant::String("D4"), Variant::Object(corner)});
  EXPECT_EQ(area(joined), (CellRect{2, 2, 4, 4}));
  joined = ObjectFrom(worksheet_, kRange, InvokeKind::PropertyGet,
                      {Variant::String("C3"), Variant::String("A1:A2")});
  EXPECT_EQ(area(joined), (CellRect{1, 1, 3, 3}));

  // A range of another workbook's sheet is not a corner of this one.
  const ObjectRef otherBook =
      ObjectFrom(workbooks_, kAdd, InvokeKind::Method, {Variant::Missing()});
  const ObjectRef otherSheets = ObjectFrom(otherBook, kSheets, InvokeKind::PropertyGet);
  const ObjectRef otherSheet =
      ObjectFrom(otherSheets, kItem, InvokeKind::PropertyGet, {Variant::Int32(1)});
  const ObjectRef foreign =
      ObjectFrom(otherSheet, kRange, InvokeKind::PropertyGet, {Variant::String("A1")});

  const std::vector<std::vector<Variant>> refused = {
      {Variant::String("A0")},
      {Variant::String("")},
      {Variant::NullString()},
      {Variant::Int32(1)},
      {Variant::String("A1"), Variant::String("XFE1")},
      {Variant::Object(foreign)},
  };
  for (const auto& arguments : refused) {
    Variant result;
    EXPECT_EQ(Get(worksheet_, kRange, arguments, result), Status::DISP_E_EXCEPTION);
  }
}

TEST_F(SpreadsheetEngine, ColorTakesOnlyColoursAndARefusalLeavesTheCellAsItWas) {
  const ObjectRef interior = ObjectFrom(Range("B2"), kInterior, InvokeKind::PropertyGet);
  struct ColourCase {
    const char* label;
    Variant value;
    Status status;
    std::uint32_t fill;  // the cell's fill afterwards
  };
  const std::vector<ColourCase> cases = {
      {"a colour", Variant::Int32(0x123456), Status::S_OK, 0x123456},
      {"no colour (-1)", Variant::Int32(-1), Status::DISP_E_EXCEPTION, 0x123456},
      {"past white", Variant::Int32(0x1000000), Status::DISP_E_EXCEPTION, 0x123456},
      {"true is -1", Variant::Bool(true), Status::DISP_E_EXCEPTION, 0x123456},
      {"a word", Variant::String("red"), Status::DISP_E_TYPEMISMATCH, 0x123456},
      {"numeric text", Variant::String("255"), Status::S_OK, 255},
      {"double rounds", Variant::Double(65280.5), Status::S_OK, 65280},
      {"black", Variant::Int32(0), Status::S_OK, 0},
      {"white", Variant::Int32(0xFFFFFF), Status::S_OK, 0xFFFFFF},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Put(interior, kColor, c.value), c.status);
    EXPECT_EQ(Sheet().cells.At(2, 2), c.fill);
  }
  EXPECT_EQ(Sheet().cells.At(1, 1), kNoFill);
}

TEST_F(SpreadsheetEngine, ColorFillsEveryCellOfItsRangeButNeverAHugeOne) {
  ASSERT_EQ(Put(ObjectFrom(Range("B2:C3"), kInterior, InvokeKind::PropertyGet), kColor,
                Variant::Int32(7)),
            Status::S_OK);
  EXPECT_EQ(Sheet().cells.Rows(), 3);
  EXPECT_EQ(Sheet().cells.Columns(), 3);
  EXPECT_EQ(Sheet().cells.At(3, 3), 7u);
  EXPECT_EQ(Sheet().cells.At(1, 3), kNoFill);

  const ObjectRef cells = ObjectFrom(worksheet_, kCells, InvokeKind::PropertyGet);
  EXPECT_EQ(Put(ObjectFrom(cells, kInterior, InvokeKind::PropertyGet), kColor, Variant::Int32(9)),
            Status::E_OUTOFMEMORY);
  EXPECT_EQ(Sheet().cells.Rows(), 3);
  EXPECT_EQ(Sheet().cells.At(3, 3), 7u);
}

TEST_F(SpreadsheetEngine, RowHeightAndColumnWidthKeepTheSpreadsheetsLimits) {
  struct SizeCase {
    const char* label;
    DispatchId member;
    const char* range;  // nullptr: the sheet's Cells
    Variant value;
    Status status;
  };
  const std::vector<SizeCase> cases = {
      {"height as text", kRowHeight, nullptr, Variant::String("3"), Status::S_OK},
      {"tallest", kRowHeight, nullptr, Variant::Double(409), Status::S_OK},
      {"too tall", kRowHeight, nullptr, Variant::Double(409.25), Status::DISP_E_EXCEPTION},
      {"negative height", kRowHeight, nullptr, Variant::Int32(-1), Status::DISP_E_EXCEPTION},
      {"height not a number", kRowHeight, nullptr, Variant::String("tall"),
       Status::DISP_E_TYPEMISMATCH},
      {"height of whole columns", kRowHeight, "A:B", Variant::Int32(0), Status::S_OK},
      {"height of one row", kRowHeight, "A1", Variant::Int32(5), Status::E_NOTIMPL},
      {"narrow width", kColumnWidth, nullptr, Variant::Double(0.08), Status::S_OK},
      {"widest", kColumnWidth, nullptr, Variant::Int32(255), Status::S_OK},
      {"too wide", kColumnWidth, nullptr, Variant::Int32(256), Status::DISP_E_EXCEPTION},
      {"width of whole rows", kColumnWidth, "2:3", Variant::String("1.5"), Status::S_OK},
      {"width of one column", kColumnWidth, "A:A", Variant::Int32(5), Status::E_NOTIMPL},
  };
  const ObjectRef cells = ObjectFrom(worksheet_, kCells, InvokeKind::PropertyGet);
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.label);
    const ObjectRef target = c.range == nullptr ? cells : Range(c.range);
    Variant before;
    ASSERT_EQ(Get(target, c.member, {}, before), Status::S_OK);
    EXPECT_EQ(Put(target, c.member, c.value), c.status);
    Variant after;
    ASSERT_EQ(Get(target, c.member, {}, after), Status::S_OK);
    double expected = before.AsDouble();
    if (Succeeded(c.status)) {
      ASSERT_EQ(ToDouble(c.value, expected), Status::S_OK);
    }
    EXPECT_EQ(after.AsDouble(), expected);
  }
  EXPECT_EQ(Sheet().rowHeight, 0.0);
  EXPECT_EQ(Sheet().columnWidth, 1.5);
}

TEST_F(SpreadsheetEngine, SaveAsWritesTheDefaultFormatAndRefusesWhatItDoesNotModel) {
  const ScratchFolder folder;
  const std::string path = folder / "book";
  ASSERT_EQ(Put(application_, kDisplayAlerts, Variant::Bool(false)), Status::S_OK);
  struct SaveCase {
    const char* label;
    std::vector<Variant> arguments;
    Status status;
  };
  const std::vector<SaveCase> cases = {
      {"format omitted", {Variant::String(path)}, Status::S_OK},
      {"default format named", {Variant::String(path), Variant::Int32(51)}, Status::S_OK},
      {"another format", {Variant::String(path), Variant::Int32(56)}, Status::E_NOTIMPL},
      {"a password",
       {Variant::String(path), Variant::Missing(), Variant::String("secret")},
       Status::E_NOTIMPL},
      {"empty name", {Variant::String("")}, Status::DISP_E_EXCEPTION},
      {"name omitted", {Variant::Missing()}, Status::DISP_E_PARAMNOTOPTIONAL},
      {"folder missing", {Variant::String(folder / "no/book")}, Status::DISP_E_EXCEPTION},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove(path);
    EXPECT_EQ(Call(worksheet_, kSaveAs, InvokeKind::Method, c.arguments), c.status);
    EXPECT_EQ(std::filesystem::exists(path), Succeeded(c.status));
  }
}

TEST_F(SpreadsheetEngine, KeepsTheApplicationsSettings) {
  Variant value;
  ASSERT_EQ(Get(application_, kVisible, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsBool(), 0) << "an application started for automation shows no window";
  ASSERT_EQ(Get(application_, kDisplayAlerts, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsBool(), -1);

  ASSERT_EQ(Put(application_, kCaption, Variant::String("C:\\作品-1.xls")), Status::S_OK);
  ASSERT_EQ(Put(application_, kDisplayAlerts, Variant::Bool(false)), Status::S_OK);
  ASSERT_EQ(Get(application_, kCaption, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsString(), "C:\\作品-1.xls");
  ASSERT_EQ(Get(application_, kDisplayAlerts, {}, value), Status::S_OK);
  EXPECT_EQ(value.AsBool(), 0);
}

TEST_F(SpreadsheetEngine, EveryObjectLeadsBackToItsApplication) {
  const ObjectRef interior = ObjectFrom(Range("A1"), kInterior, InvokeKind::PropertyGet);
  EXPECT_EQ(ObjectFrom(interior, kApplication, InvokeKind::PropertyGet).Get(), application_.Get());
  EXPECT_EQ(ObjectFrom(workbook_, kApplication, InvokeKind::PropertyGet).Get(), application_.Get());
}

TEST_F(SpreadsheetEngine, AfterQuitEveryObjectRefusesButStillReleases) {
  const ObjectRef interior = ObjectFrom(Range("A1"), kInterior, InvokeKind::PropertyGet);
  ASSERT_EQ(Call(application_, kQuit, InvokeKind::Method, {}), Status::S_OK);
  Variant result;
  EXPECT_EQ(Get(worksheet_, kRange, {Variant::String("A1")}, result), Status::RPC_E_DISCONNECTED);
  EXPECT_EQ(Put(interior, kColor, Variant::Int32(1)), Status::RPC_E_DISCONNECTED);
  EXPECT_EQ(Get(application_, kCaption, {}, result), Status::RPC_E_DISCONNECTED);
  EXPECT_EQ(Sheet().cells.Rows(), 0);
}

}  // namespace
