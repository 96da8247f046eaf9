#pragma once
// Names table-driven cases after their label field, so each case reads as a test name.

#include <gtest/gtest.h>
#include <string>

struct CaseLabel {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& test) const {
    return test.param.label;
  }
};
