#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

#include "render/automation/object_ref.h"
#include "render/automation/status.h"

enum class VariantType { Empty, Int32, Double, Bool, String, Object, Error };

// One value passed to or returned from an automation member. Strings are UTF-8, which is the
// system code page here; a null string is a string that was never given, and reads as empty.
// A boolean is stored as automation stores it: true is -1, false is 0. An omitted argument is
// the error value DISP_E_PARAMNOTFOUND.
class Variant {
 public:
  Variant() = default;

  static Variant Int32(std::int32_t value) { return Variant(value); }
  static Variant Double(double value) { return Variant(value); }
  static Variant Bool(bool value) { return Variant(BoolValue{value ? kTrue : kFalse}); }
  static Variant String(std::string text) { return Variant(std::move(text)); }
  static Variant NullString() { return Variant(NullStringValue{}); }
  static Variant Object(ObjectRef object) { return Variant(std::move(object)); }
  static Variant Error(Status code) { return Variant(ErrorValue{code}); }
  static Variant Missing() { return Error(Status::DISP_E_PARAMNOTFOUND); }

  static constexpr std::int16_t kTrue = -1;
  static constexpr std::int16_t kFalse = 0;

  VariantType Type() const;
  bool IsMissing() const;
  bool IsNullString() const { return std::holds_alternative<NullStringValue>(value_); }

  // Each accessor needs the matching Type().
  std::int32_t AsInt32() const { return std::get<std::int32_t>(value_); }
  double AsDouble() const { return std::get<double>(value_); }
  std::int16_t AsBool() const { return std::get<BoolValue>(value_).value; }
  const std::string& AsString() const;
  const ObjectRef& AsObject() const { return std::get<ObjectRef>(value_); }
  Status AsError() const { return std::get<ErrorValue>(value_).code; }

 private:
  struct BoolValue {
    std::int16_t value;
  };
  struct NullStringValue {};
  struct ErrorValue {
    Status code;
  };
  using Value = std::variant<std::monostate, std::int32_t, double, BoolValue, std::string,
                             NullStringValue, ObjectRef, ErrorValue>;

  template <class T>
  explicit Variant(T&& value) : value_(std::forward<T>(value)) {}

  Value value_;
};

// Conversions by automation's coercion rules: an empty value reads as 0, "" or false; a
// boolean as -1 or 0; a string must hold a number (surrounding blanks allowed) to become one,
// read the same in every locale; a double becomes an integer by rounding half to even. An
// object, an error value or an unparsable string is DISP_E_TYPEMISMATCH, a number out of
// range DISP_E_OVERFLOW. On failure `out` is left as it was.
Status ToInt32(const Variant& value, std::int32_t& out);
Status ToDouble(const Variant& value, double& out);
Status ToBool(const Variant& value, bool& out);
Status ToString(const Variant& value, std::string& out);
