// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "Errors.h"
#include "GalleryProp.h"
#include "GalleryTestSupport.h"
#include "ObjectParser.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

using test::CrLfLines;

// Loads text into a fresh, cleared gallery; returns the error message, or
// empty when the text was accepted.
std::string Load(TPicGallery& gallery, const std::string& text) {
  test::Sandbox sandbox;
  gallery.Clear();
  try {
    gallery.LoadFromFile(sandbox.Write("in.gmf", text));
  } catch (const EReadError& error) {
    return error.Message();
  }
  return "";
}

struct TAccepted {
  const char* Name;
  std::string Text;
  bool (*Check)(const TPicGallery&);
};

const TAccepted kAccepted[] = {
    {"AnyLetterCase",
     "OBJECT x: tpicgallery\r\n iconwidth = 5 ISCELLWIDTH = false tablecolor = CLRED\r\n"
     " imagefiles = < ITEM FILENAME = 'a' END > END",
     [](const TPicGallery& g) {
       return g.IconWidth() == 5 && !g.IsCellWidth() && g.TableColor() == 0x0000FF &&
              g.GetImageFile(0)->FileName == "a";
     }},
    {"DoubledApostrophe", "object TPicGallery Title = 'it''s' end",
     [](const TPicGallery& g) { return g.Title() == "it's"; }},
    {"HexadecimalInteger", "object TPicGallery IconWidth = $FF ImageQuality = $7fffffff end",
     [](const TPicGallery& g) { return g.IconWidth() == 255 && g.ImageQuality() == 0x7FFFFFFF; }},
    {"EntriesInAnotherOrderAndSeveralOnALine",
     "object TPicGallery ImNextLink = 'N' OutputFolder = '/o' ImageFiles = <> Template = 'T' end",
     [](const TPicGallery& g) {
       return g.ImNextLink() == "N" && g.OutputFolder() == "/o" && g.Template() == "T";
     }},
    {"ItemWithAnIndex", "object TPicGallery ImageFiles = < item [3] Caption = 'c' end item end > end",
     [](const TPicGallery& g) {
       return g.GetImageCount() == 2 && g.GetImageFile(0)->Caption == "c" &&
              g.GetImageFile(1)->FileName.empty();
     }},
    {"PiecesJoinedByPlus", "object TPicGallery Title = 'a' + #66'c' +\r\n 'd'#0 end",
     [](const TPicGallery& g) { return g.Title() == std::string("aBcd\0", 5); }},
    {"CodeWithoutDigitsIsZero", "object TPicGallery Title = #'x' end",
     [](const TPicGallery& g) { return g.Title() == std::string("\0x", 2); }},
    {"LaterEntryWins", "object TPicGallery IconWidth = 1 IconWidth = 2 end",
     [](const TPicGallery& g) { return g.IconWidth() == 2; }},
    {"SecondNonEmptyCollectionReplacesAnEmptyOneKeeps",
     "object TPicGallery ImageFiles = <item FileName='a' end> ImageFiles = <item FileName='b' end>"
     " ImageFiles = <> end",
     [](const TPicGallery& g) { return g.GetImageCount() == 1 && g.GetImageFile(0)->FileName == "b"; }},
    {"ColourAsNumberOrSystemName",
     "object TPicGallery TableColor = -2147483643 TextColor = clbtnface LinkColor = clNone end",
     [](const TPicGallery& g) {
       return g.TableColor() == TColor(0x80000005) && g.TextColor() == TColor(0x8000000F) &&
              g.LinkColor() == 0x1FFFFFFF;
     }},
    {"TextAfterTheFinalEndIsIgnored", "object TPicGallery end garbage = = ' \r\n",
     [](const TPicGallery&) { return true; }},
    {"AZeroByteEndsTheText", std::string("object TPicGallery end\0'unterminated", 37),
     [](const TPicGallery&) { return true; }},
    {"VeryLongClassName", "object " + std::string(300, 'C') + " IconWidth = 9 end",
     [](const TPicGallery& g) { return g.IconWidth() == 9; }},
    {"InheritedWithAPosition", "inherited TPicGallery [2] IconWidth = 9 end",
     [](const TPicGallery& g) { return g.IconWidth() == 9; }},
};

class ReaderAccepts : public ::testing::TestWithParam<TAccepted> {};

TEST_P(ReaderAccepts, TheTextAndAppliesIt) {
  TPicGallery gallery;
  ASSERT_EQ(Load(gallery, GetParam().Text), "");
  EXPECT_TRUE(GetParam().Check(gallery)) << test::SavedText(gallery);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReaderAccepts, ::testing::ValuesIn(kAccepted), test::CaseName());

