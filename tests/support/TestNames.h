// SPDX-License-Identifier: GPL-3.0-or-later
// Names for the cases of parameterised tests. ctest lists each case under
// the name GoogleTest gives it, so every INSTANTIATE_TEST_SUITE_P names its
// cases with one of these: the name says which case it is and stays the same
// from build to build.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tessalune::test {

// A readable text as a test name: letters and digits stay, and every run of
// other characters between them becomes one underscore ("Grid / flat" gives
// "Grid_flat"); a text without letters or digits gives "empty".
std::string TestName(std::string_view text);

// A text spelled out as a test name, so that texts that differ anywhere get
// different names: letters and digits stay, blanks, line ends and signs
// become words ("  -$1F" gives "blank_blank_minus_dollar_1F"), any other
// byte its code ("x7F"); the empty text gives "empty".
std::string SpelledName(std::string_view text);

// Names each case after the Name (or name) member of its case struct.
struct CaseName {
  template <class Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& tested) const {
    if constexpr (requires { tested.param.Name; }) {
      return tested.param.Name;
    } else {
      return tested.param.name;
    }
  }
};

// Names each case after what PrintTo writes for it.
struct PrintedName {
  template <class Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& tested) const {
    return TestName(::testing::PrintToString(tested.param));
  }
};

}  // namespace tessalune::test
