// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "StringLib.h"
#include "TestNames.h"

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

// The text with each delimiter written as "cut".
std::string CutName(const ::testing::TestParamInfo<CutCase>& tested) {
  const std::string delimiter = tested.param.delimiter;
  if (delimiter.empty()) return test::TestName(tested.param.text) + "_without_delimiter";
  const std::string cut = " cut ";
  std::string text = tested.param.text;
  for (auto at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, at + cut.size())) {
    text.replace(at, delimiter.size(), cut);
  }
  return test::TestName(text);
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
                                           CutCase{"", "", "", ""}),
                         CutName);

TEST(CutToken, KeepsBytesOutsideAsciiAndZeroBytes) {
  std::string s("\xC3\xA9t\xC3\xA9|\0z", 8);
  EXPECT_EQ(CutToken("|", s), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(s, std::string("\0z", 2));
}

TEST(AsciiUpperCase, FoldsOnlyTheLettersAToZ) {
  EXPECT_EQ(AsciiUpperCase("body</Body>\xC3\xA9z"), "BODY</BODY>\xC3\xA9Z");
}

struct NumberCase {
  const char* text;
  int value;  // what StrToIntDef answers with the fallback -5
};

class StrToIntDefTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(StrToIntDefTable, ReadsWholeNumbersOrFallsBack) {
  EXPECT_EQ(StrToIntDef(GetParam().text, -5), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrToIntDefTable,
    ::testing::Values(NumberCase{"  +42", 42}, NumberCase{"-0012", -12}, NumberCase{"2147483647", 2147483647},
                      NumberCase{"2147483648", -5}, NumberCase{"-2147483648", -2147483647 - 1},
                      NumberCase{"$1F", 31}, NumberCase{"x1f", 31}, NumberCase{"0X10", 16},
                      NumberCase{"-$10", -16}, NumberCase{"$FFFFFFFF", -1}, NumberCase{"$100000000", -5},
                      NumberCase{"", -5}, NumberCase{"0x", -5}, NumberCase{"12 ", -5},
                      NumberCase{"\t5", -5}, NumberCase{"5a", -5}),
    [](const auto& tested) { return test::SpelledName(tested.param.text); });

TEST(NameLines, ShowsAFewNamesThenHowManyMore) {
  EXPECT_EQ(NameLines({}), "");
  EXPECT_EQ(NameLines({"a.jpg", "b.jpg"}), "a.jpg\nb.jpg");
  EXPECT_EQ(NameLines({"a.jpg", "b.jpg", "c.jpg"}, 2), "a.jpg\nb.jpg\nand 1 more");
  EXPECT_EQ(NameLines({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, 0), "and 4 more");
}

}  // namespace
}  // namespace tessalune