struct TRejected {
  const char* Name;
  std::string Text;
};

const TRejected kRejected[] = {
    {"Empty", ""},
    {"ByteOrderMark", "\xEF\xBB\xBFobject TPicGallery end"},
    {"AnotherFirstKeyword", "class TPicGallery end"},
    {"UnknownProperty", "object TPicGallery Colour = 1 end"},
    {"DottedName", "object TPicGallery ImageFiles.Count = 1 end"},
    {"UnknownItemProperty", "object TPicGallery ImageFiles = < item Size = 1 end > end"},
    {"FractionForInteger", "object TPicGallery IconWidth = 1.5 end"},
    {"FractionSuffix", "object TPicGallery IconWidth = 15d end"},
    {"IntegerBeyond32Bits", "object TPicGallery IconWidth = 2147483648 end"},
    {"IntegerBelow32Bits", "object TPicGallery IconWidth = -2147483649 end"},
    {"IntegerBeyond64Bits", "object TPicGallery IconWidth = 99999999999999999999 end"},
    {"IdentifierForInteger", "object TPicGallery IconWidth = clRed end"},
    {"BooleanAsNumber", "object TPicGallery IsCellWidth = 1 end"},
    {"BooleanAsOtherWord", "object TPicGallery IsCellWidth = Yes end"},
    {"NumberForString", "object TPicGallery Title = 5 end"},
    {"IdentifierForString", "object TPicGallery Title = Grid end"},
    {"WideCode", "object TPicGallery Title = 'a'#300 end"},
    {"UnknownColourName", "object TPicGallery TableColor = clPink end"},
    {"BooleanForColour", "object TPicGallery TableColor = True end"},
    {"StringForCollection", "object TPicGallery ImageFiles = 'a' end"},
    {"CollectionForString", "object TPicGallery Title = <> end"},
    {"MissingFinalEnd", "object TPicGallery IconWidth = 5\r\n"},
    {"UnterminatedPieceAfterTheEnd", "object TPicGallery end 'open\r\n"},
    {"PieceBrokenByALineEnd", "object TPicGallery Title = 'a\r\nb' end"},
    {"MissingEquals", "object TPicGallery Title 'a' end"},
    {"PlusWithoutAPiece", "object TPicGallery Title = 'a' + 5 end"},
    {"NestedObject", "object TPicGallery object Inner: TButton end end"},
    {"ItemWithoutEnd", "object TPicGallery ImageFiles = < item FileName = 'a' > end"},
    {"InvalidComponentName", "object TPicGallery Name = 'two words' end"},
    {"LoneMinus", "object TPicGallery IconWidth = - end"},
    {"LoneDollar", "object TPicGallery IconWidth = $ end"},
    {"OddHexDigits", "object TPicGallery Title = { 0A1 } end"},
    {"UnclosedList", "object TPicGallery Title = ( 1 2 end"},
    {"DeepNesting", "object TPicGallery Title = " + std::string(100000, '(') + " end"},
    {"DeepObjects", [] {
       std::string text;
       for (int i = 0; i < 100000; ++i) text += "object A ";
       return text;
     }()},
};

class ReaderRejects : public ::testing::TestWithParam<TRejected> {};

TEST_P(ReaderRejects, TheTextAsCorrupted) {
  TPicGallery gallery;
  EXPECT_EQ(Load(gallery, GetParam().Text), "The gallery file is corrupted");
}

INSTANTIATE_TEST_SUITE_P(Texts, ReaderRejects, ::testing::ValuesIn(kRejected), test::CaseName());

TEST(ObjectParser, ASyntaxErrorAppliesNothing) {
  TPicGallery gallery;
  EXPECT_NE(Load(gallery, "object TPicGallery IconWidth = 5 ImageFiles = <item end> Title = end"), "");
  EXPECT_EQ(gallery.IconWidth(), 128);
  EXPECT_EQ(gallery.GetImageCount(), 0);
}

TEST(ObjectParser, ASecondStageErrorLeavesTheEarlierEntriesApplied) {
  TPicGallery gallery;
  EXPECT_NE(Load(gallery, "object TPicGallery IconWidth = 5 ImageFiles = <item FileName = 'a' end>"
                          " IsCellWidth = 1 IconHeight = 6 end"),
            "");
  EXPECT_EQ(gallery.IconWidth(), 5);
  ASSERT_EQ(gallery.GetImageCount(), 1);
  EXPECT_EQ(gallery.GetImageFile(0)->FileName, "a");
  EXPECT_EQ(gallery.IconHeight(), 96);
}

