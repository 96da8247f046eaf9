#include "render/engine/worksheet_object.h"

#include <array>
#include <filesystem>
#include <string>
#include <system_error>

#include "render/engine/range_object.h"
#include "render/engine/spreadsheet_application.h"
#include "render/engine/xlsx_writer.h"

namespace {

constexpr DispatchId kName = 0x6E;
constexpr DispatchId kRange = 0xC5;
constexpr DispatchId kCells = 0xEE;
constexpr DispatchId kSaveAs = 0x11C;

// SaveAs(Filename, FileFormat, Password, WriteResPassword, ReadOnlyRecommended, CreateBackup,
// AddToMru, TextCodepage, TextVisualLayout, Local): all but the file name may be omitted.
constexpr int kSaveAsParameters = 10;
// The spreadsheet's default format, Office Open XML (xlOpenXMLWorkbook).
constexpr std::int32_t kOpenXmlWorkbook = 51;

constexpr std::array kMembers{
    MemberInfo{"Application", kDispatchApplication, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Cells", kCells, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Name", kName, KindBit(InvokeKind::PropertyGet)},
    MemberInfo{"Range", kRange, KindBit(InvokeKind::PropertyGet), 2, 1},
    MemberInfo{"SaveAs", kSaveAs, KindBit(InvokeKind::Method), kSaveAsParameters,
               kSaveAsParameters - 1},
};
constexpr TypeInfo kType{"Worksheet", kMembers};

// Only the default format is written, and none of the options (passwords, backups, code
// pages) is modelled: anything but an omitted argument is refused rather than ignored.
Status CheckSaveOptions(const CallArguments& arguments) {
  const auto& given = arguments.positional;
  for (std::size_t i = 1; i < given.size(); ++i) {
    if (given[i].IsMissing()) continue;
    std::int32_t format = 0;
    const bool namesTheDefaultFormat =
        i == 1 && Succeeded(ToInt32(given[i], format)) && format == kOpenXmlWorkbook;
    if (!namesTheDefaultFormat) return Status::E_NOTIMPL;
  }
  return Status::S_OK;
}

SheetContent ContentOf(SheetModel& sheet) {
  SheetContent content;
  content.name = sheet.name;
  content.fills = sheet.cells.PackedFills();
  content.rows = sheet.cells.Rows();
  content.columns = sheet.cells.Columns();
  content.rowHeight = sheet.rowHeight;
  content.columnWidth = sheet.columnWidth;
  return content;
}

}  // namespace

const TypeInfo& WorksheetObject::Type() const { return kType; }

// A corner of Range is a reference text or a range of this same sheet.
std::optional<CellRect> WorksheetObject::AreaOf(const Variant& corner) const {
  if (corner.Type() == VariantType::String) return ParseCellReference(corner.AsString());
  if (corner.Type() == VariantType::Object) {
    const auto* range = dynamic_cast<const RangeObject*>(corner.AsObject().Get());
    if (range != nullptr && &range->Sheet() == sheet_) return range->Area();
  }
  return std::nullopt;
}

Status WorksheetObject::GetRange(const CallArguments& arguments, Variant* result) {
  // A reference the sheet cannot read fails as the spreadsheet's Range does: with an error
  // raised by the member, not a type mismatch.
  auto area = AreaOf(Argument(arguments, 0));
  if (!area) return Status::DISP_E_EXCEPTION;
  const Variant& secondCorner = Argument(arguments, 1);
  if (!secondCorner.IsMissing()) {
    const auto second = AreaOf(secondCorner);
    if (!second) return Status::DISP_E_EXCEPTION;
    area = BoundingRect(*area, *second);
  }
  return Return(result, Variant::Object(MakeRef<RangeObject>(Application(), *sheet_, *area)));
}

// Saves the workbook, which holds this one sheet, under exactly the name given. With alerts
// on, an existing file would need someone to confirm its replacement; nobody can, so the save
// is refused as if the replacement had been declined.
Status WorksheetObject::SaveAs(const CallArguments& arguments) {
  std::string fileName;
  const Status read = ToString(Argument(arguments, 0), fileName);
  if (Failed(read)) return read;
  if (fileName.empty()) return Status::DISP_E_EXCEPTION;
  const Status options = CheckSaveOptions(arguments);
  if (Failed(options)) return options;
  std::error_code ignored;
  if (Application().DisplayAlerts() && std::filesystem::exists(fileName, ignored)) {
    return Status::DISP_E_EXCEPTION;
  }
  return WriteWorkbook(fileName, ContentOf(*sheet_)).written ? Status::S_OK
                                                             : Status::DISP_E_EXCEPTION;
}

Status WorksheetObject::InvokeMember(const MemberInfo& member, InvokeKind,
                                     const CallArguments& arguments, Variant* result) {
  switch (member.id) {
    case kName: return Return(result, Variant::String(sheet_->name));
    case kRange: return GetRange(arguments, result);
    case kCells:
      return Return(result,
                    Variant::Object(MakeRef<RangeObject>(Application(), *sheet_, kWholeSheet)));
    case kSaveAs: return SaveAs(arguments);
    default: return Status::DISP_E_MEMBERNOTFOUND;
  }
}
