// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <clocale>

#include "TextCompare.h"

namespace tessalune {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

struct TOrderCase {
  const char* Name;
  std::string Left;
  std::string Right;
  int Order;  // -1, 0 or 1
};

const TOrderCase kOrders[] = {
    {"Equal", "/p/a.jpg", "/p/a.jpg", 0},
    {"AsciiCaseIgnored", "/P/Beach.JPG", "/p/beach.jpg", 0},
    {"AsciiOrderAcrossCase", "/p/a.jpg", "/p/B.jpg", -1},
    {"ShorterPrefixFirst", "/p/a", "/p/a.jpg", -1},
    {"Latin1CaseIgnored", "\xC3\x84pfel", "\xC3\xA4PFEL", 0},
    {"GreekCaseIgnored", "\xCE\xA3\xCE\x91", "\xCF\x83\xCE\xB1", 0},
    {"CyrillicCaseIgnored", "\xD0\x96\xD0\x9A", "\xD0\xB6\xD0\xBA", 0},
    {"LettersByCodePointAfterFolding", "z", "\xC3\xA4", -1},
    {"FinalSigmaFoldsWithSigma", "\xCF\x82", "\xCE\xA3", 0},
    {"LongSFoldsWithS", "\xC5\xBF", "S", 0},
    {"MicroSignFoldsWithMu", "\xC2\xB5", "\xCE\x9C", 0},
    {"DottedCapitalIIsNoI", "\xC4\xB0", "i", 1},
    {"DotlessIIsNoI", "\xC4\xB1", "I", 1},
    {"CherokeeFoldsToItsCapitals", "\xEA\xAD\xB0", "\xE1\x8E\xA0", 0},
    {"CherokeeSortsAtItsCapitals", "\xEA\xAD\xB0", "\xE2\x80\x80", -1},
    {"FourByteCharacters", "\xF0\x9F\x8C\x85", "\xF0\x9F\x8C\x84", 1},
    {"InvalidBytesCompareAsBytes", "a\xFE", "a\xFF", -1},
    {"InvalidByteSortsAmongSurrogates", "\x80", "\xED\x9F\xBF", 1},
    {"InvalidByteBeforePrivateUse", "\x80", "\xEE\x80\x80", -1},
    {"TruncatedSequenceIsBytes", "\xC3", "\xC3\xA4", 1},
    {"OverlongIsNotASlash", "\xC0\xAF", "/", 1},
    {"EncodedSurrogateIsBytes", "\xED\xA0\x80", "\xED\x9F\xBF", 1},
};

class TextOrder : public ::testing::TestWithParam<TOrderCase> {};

TEST_P(TextOrder, ComparesBothWays) {
  const TOrderCase& c = GetParam();
  EXPECT_EQ(Sign(AnsiCompareText(c.Left, c.Right)), c.Order);
  EXPECT_EQ(Sign(AnsiCompareText(c.Right, c.Left)), -c.Order);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextOrder, ::testing::ValuesIn(kOrders),
                         [](const ::testing::TestParamInfo<TOrderCase>& tested) {
                           return std::string(tested.param.Name);
                         });

TEST(TextCompare, TheOrderDoesNotDependOnTheUsersLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous ? previous : "C";
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(AnsiCompareText("\xC3\x84", "\xC3\xA4"), 0);
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace tessalune
