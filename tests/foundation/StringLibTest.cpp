// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "StringLib.h"

namespace tessalune {
namespace {

struct CutCase {
  const char* delimiter;
  const char* text;
  const char* token;
  const char* rest;
};

class CutTokenTable : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutTokenTable, HandsBackTheTextBeforeTheDelimiter) {
  const CutCase& c = GetParam();
  std::string s = c.text;
  EXPECT_EQ(CutToken(c.delimiter, s), c.token);
  EXPECT_EQ(s, c.rest);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutTokenTable,
                         ::testing::Values(CutCase{"{x}", "a{x}b{x}c", "a", "b{x}c"},
                                           CutCase{"{x}", "{x}abc", "", "abc"},
                                           CutCase{"{x}", "abc{x}", "abc", ""},
                                           CutCase{"{x}", "abc", "abc", ""},
                                           CutCase{"{x}", "", "", ""},
                                           CutCase{"{x}", "a{X}b", "a{X}b", ""},
                                           CutCase{"{x}", "{x}{x}", "", "{x}"},
                                           CutCase{"{x}", "a{x", "a{x", ""},
                                           CutCase{"", "abc", "abc", ""},
                                           CutCase{"", "", "", ""}));

TEST(CutToken, KeepsBytesOutsideAsciiAndZeroBytes) {
  std::string s("\xC3\xA9t\xC3\xA9|\0z", 8);
  EXPECT_EQ(CutToken("|", s), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(s, std::string("\0z", 2));
}

TEST(AsciiUpperCase, FoldsOnlyTheLettersAToZ) {
  EXPECT_EQ(AsciiUpperCase("body</Body>\xC3\xA9z"), "BODY</BODY>\xC3\xA9Z");
}

}  // namespace
}  // namespace tessalune
