// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileCharset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessalune::metafile {
namespace {

// The sets that the drawing tests do not show: each by its own code page.
TEST(CharsetDecoderTest, TextReadsInTheCodePageOfItsCharacterSet) {
  const struct {
    std::uint8_t charset;
    std::string bytes;
    std::u16string text;
  } cases[] = {{1, "\x80\x9c", u"€œ"},   {77, "\x80", u"€"},      {238, "\x8a\xb3", u"Šł"},
               {162, "\xfe\xf0", u"şğ"}, {177, "\xf9\xec", u"של"}, {178, "\xc7\xe1", u"ال"},
               {186, "\xe0\xe8", u"ąč"}, {222, "\xa1", u"ก"},     {255, "\xc9\xcd", u"╔═"},
               {128, "\x93\xfa", u"日"}, {134, "\xd6\xd0", u"中"}, {129, "\xc7\xd1", u"한"},
               {136, "\xa4\xa4", u"中"},
               // A combining mark stays a character of its own, as Windows draws it.
               {163, "\xd0" "a\xec", u"Đa\u0301"}};
  TCharsetDecoder decoder;
  for (const auto& c : cases)
    EXPECT_EQ(decoder.Decode(c.charset, c.bytes).text.toStdU16String(), c.text)
        << static_cast<int>(c.charset);
}

TEST(CharsetDecoderTest, BytesThatAreNoCharacterBecomeReplacementCharacters) {
  TCharsetDecoder decoder;
  const TDecodedText cut = decoder.Decode(128, "A\x93");
  EXPECT_EQ(cut.text.toStdU16String(), u"A\uFFFD");
  EXPECT_EQ(cut.ends, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(decoder.Decode(136, "\xa4\x01" "C").text.toStdU16String(), u"\uFFFD\u0001C");
}

}  // namespace
}  // namespace tessalune::metafile
