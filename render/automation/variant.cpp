#include "render/automation/variant.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "render/automation/ascii_case.h"

VariantType Variant::Type() const {
  switch (value_.index()) {
    case 0: return VariantType::Empty;
    case 1: return VariantType::Int32;
    case 2: return VariantType::Double;
    case 3: return VariantType::Bool;
    case 4:
    case 5: return VariantType::String;
    case 6: return VariantType::Object;
    default: return VariantType::Error;
  }
}

bool Variant::IsMissing() const {
  const auto* error = std::get_if<ErrorValue>(&value_);
  return error != nullptr && error->code == Status::DISP_E_PARAMNOTFOUND;
}

const std::string& Variant::AsString() const {
  static const std::string kEmpty;
  if (IsNullString()) return kEmpty;
  return std::get<std::string>(value_);
}

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A decimal number, optionally signed and with an exponent; nothing else (no "inf", no hex).
Status ParseNumber(std::string_view text, double& out) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.')) {
    return Status::DISP_E_TYPEMISMATCH;
  }
  double parsed = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::general);
  if (end != text.data() + text.size()) return Status::DISP_E_TYPEMISMATCH;
  if (error == std::errc::result_out_of_range) return Status::DISP_E_OVERFLOW;
  if (error != std::errc()) return Status::DISP_E_TYPEMISMATCH;
  out = negative ? -parsed : parsed;
  return Status::S_OK;
}

Status RoundToInt32(double value, std::int32_t& out) {
  const double rounded = std::nearbyint(value);  // the default rounding mode: half to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return Status::DISP_E_OVERFLOW;
  out = static_cast<std::int32_t>(rounded);
  return Status::S_OK;
}

}  // namespace

Status ToDouble(const Variant& value, double& out) {
  switch (value.Type()) {
    case VariantType::Empty: out = 0; return Status::S_OK;
    case VariantType::Int32: out = value.AsInt32(); return Status::S_OK;
    case VariantType::Double: out = value.AsDouble(); return Status::S_OK;
    case VariantType::Bool: out = value.AsBool(); return Status::S_OK;
    case VariantType::String: return ParseNumber(value.AsString(), out);
    case VariantType::Object:
    case VariantType::Error: break;
  }
  return Status::DISP_E_TYPEMISMATCH;
}

Status ToInt32(const Variant& value, std::int32_t& out) {
  if (value.Type() == VariantType::Int32) {
    out = value.AsInt32();
    return Status::S_OK;
  }
  double number = 0;
  const Status status = ToDouble(value, number);
  if (Failed(status)) return status;
  return RoundToInt32(number, out);
}

Status ToBool(const Variant& value, bool& out) {
  if (value.Type() == VariantType::String) {
    const std::string_view text = TrimBlanks(value.AsString());
    if (EqualsIgnoringAsciiCase(text, "true")) {
      out = true;
      return Status::S_OK;
    }
    if (EqualsIgnoringAsciiCase(text, "false")) {
      out = false;
      return Status::S_OK;
    }
  }
  double number = 0;
  const Status status = ToDouble(value, number);
  if (Failed(status)) return status;
  out = number != 0;
  return Status::S_OK;
}

Status ToString(const Variant& value, std::string& out) {
  char digits[32];
  switch (value.Type()) {
    case VariantType::Empty: out.clear(); return Status::S_OK;
    case VariantType::String: out = value.AsString(); return Status::S_OK;
    case VariantType::Bool: out = value.AsBool() != 0 ? "True" : "False"; return Status::S_OK;
    case VariantType::Int32: {
      const auto result = std::to_chars(digits, digits + sizeof digits, value.AsInt32());
      out.assign(digits, result.ptr);
      return Status::S_OK;
    }
    case VariantType::Double: {
      const auto result = std::to_chars(digits, digits + sizeof digits, value.AsDouble());
      out.assign(digits, result.ptr);
      return Status::S_OK;
    }
    case VariantType::Object:
    case VariantType::Error: break;
  }
  return Status::DISP_E_TYPEMISMATCH;
}
