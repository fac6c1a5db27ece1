// SPDX-License-Identifier: GPL-3.0-or-later
// Dashes of wide geometric and user-styled pens.
#include "MetafileWriters.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace tessalune {
namespace {

constexpr int kRow = 50;

// A stretch of the line that is inked or not, in logical units.
struct TSpan {
  int from;
  int to;
  bool inked;
};

struct TDashCase {
  const char* name;
  std::uint32_t style;
  int width;
  std::vector<std::uint32_t> dashes;
  std::vector<TSpan> spans;
};

void PrintTo(const TDashCase& c, std::ostream* os) { *os << c.name; }

// A red line across a 100 x 100 picture along row 50, drawn at size x size.
QImage Line(const TDashCase& c, int size) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("line.emf");
  {
    test::TEmfWriter emf(file, 100, 100);
    emf.SelectExtPen(c.style, c.width, colorref3_set(255, 0, 0), c.dashes);
    emf.Add(U_EMRMOVETOEX_set(U_POINTL{0, kRow}));
    emf.Add(U_EMRLINETO_set(U_POINTL{100, kRow}));
    emf.Finish();
  }
  return test::RenderMetafile(file, true, size, size);
}

// Checks the columns of each span, but for a pixel of slack at its ends, on
// the line's row and the row above (a line on a row's edge lands on either).
::testing::AssertionResult SpansAre(const QImage& image, const std::vector<TSpan>& spans,
                                    int scale) {
  for (const TSpan& span : spans)
    for (int x = span.from * scale + 1; x < span.to * scale - 1; ++x)
      if ((test::InkIn(image, x, kRow * scale - 1, x, kRow * scale) > 0) != span.inked)
        return ::testing::AssertionFailure() << "x " << x << " is " << (span.inked ? "not " : "")
                                             << "inked";
  return ::testing::AssertionSuccess();
}

class PenDashTest : public ::testing::TestWithParam<TDashCase> {};

TEST_P(PenDashTest, GapsLieWhereThePatternSaysAtEveryScale) {
  for (const int scale : {1, 2})
    EXPECT_TRUE(SpansAre(Line(GetParam(), 100 * scale), GetParam().spans, scale)) << scale;
}

// Dashes of geometric pens are laid in pen widths; round and square caps stay
// within their dashes. A user style gives its own lengths in logical units;
// an odd number of them repeats with dashes and gaps swapped.
INSTANTIATE_TEST_SUITE_P(
    Pens, PenDashTest,
    ::testing::Values(
        TDashCase{"Dash", U_PS_GEOMETRIC | U_PS_DASH | U_PS_ENDCAP_FLAT, 8, {},
                  {{0, 24, true}, {24, 32, false}, {32, 56, true}, {56, 64, false}}},
        TDashCase{"DashDotRoundCaps", U_PS_GEOMETRIC | U_PS_DASHDOT, 5, {},
                  {{0, 15, true}, {15, 20, false}, {20, 25, true}, {25, 30, false}, {30, 45, true}}},
        TDashCase{"DotSquareCaps", U_PS_GEOMETRIC | U_PS_DOT | U_PS_ENDCAP_SQUARE, 8, {},
                  {{0, 8, true}, {8, 16, false}, {16, 24, true}, {24, 32, false}}},
        TDashCase{"UserStyle", U_PS_GEOMETRIC | U_PS_USERSTYLE | U_PS_ENDCAP_FLAT, 4, {10, 5, 15},
                  {{0, 10, true}, {10, 15, false}, {15, 30, true}, {30, 40, false},
                   {40, 45, true}, {45, 60, false}}},
        // CreatePen makes no geometric pens: Windows draws wide ones solid.
        TDashCase{"WideCosmeticDashIsSolid", U_PS_DASH | U_PS_ENDCAP_FLAT, 8, {},
                  {{0, 100, true}}}),
    [](const ::testing::TestParamInfo<TDashCase>& param) { return param.param.name; });

}  // namespace
}  // namespace tessalune
