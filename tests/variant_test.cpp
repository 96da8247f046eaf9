#include "render/automation/variant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A value that the conversions must not touch when they fail.
constexpr double kUntouched = 1234.5;

struct NumberCase {
  const char* label;
  Variant value;
  Status status;
  double expected;  // when the conversion succeeds
};

TEST(VariantConversion, ToDoubleFollowsCoercionRules) {
  const std::vector<NumberCase> cases = {
      {"int", Variant::Int32(-7), Status::S_OK, -7},
      {"true is -1", Variant::Bool(true), Status::S_OK, -1},
      {"false is 0", Variant::Bool(false), Status::S_OK, 0},
      {"empty is 0", Variant(), Status::S_OK, 0},
      {"text with blanks", Variant::String(" 3 "), Status::S_OK, 3},
      {"text with exponent", Variant::String("3.5e1"), Status::S_OK, 35},
      {"text signed", Variant::String("-0.25"), Status::S_OK, -0.25},
      {"text plus", Variant::String("+2"), Status::S_OK, 2},
      {"text leading point", Variant::String(".5"), Status::S_OK, 0.5},
      {"text not a number", Variant::String("abc"), Status::DISP_E_TYPEMISMATCH, 0},
      {"text number then junk", Variant::String("3px"), Status::DISP_E_TYPEMISMATCH, 0},
      {"decimal comma", Variant::String("3,5"), Status::DISP_E_TYPEMISMATCH, 0},
      {"infinity word", Variant::String("inf"), Status::DISP_E_TYPEMISMATCH, 0},
      {"nan word", Variant::String("nan"), Status::DISP_E_TYPEMISMATCH, 0},
      {"empty text", Variant::String(""), Status::DISP_E_TYPEMISMATCH, 0},
      {"null string", Variant::NullString(), Status::DISP_E_TYPEMISMATCH, 0},
      {"huge text", Variant::String("1e999"), Status::DISP_E_OVERFLOW, 0},
      {"omitted", Variant::Missing(), Status::DISP_E_TYPEMISMATCH, 0},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.label);
    double out = kUntouched;
    EXPECT_EQ(ToDouble(c.value, out), c.status);
    EXPECT_EQ(out, Succeeded(c.status) ? c.expected : kUntouched);
  }
}

TEST(VariantConversion, ToInt32RoundsHalfToEvenAndChecksRange) {
  const std::vector<NumberCase> cases = {
      {"2.5 down to even", Variant::Double(2.5), Status::S_OK, 2},
      {"3.5 up to even", Variant::Double(3.5), Status::S_OK, 4},
      {"-2.5 to even", Variant::Double(-2.5), Status::S_OK, -2},
      {"2.6 nearest", Variant::Double(2.6), Status::S_OK, 3},
      {"largest", Variant::Double(2147483647.4), Status::S_OK, 2147483647},
      {"past largest", Variant::Double(2147483648.0), Status::DISP_E_OVERFLOW, 0},
      {"below smallest", Variant::Double(-2147483649.0), Status::DISP_E_OVERFLOW, 0},
      {"text", Variant::String("255"), Status::S_OK, 255},
      {"text with fraction", Variant::String("255.5"), Status::S_OK, 256},
      {"hex text", Variant::String("0x10"), Status::DISP_E_TYPEMISMATCH, 0},
      {"true", Variant::Bool(true), Status::S_OK, -1},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::int32_t out = 99;
    EXPECT_EQ(ToInt32(c.value, out), c.status);
    EXPECT_EQ(out, Succeeded(c.status) ? static_cast<std::int32_t>(c.expected) : 99);
  }
}

TEST(VariantConversion, ToBoolReadsWordsAndNumbers) {
  struct BoolCase {
    const char* label;
    Variant value;
    Status status;
    bool expected;
  };
  const std::vector<BoolCase> cases = {
      {"word true", Variant::String("True"), Status::S_OK, true},
      {"word false any case", Variant::String(" fALSE "), Status::S_OK, false},
      {"zero", Variant::Int32(0), Status::S_OK, false},
      {"non-zero", Variant::Double(0.5), Status::S_OK, true},
      {"numeric text", Variant::String("0"), Status::S_OK, false},
      {"other word", Variant::String("yes"), Status::DISP_E_TYPEMISMATCH, false},
  };
  for (const BoolCase& c : cases) {
    SCOPED_TRACE(c.label);
    bool out = !c.expected;
    EXPECT_EQ(ToBool(c.value, out), c.status);
    if (Succeeded(c.status)) {
      EXPECT_EQ(out, c.expected);
    }
  }
}

TEST(VariantConversion, ToStringWritesNumbersPlainly) {
  struct TextCase {
    const char* label;
    Variant value;
    const char* expected;  // nullptr: DISP_E_TYPEMISMATCH
  };
  const std::vector<TextCase> cases = {
      {"negative int", Variant::Int32(-12), "-12"},
      {"double shortest", Variant::Double(0.08), "0.08"},
      {"whole double", Variant::Double(3), "3"},
      {"bool", Variant::Bool(true), "True"},
      {"null string", Variant::NullString(), ""},
      {"text", Variant::String("作品 1"), "作品 1"},
      {"omitted", Variant::Missing(), nullptr},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::string out = "untouched";
    const Status status = ToString(c.value, out);
    if (c.expected == nullptr) {
      EXPECT_EQ(status, Status::DISP_E_TYPEMISMATCH);
      EXPECT_EQ(out, "untouched");
    } else {
      EXPECT_EQ(status, Status::S_OK);
      EXPECT_EQ(out, c.expected);
    }
  }
}

TEST(Variant, KeepsBooleansAsMinusOneAndNullStringsApart) {
  EXPECT_EQ(Variant::Bool(true).AsBool(), -1);
  EXPECT_EQ(Variant::Bool(false).AsBool(), 0);
  const Variant null = Variant::NullString();
  EXPECT_EQ(null.Type(), VariantType::String);
  EXPECT_TRUE(null.IsNullString());
  EXPECT_EQ(null.AsString(), "");
  EXPECT_FALSE(Variant::String("").IsNullString());
  EXPECT_TRUE(Variant::Missing().IsMissing());
  EXPECT_FALSE(Variant::Error(Status::E_FAIL).IsMissing());
}

}  // namespace
