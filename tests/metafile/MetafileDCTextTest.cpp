// SPDX-License-Identifier: GPL-3.0-or-later
// Text of both players in the character set of its font, compared as pixels
// with the same text written as Unicode in DejaVu Sans.
#include "MetafileWriters.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace tessalune {
namespace {

// Two inches by one at 96 pixels per inch: both formats' frames map onto the
// target exactly, so the same text lands on the same pixels.
constexpr int kWidth = 192;
constexpr int kHeight = 96;
constexpr int kAdvance = 18;
constexpr int kByteAdvance = 7;  // of each byte but a character's last

struct TTextCase {
  const char* name;
  std::uint8_t charset;
  const char* face;
  std::string bytes;
  std::u16string text;
  std::vector<int> charBytes;  // the bytes of each character; empty: one each
};

void PrintTo(const TTextCase& c, std::ostream* os) { *os << c.name; }

// Each character advances kAdvance, shared among its bytes.
std::vector<int> ByteAdvances(const TTextCase& c) {
  std::vector<int> advances;
  for (std::size_t i = 0; i < c.text.size(); ++i) {
    const int bytes = c.charBytes.empty() ? 1 : c.charBytes[i];
    advances.insert(advances.end(), bytes - 1, kByteAdvance);
    advances.push_back(kAdvance - kByteAdvance * (bytes - 1));
  }
  return advances;
}

QImage WmfText(const TTextCase& c) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("text.wmf");
  {
    const U_PAIRF inches{2, 1};
    test::TWmfWriter wmf(file, &inches, 96);
    wmf.SelectFont(-24, c.charset, c.face);
    const std::vector<int> advances = ByteAdvances(c);
    std::vector<std::int16_t> dx(advances.begin(), advances.end());
    wmf.Add(U_WMREXTTEXTOUT_set(U_POINT16{8, 30}, static_cast<std::int16_t>(c.bytes.size()), 0,
                                c.bytes.c_str(), dx.data(), U_RECT16{}));
    wmf.Finish();
  }
  return test::RenderMetafile(file, false, kWidth, kHeight);
}

// count characters of unitBytes bytes each, at units, advancing by dx.
QImage EmfText(const TTextCase& c, const void* units, std::size_t count, std::uint32_t unitBytes,
               const std::vector<int>& dx) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("text.emf");
  {
    test::TEmfWriter emf(file, kWidth, kHeight);
    emf.SelectFont(-24, c.charset, c.face);
    std::vector<std::uint32_t> advances(dx.begin(), dx.end());
    const U_RECTL none{0, 0, -1, -1};
    auto* text = reinterpret_cast<PU_EMRTEXT>(
        emrtext_set(U_POINTL{8, 30}, static_cast<U_NUM_STR>(count), unitBytes,
                    const_cast<void*>(units), U_ETO_NONE, none, advances.data()));
    emf.Add(unitBytes == 1 ? U_EMREXTTEXTOUTA_set(none, U_GM_COMPATIBLE, 1, 1, text)
                           : U_EMREXTTEXTOUTW_set(none, U_GM_COMPATIBLE, 1, 1, text));
    std::free(text);
    emf.Finish();
  }
  return test::RenderMetafile(file, true, kWidth, kHeight);
}

QImage WideText(const TTextCase& c, const std::u16string& text) {
  return EmfText(c, text.data(), text.size(), 2, std::vector<int>(text.size(), kAdvance));
}

QImage UnicodeText(const std::u16string& text) {
  return WideText(TTextCase{"", U_ANSI_CHARSET, "DejaVu Sans", "", u"", {}}, text);
}

class TextCharsetTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(TextCharsetTest, EightBitTextDrawsTheGlyphsOfItsUnicodeText) {
  const TTextCase& c = GetParam();
  const QImage unicode = UnicodeText(c.text);
  EXPECT_GT(test::InkIn(unicode, 0, 0, kWidth - 1, kHeight - 1), 80);
  EXPECT_TRUE(test::SamePixels(WmfText(c), unicode));
  EXPECT_TRUE(test::SamePixels(EmfText(c, c.bytes.data(), c.bytes.size(), 1, ByteAdvances(c)),
                               unicode));
}

INSTANTIATE_TEST_SUITE_P(
    Charsets, TextCharsetTest,
    ::testing::Values(
        TTextCase{"Windows1252", U_ANSI_CHARSET, "DejaVu Sans", "\x80\x93Q\x94\x96\x85",
                  u"€“Q”–…", {}},
        TTextCase{"Windows1251", U_RUSSIAN_CHARSET, "DejaVu Sans", "\xcf\xf0\xe8\xe2\xe5\xf2",
                  u"Привет", {}},
        TTextCase{"Windows1253", U_GREEK_CHARSET, "DejaVu Sans", "\xc1\xe8\xde\xed\xe1",
                  u"Αθήνα", {}},
        TTextCase{"Symbol", U_SYMBOL_CHARSET, "Symbol", "abg\xae\xa5\xb6", u"αβγ→∞∂", {}},
        TTextCase{"Wingdings", U_SYMBOL_CHARSET, "Wingdings", "abg\xae\xa5\xb6", u"αβγ→∞∂", {}},
        TTextCase{"ShiftJisDoubleBytes", U_SHIFTJIS_CHARSET, "DejaVu Sans",
                  "a\x83\xbf\x83\xc0" "b", u"aαβb", {1, 2, 2, 1}}),
    [](const ::testing::TestParamInfo<TTextCase>& param) { return param.param.name; });

TEST(TextSymbolTest, WideTextInASymbolFontDrawsSymbolCharacters) {
  const TTextCase symbol{"", U_SYMBOL_CHARSET, "Symbol", "", u"", {}};
  EXPECT_TRUE(test::SamePixels(WideText(symbol, u"abg\uF0AE"), UnicodeText(u"αβγ→")));
}

}  // namespace
}  // namespace tessalune
