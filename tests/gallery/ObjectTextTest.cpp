// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Errors.h"
#include "GalleryProp.h"
#include "GalleryTestSupport.h"
#include "ObjectStream.h"
#include "ObjectText.h"

namespace tessalune {
namespace {

// The lines of the Title entry in the text of a gallery with that title.
std::string TitleEntry(const std::string& title) {
  TPicGallery gallery;
  gallery.SetTitle(title);
  const std::string text = test::SavedText(gallery);
  const std::size_t start = text.find("  Title = ");
  const std::size_t end = text.find("  ShowIconCaption = ");
  return text.substr(start, end - start);
}

std::string Codes(int from, int to) {
  std::string bytes;
  for (int c = from; c <= to; ++c) bytes.push_back(char(c));
  return bytes;
}

std::string CodeText(int from, int to) {
  std::string text;
  for (int c = from; c <= to; ++c) text += "#" + std::to_string(c);
  return text;
}

struct TStringCase {
  const char* Name;
  std::string Value;
  std::string Entry;
};

const std::string a64(64, 'a');

const TStringCase kStrings[] = {
    {"Short", "Home", "  Title = 'Home'\r\n"},
    {"Apostrophe", "it's", "  Title = 'it'#39's'\r\n"},
    {"LineBreak", "one\r\ntwo", "  Title = 'one'#13#10'two'\r\n"},
    {"HighBytesStayInsideTheQuotes", "\xE9t\xC3\xA9\xFF", "  Title = '\xE9t\xC3\xA9\xFF'\r\n"},
    {"SixtyFourBytesStayOnTheLine", a64, "  Title = '" + a64 + "'\r\n"},
    {"SixtyFiveBytesStartOnTheNextLine", a64 + "b",
     "  Title = \r\n    '" + a64 + "' +\r\n    'b'\r\n"},
    {"HundredTwentyEightBytesTakeTwoLines", a64 + a64,
     "  Title = \r\n    '" + a64 + "' +\r\n    '" + a64 + "'\r\n"},
    {"HundredTwentyNineBytesTakeThree", a64 + a64 + "c",
     "  Title = \r\n    '" + a64 + "' +\r\n    '" + a64 + "' +\r\n    'c'\r\n"},
    {"SixtyFourControlCodesOnOneLine", Codes(0, 31) + Codes(0, 31),
     "  Title = " + CodeText(0, 31) + CodeText(0, 31) + "\r\n"},
    {"ACodeCanCompleteTheLine", std::string(63, 'x') + "\r\n",
     "  Title = \r\n    '" + std::string(63, 'x') + "'#13 +\r\n    #10\r\n"},
};

class StringWriting : public ::testing::TestWithParam<TStringCase> {};

TEST_P(StringWriting, FollowsThePieceAndLineRules) {
  EXPECT_EQ(TitleEntry(GetParam().Value), GetParam().Entry);
}

INSTANTIATE_TEST_SUITE_P(Values, StringWriting, ::testing::ValuesIn(kStrings), test::CaseName());

TEST(ObjectText, APicturesLongEntryContinuesEightBlanksIn) {
  TPicGallery gallery;
  gallery.AddFile("/a.jpg")->Caption = a64 + "z";
  const std::string text = test::SavedText(gallery);
  EXPECT_NE(text.find("      Caption = \r\n        '" + a64 + "' +\r\n        'z'\r\n    end>\r\n"),
            std::string::npos)
      << text;
}

TEST(ObjectText, AnEmptyStringElsewhereIsTwoApostrophes) {
  TBinaryWriter writer;
  writer.WriteSignature();
  writer.WriteShortString("TThing");
  writer.WriteShortString("");
  writer.WriteShortString("Text");
  writer.WriteString("");
  writer.WriteListEnd();
  writer.WriteListEnd();
  EXPECT_EQ(ObjectBinaryToText(writer.Bytes()), "object TThing\r\n  Text = ''\r\nend\r\n");
}

TEST(ObjectText, AMalformedBinaryFormIsRefused) {
  TPicGallery gallery;
  const std::string binary = gallery.WriteBinary();
  EXPECT_THROW(ObjectBinaryToText(binary.substr(0, binary.size() - 1)), EReadError);
  EXPECT_THROW(ObjectBinaryToText("TPF1"), EReadError);
}

}  // namespace
}  // namespace tessalune