// The reader works in blocks of 4096 bytes that end at a line start: a line
// that does not fit into one block is refused, unless the text ends within it.
TEST(ObjectParser, ALineTooLongForABlockIsRefusedUnlessTheTextEndsWithinIt) {
  const std::string corrupted = "The gallery file is corrupted";
  // The object line is 20 bytes; the next block starts after it and must
  // hold the title line up to and including its line feed.
  const auto titleLine = [](std::size_t xs) {
    return CrLfLines({"object TPicGallery", "  Title = '" + std::string(xs, 'x') + "'", "end"}) +
           std::string(5000, '\n');
  };
  TPicGallery gallery;
  EXPECT_EQ(Load(gallery, titleLine(4081)), "");
  EXPECT_EQ(gallery.Title().size(), 4081u);
  EXPECT_EQ(Load(gallery, titleLine(4082)), corrupted);

  const auto wholeText = [](std::size_t xs) {
    return "object TPicGallery Title = '" + std::string(xs, 'x') + "' end";
  };
  EXPECT_EQ(Load(gallery, wholeText(4062)), "") << "4095 bytes fit into one block";
  EXPECT_EQ(Load(gallery, wholeText(4063)), corrupted);
}

// The binary form of "object A X = <value> end": signature, class and empty
// name, the entry, and the two list ends.
std::string BinaryOfValue(const std::string& value) {
  return ObjectTextToBinary("object A X = " + value + " end");
}

std::string Framed(const std::string& valueBytes) {
  return std::string("TPF0\x01" "A\x00\x01X", 9) + valueBytes + std::string(2, '\0');
}

struct TValueCase {
  const char* Name;
  std::string Text;
  std::string Bytes;
};

const TValueCase kValues[] = {
    {"Int8", "127", std::string("\x02\x7F", 2)},
    {"Int16", "128", std::string("\x03\x80\x00", 3)},
    {"Int16Negative", "-32768", std::string("\x03\x00\x80", 3)},
    {"Int32", "-32769", std::string("\x04\xFF\x7F\xFF\xFF", 5)},
    {"Int64", "2147483648", std::string("\x13\x00\x00\x00\x80\x00\x00\x00\x00", 9)},
    {"Hex", "$10", std::string("\x02\x10", 2)},
    {"String", "'a'#0'b'", std::string("\x06\x03" "a\x00" "b", 5)},
    {"LongString", "'" + std::string(256, 'x') + "'",
     std::string("\x0C\x00\x01\x00\x00", 5) + std::string(256, 'x')},
    {"WideString", "'a'#300", std::string("\x12\x02\x00\x00\x00" "a\x00\x2C\x01", 9)},
    {"Identifier", "clRed", std::string("\x07\x05" "clRed", 7)},
    {"FalseAnyCase", "fALSE", std::string("\x08", 1)},
    {"TrueAnyCase", "TRUE", std::string("\x09", 1)},
    {"Set", "[a, 1]", std::string("\x0B\x01" "a\x01" "1\x00", 6)},
    {"EmptySet", "[]", std::string("\x0B\x00", 2)},
    {"List", "(1 'b')", std::string("\x01\x02\x01\x06\x01" "b\x00", 7)},
    {"Binary", "{0a 1B}", std::string("\x0A\x02\x00\x00\x00\x0A\x1B", 7)},
    {"Collection", "<item [5] end>", std::string("\x0E\x02\x05\x01\x00\x00", 6)},
};

class ValueForms : public ::testing::TestWithParam<TValueCase> {};

TEST_P(ValueForms, TakeTheirBinaryForm) {
  EXPECT_EQ(BinaryOfValue(GetParam().Text), Framed(GetParam().Bytes));
}

INSTANTIATE_TEST_SUITE_P(Values, ValueForms, ::testing::ValuesIn(kValues), test::CaseName());

TEST(ObjectParser, AFractionIsAnExtendedValue) {
  const std::string binary = BinaryOfValue("1.5e3");
  ASSERT_EQ(binary.size(), Framed(std::string(11, ' ')).size());
  EXPECT_EQ(binary[9], '\x05');
  long double value = 0;
  std::memcpy(&value, binary.data() + 10, 10);
  EXPECT_EQ(value, 1500.0L);
}

TEST(ObjectParser, BinaryFormOfTheTextIsTheGallerysOwn) {
  TPicGallery gallery;
  test::FillExampleGallery(gallery);
  EXPECT_EQ(ObjectTextToBinary(test::ExampleGalleryText()), gallery.WriteBinary());
}

}  // namespace
}  // namespace tessalune
