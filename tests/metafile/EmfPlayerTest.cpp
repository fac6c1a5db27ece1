// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmfPlayer.h"

#include "MetafileLimits.h"
#include "MetafileWriters.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace tessalune {
namespace {

using test::InkIn;
using test::PixelIs;
using test::TEmfWriter;

const U_COLORREF kRed = colorref3_set(255, 0, 0);
const U_COLORREF kBlue = colorref3_set(0, 0, 255);
const U_RECTL kNoBounds{0, 0, -1, -1};

U_RECTL Rect(int left, int top, int right, int bottom) { return U_RECTL{left, top, right, bottom}; }

// A 100 x 100 picture with a null pen and a red brush selected; draw adds
// the records under test.
QImage Draw(const std::function<void(TEmfWriter&)>& draw, int width = 100, int height = 100) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("test.emf");
  {
    TEmfWriter emf(file, 100, 100);
    emf.Add(selectobject_set(U_NULL_PEN, emf.Handles()));
    emf.SelectBrush(kRed);
    draw(emf);
    emf.Finish();
  }
  return test::RenderMetafile(file, true, width, height);
}

void ExpectRedRectangle(const QImage& image) {
  EXPECT_TRUE(PixelIs(image, 21, 21, Qt::red));
  EXPECT_TRUE(PixelIs(image, 58, 48, Qt::red));
  EXPECT_TRUE(PixelIs(image, 40, 35, Qt::red));
  EXPECT_TRUE(PixelIs(image, 18, 35, Qt::white));
  EXPECT_TRUE(PixelIs(image, 62, 35, Qt::white));
  EXPECT_TRUE(PixelIs(image, 40, 18, Qt::white));
  EXPECT_TRUE(PixelIs(image, 40, 52, Qt::white));
}

void RedRectangle(TEmfWriter& emf) { emf.Add(U_EMRRECTANGLE_set(Rect(20, 20, 60, 50))); }

// A record of a type no writer uses, with a few bytes of payload.
char* UnknownRecord() {
  auto* record = static_cast<char*>(std::calloc(1, 16));
  const std::uint32_t header[] = {200, 16, 0xDEADBEEF, 0xFFFFFFFF};
  std::memcpy(record, header, sizeof header);
  return record;
}

TEST(EmfPlayerTest, FilledRectangleHasItsColourAndEdges) { ExpectRedRectangle(Draw(RedRectangle)); }

TEST(EmfPlayerTest, RectangleIsStretchedOntoTheTarget) {
  // Without a pen GDI fills one pixel short of the right and bottom edges.
  const QImage image = Draw(RedRectangle, 200, 50);
  EXPECT_TRUE(PixelIs(image, 40, 10, Qt::red));
  EXPECT_TRUE(PixelIs(image, 118, 23, Qt::red));
  EXPECT_TRUE(PixelIs(image, 39, 11, Qt::white));
  EXPECT_TRUE(PixelIs(image, 119, 11, Qt::white));
  EXPECT_TRUE(PixelIs(image, 50, 24, Qt::white));
}

TEST(EmfPlayerTest, UnknownRecordsAndEmfPlusCommentsAreSkipped) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(UnknownRecord());
    const char plus[] = "EMF+\x01\x40\x00\x00\x10\x00\x00\x00\x0c\x00\x00\x00";
    emf.Add(U_EMRCOMMENT_set(sizeof plus, plus));
    RedRectangle(emf);
  });
  ExpectRedRectangle(image);
}

struct TFillCase {
  std::uint32_t fillMode;
  bool points16;
  bool centreFilled;
};

class EmfPolygonFillTest : public ::testing::TestWithParam<TFillCase> {};

// A pentagram: its centre is inside under winding and a hole under alternate.
TEST_P(EmfPolygonFillTest, StarCentreFollowsTheFillMode) {
  const TFillCase& c = GetParam();
  const QImage image = Draw([&c](TEmfWriter& emf) {
    emf.Add(U_EMRSETPOLYFILLMODE_set(c.fillMode));
    const int star[][2] = {{50, 5}, {79, 95}, {2, 37}, {98, 37}, {21, 95}};
    std::vector<U_POINTL> wide;
    std::vector<U_POINT16> narrow;
    for (const auto& p : star) {
      wide.push_back(U_POINTL{p[0], p[1]});
      narrow.push_back(U_POINT16{static_cast<int16_t>(p[0]), static_cast<int16_t>(p[1])});
    }
    emf.Add(c.points16 ? U_EMRPOLYGON16_set(kNoBounds, 5, narrow.data())
                       : U_EMRPOLYGON_set(kNoBounds, 5, wide.data()));
  });
  EXPECT_TRUE(PixelIs(image, 50, 50, c.centreFilled ? Qt::red : Qt::white));
  EXPECT_TRUE(PixelIs(image, 50, 20, Qt::red));
  EXPECT_TRUE(PixelIs(image, 5, 80, Qt::white));
}

INSTANTIATE_TEST_SUITE_P(Modes, EmfPolygonFillTest,
                         ::testing::Values(TFillCase{U_ALTERNATE, false, false},
                                           TFillCase{U_WINDING, false, true},
                                           TFillCase{U_ALTERNATE, true, false},
                                           TFillCase{U_WINDING, true, true}),
                         [](const ::testing::TestParamInfo<TFillCase>& tested) {
                           return std::string(tested.param.fillMode == U_WINDING ? "Winding" : "Alternate") +
                                  (tested.param.points16 ? "_16BitPoints" : "_32BitPoints");
                         });

TEST(EmfPlayerTest, PolyPolygonFillsEveryPolygon) {
  const QImage image = Draw([](TEmfWriter& emf) {
    const U_POINT16 points[] = {{10, 10}, {30, 10}, {30, 30}, {10, 30},
                                {60, 60}, {90, 60}, {90, 90}, {60, 90}};
    const uint32_t counts[] = {4, 4};
    emf.Add(U_EMRPOLYPOLYGON16_set(kNoBounds, 2, counts, 8, points));
  });
  EXPECT_TRUE(PixelIs(image, 20, 20, Qt::red));
  EXPECT_TRUE(PixelIs(image, 75, 75, Qt::red));
  EXPECT_TRUE(PixelIs(image, 45, 45, Qt::white));
}

// A blue line of one pixel from (-80, 0) to (80, 0) after setup.
QImage BlueLine(const std::function<void(TEmfWriter&)>& setup) {
  return Draw([&setup](TEmfWriter& emf) {
    emf.SelectPen(U_PS_SOLID, 0, kBlue);
    setup(emf);
    emf.Add(U_EMRMOVETOEX_set(U_POINTL{-80, 0}));
    emf.Add(U_EMRLINETO_set(U_POINTL{80, 0}));
  });
}

TEST(EmfPlayerTest, LineEndsFollowWindowAndViewport) {
  const QImage image = BlueLine([](TEmfWriter& emf) {
    emf.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    emf.Add(U_EMRSETWINDOWORGEX_set(U_POINTL{-100, -100}));
    emf.Add(U_EMRSETWINDOWEXTEX_set(U_SIZEL{200, 200}));
    emf.Add(U_EMRSETVIEWPORTEXTEX_set(U_SIZEL{100, 100}));
  });
  EXPECT_GT(InkIn(image, 10, 48, 12, 51), 0);
  EXPECT_GT(InkIn(image, 88, 48, 90, 51), 0);
  EXPECT_EQ(InkIn(image, 0, 0, 7, 99), 0);
  EXPECT_EQ(InkIn(image, 92, 0, 99, 99), 0);
  EXPECT_EQ(InkIn(image, 0, 0, 99, 47), 0);
}

TEST(EmfPlayerTest, MetricMappingModeTurnsTheYAxisUp) {
  // Tenths of a millimetre at 96 pixels per inch: 264.6 units are 100 pixels.
  const QImage image = BlueLine([](TEmfWriter& emf) {
    emf.Add(U_EMRSETMAPMODE_set(U_MM_LOMETRIC));
    emf.Add(U_EMRSETVIEWPORTORGEX_set(U_POINTL{50, 50}));
    emf.Add(U_EMRSETWINDOWORGEX_set(U_POINTL{0, 53}));
  });
  // y = 0 lies 53 units (20 pixels) below the window origin, which sits at
  // the viewport origin: the line is at pixel row 70, from x 20 to 80.
  EXPECT_TRUE(PixelIs(image, 22, 70, Qt::blue));
  EXPECT_TRUE(PixelIs(image, 78, 70, Qt::blue));
  EXPECT_EQ(InkIn(image, 0, 0, 99, 67), 0);
  EXPECT_EQ(InkIn(image, 83, 0, 99, 99), 0);
}

TEST(EmfPlayerTest, WorldTransformScalesAndMoves) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(2, 0, 0, 2, 10, 0)));
    emf.Add(U_EMRRECTANGLE_set(Rect(5, 10, 25, 25)));
  });
  ExpectRedRectangle(image);
}

TEST(EmfPlayerTest, RestoreDcBringsBackBrushAndClipping) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRSAVEDC_set());
    emf.SelectBrush(kBlue);
    emf.Add(U_EMRINTERSECTCLIPRECT_set(Rect(0, 0, 10, 10)));
    emf.Add(U_EMRRESTOREDC_set(-1));
    RedRectangle(emf);
  });
  ExpectRedRectangle(image);
}

TEST(EmfPlayerTest, ClippingLimitsDrawing) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRINTERSECTCLIPRECT_set(Rect(0, 0, 40, 100)));
    emf.Add(U_EMRRECTANGLE_set(Rect(20, 20, 80, 50)));
  });
  EXPECT_TRUE(PixelIs(image, 30, 30, Qt::red));
  EXPECT_TRUE(PixelIs(image, 45, 30, Qt::white));
}

TEST(EmfPlayerTest, FilledPathDrawsItsFigure) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRBEGINPATH_set());
    emf.Add(U_EMRMOVETOEX_set(U_POINTL{20, 20}));
    const U_POINTL corners[] = {{60, 20}, {60, 50}, {20, 50}};
    emf.Add(U_EMRPOLYLINETO_set(kNoBounds, 3, corners));
    emf.Add(U_EMRCLOSEFIGURE_set());
    emf.Add(U_EMRENDPATH_set());
    emf.Add(U_EMRFILLPATH_set(kNoBounds));
  });
  ExpectRedRectangle(image);
}

TEST(EmfPlayerTest, EllipsePieAndChordFillTheirAreas) {
  const QImage ellipse =
      Draw([](TEmfWriter& emf) { emf.Add(U_EMRELLIPSE_set(Rect(20, 20, 80, 80))); });
  EXPECT_TRUE(PixelIs(ellipse, 50, 50, Qt::red));
  EXPECT_TRUE(PixelIs(ellipse, 23, 23, Qt::white));

  // From angle 0 to 90 degrees counter-clockwise: the upper right quarter.
  const QImage pie = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRPIE_set(Rect(10, 10, 90, 90), U_POINTL{90, 50}, U_POINTL{50, 10}));
  });
  EXPECT_TRUE(PixelIs(pie, 70, 30, Qt::red));
  EXPECT_TRUE(PixelIs(pie, 30, 30, Qt::white));
  EXPECT_TRUE(PixelIs(pie, 70, 70, Qt::white));

  const QImage chord = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRCHORD_set(Rect(10, 10, 90, 90), U_POINTL{90, 50}, U_POINTL{50, 10}));
  });
  EXPECT_TRUE(PixelIs(chord, 74, 26, Qt::red));
  EXPECT_TRUE(PixelIs(chord, 60, 40, Qt::white));
}

TEST(EmfPlayerTest, BezierAndArcDrawWithThePen) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.SelectPen(U_PS_SOLID, 3, kBlue);
    const U_POINTL curve[] = {{10, 90}, {10, 60}, {40, 60}, {40, 90}};
    emf.Add(U_EMRPOLYBEZIER_set(kNoBounds, 4, curve));
    emf.Add(U_EMRARC_set(Rect(50, 10, 90, 50), U_POINTL{90, 30}, U_POINTL{50, 30}));
  });
  EXPECT_GT(InkIn(image, 5, 55, 45, 95), 20);
  EXPECT_GT(InkIn(image, 48, 8, 92, 32), 20);
  EXPECT_EQ(InkIn(image, 48, 36, 92, 52), 0);  // the arc's lower half is not drawn
}

void ExpectQuadrants(const QImage& image) {
  EXPECT_TRUE(PixelIs(image, 30, 30, Qt::red));
  EXPECT_TRUE(PixelIs(image, 50, 30, Qt::green));
  EXPECT_TRUE(PixelIs(image, 30, 50, Qt::blue));
  EXPECT_TRUE(PixelIs(image, 50, 50, Qt::white));
  EXPECT_TRUE(PixelIs(image, 15, 15, Qt::white));
  EXPECT_TRUE(PixelIs(image, 65, 30, Qt::white));
}

TEST(EmfPlayerTest, StretchDibitsPutsTheBitmapInPlace) {
  const QImage image = Draw([](TEmfWriter& emf) {
    test::TQuadrantBitmap bitmap;
    emf.Add(U_EMRSTRETCHDIBITS_set(kNoBounds, U_POINTL{20, 20}, U_POINTL{40, 40}, U_POINTL{0, 0},
                                   U_POINTL{2, 2}, U_DIB_RGB_COLORS, U_SRCCOPY, bitmap.Info(),
                                   bitmap.PixelBytes(), bitmap.Pixels()));
  });
  ExpectQuadrants(image);
}

TEST(EmfPlayerTest, BitBltWithoutBitmapFillsByRasterOperation) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRBITBLT_set(kNoBounds, U_POINTL{10, 10}, U_POINTL{20, 20}, U_POINTL{0, 0},
                            xform_set(1, 0, 0, 1, 0, 0), colorref3_set(0, 0, 0), U_DIB_RGB_COLORS,
                            U_BLACKNESS, nullptr, 0, nullptr));
    emf.Add(U_EMRBITBLT_set(kNoBounds, U_POINTL{50, 50}, U_POINTL{20, 20}, U_POINTL{0, 0},
                            xform_set(1, 0, 0, 1, 0, 0), colorref3_set(0, 0, 0), U_DIB_RGB_COLORS,
                            U_PATCOPY, nullptr, 0, nullptr));
  });
  EXPECT_TRUE(PixelIs(image, 20, 20, Qt::black));
  EXPECT_TRUE(PixelIs(image, 60, 60, Qt::red));
  EXPECT_TRUE(PixelIs(image, 40, 40, Qt::white));
}

TEST(EmfPlayerTest, DibPatternBrushFillsWithItsPattern) {
  const QImage image = Draw([](TEmfWriter& emf) {
    // 2 x 2 pixels of black and white in a 1-bit bitmap.
    U_RGBQUAD colours[] = {rgbquad_set(0, 0, 0, 0), rgbquad_set(255, 255, 255, 0)};
    char rows[] = {'\x40', 0, 0, 0, '\x80', 0, 0, 0};
    PU_BITMAPINFO info = bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 1, U_BI_RGB, 0, 0, 0, 2, 0),
                                        colours);
    uint32_t brush = 0;
    emf.Add(createdibpatternbrushpt_set(&brush, emf.Handles(), U_DIB_RGB_COLORS, info,
                                        sizeof rows, rows));
    emf.Add(selectobject_set(brush, emf.Handles()));
    std::free(info);
    RedRectangle(emf);
  });
  int black = 0;
  int white = 0;
  for (int y = 22; y < 48; ++y)
    for (int x = 22; x < 58; ++x) (image.pixelColor(x, y) == QColor(Qt::black) ? black : white)++;
  EXPECT_GT(black, 100);
  EXPECT_GT(white, 100);
}

// Text of 20 pixels from its reference point, with the given alignment,
// escapement in tenths of a degree and output options.
QImage Text(std::uint32_t align, U_POINTL reference, int escapement = 0,
            std::uint32_t options = U_ETO_NONE) {
  return Draw([&](TEmfWriter& emf) {
    uint16_t face[U_LF_FACESIZE] = {'D', 'e', 'j', 'a', 'V', 'u', ' ', 'S', 'a', 'n', 's', 0};
    const U_LOGFONT font = logfont_set(-20, 0, escapement, escapement, U_FW_NORMAL, 0, 0, 0, U_ANSI_CHARSET,
                                       U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                                       U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    uint32_t handle = 0;
    emf.Add(extcreatefontindirectw_set(&handle, emf.Handles(), reinterpret_cast<const char*>(&font),
                                       nullptr));
    emf.Add(selectobject_set(handle, emf.Handles()));
    emf.Add(U_EMRSETTEXTCOLOR_set(kBlue));
    emf.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    emf.Add(U_EMRSETTEXTALIGN_set(align));
    uint16_t text[] = {'H', 'H', 'H', 0};
    uint32_t* dx = dx_set(-20, U_FW_NORMAL, 3);
    char* emrtext = emrtext_set(reference, 3, 2, text, options, kNoBounds, dx);
    std::free(dx);
    emf.Add(U_EMREXTTEXTOUTW_set(kNoBounds, U_GM_COMPATIBLE, 1, 1,
                                 reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
  });
}

TEST(EmfPlayerTest, TextLandsInItsBox) {
  const QImage image = Text(U_TA_TOP | U_TA_LEFT, U_POINTL{10, 10});
  EXPECT_GT(InkIn(image, 10, 10, 60, 32), 60);
  EXPECT_EQ(InkIn(image, 0, 35, 99, 99), 0);
  EXPECT_EQ(InkIn(image, 0, 0, 8, 99), 0);
  EXPECT_EQ(InkIn(image, 0, 0, 99, 8), 0);
}

TEST(EmfPlayerTest, RightAlignedTextOnItsBaselineEndsAtTheReference) {
  const QImage image = Text(U_TA_RIGHT | U_TA_BASELINE, U_POINTL{90, 80});
  EXPECT_GT(InkIn(image, 40, 60, 90, 80), 60);
  EXPECT_EQ(InkIn(image, 92, 0, 99, 99), 0);
  EXPECT_EQ(InkIn(image, 0, 82, 99, 99), 0);
  EXPECT_EQ(InkIn(image, 0, 0, 99, 55), 0);
}

TEST(EmfPlayerTest, GlyphIndexTextIsNotDrawnAsCharacters) {
  EXPECT_EQ(InkIn(Text(U_TA_TOP, U_POINTL{10, 10}, 0, U_ETO_GLYPH_INDEX), 0, 0, 99, 99), 0);
}

TEST(EmfPlayerTest, FileWrittenByLibEmfIsDrawn) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("libemf.emf");
  test::WriteLibEmfPicture(file);
  const QImage image = test::RenderMetafile(file, true, 100, 100);
  // libEMF's reference device has 3.2 pixels per millimetre: each of its
  // pixels is 1.18 of ours at 96 per inch.
  EXPECT_TRUE(PixelIs(image, 13, 13, Qt::red));
  EXPECT_TRUE(PixelIs(image, 57, 45, Qt::red));
  EXPECT_TRUE(PixelIs(image, 61, 30, Qt::white));
  EXPECT_TRUE(PixelIs(image, 30, 49, Qt::white));
  EXPECT_GT(InkIn(image, 71, 71, 99, 99), 30);
  EXPECT_EQ(InkIn(image, 62, 0, 99, 69), 0);
  EXPECT_EQ(InkIn(image, 0, 50, 69, 99), 0);
}

// A bitmap header alone: width x height at 8 bits, run-length encoded,
// whose pixels are a single end-of-bitmap code.
void StretchRleBitmap(TEmfWriter& emf, int width, int height) {
  U_RGBQUAD colours[256] = {};
  PU_BITMAPINFO info = bitmapinfo_set(
      bitmapinfoheader_set(width, height, 1, 8, U_BI_RLE8, 2, 0, 0, 256, 0), colours);
  char pixels[] = {0, 1, 0, 0};
  emf.Add(U_EMRSTRETCHDIBITS_set(kNoBounds, U_POINTL{0, 0}, U_POINTL{100, 100}, U_POINTL{0, 0},
                                 U_POINTL{width, height}, U_DIB_RGB_COLORS, U_SRCCOPY, info,
                                 sizeof pixels, pixels));
  std::free(info);
}

TEST(EmfPlayerTest, BitmapBeyondTheSizeCapIsNotDrawn) {
  const QImage image = Draw([](TEmfWriter& emf) {
    StretchRleBitmap(emf, metafile::kMaxBitmapSide + 1, 1);
    StretchRleBitmap(emf, 40000, 40000);
    RedRectangle(emf);
  });
  ExpectRedRectangle(image);
  EXPECT_TRUE(PixelIs(image, 5, 5, Qt::white));
}

TEST(EmfPlayerTest, DrawingStopsWhenTheWorkCapIsSpent) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 10, 10)));
    const std::uint64_t bitmap = std::uint64_t{4096} * 4096 / metafile::kBitmapPixelsPerWorkUnit;
    for (std::uint64_t spent = 0; spent <= metafile::kMaxWorkUnits; spent += bitmap)
      StretchRleBitmap(emf, 4096, 4096);
    RedRectangle(emf);
  });
  EXPECT_TRUE(PixelIs(image, 5, 5, Qt::black));  // the bitmaps' colour 0 over the first square
  EXPECT_TRUE(PixelIs(image, 40, 35, Qt::black));
}

TEST(EmfPlayerTest, HatchedBrushLeavesBackgroundBetweenItsLines) {
  const QImage image = Draw([](TEmfWriter& emf) {
    uint32_t brush = 0;
    emf.Add(createbrushindirect_set(&brush, emf.Handles(), logbrush_set(U_BS_HATCHED, kBlue, U_HS_CROSS)));
    emf.Add(selectobject_set(brush, emf.Handles()));
    emf.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    RedRectangle(emf);
  });
  int blue = 0;
  int white = 0;
  for (int y = 21; y < 49; ++y)
    for (int x = 21; x < 59; ++x) {
      if (image.pixelColor(x, y) == QColor(Qt::blue)) ++blue;
      if (image.pixelColor(x, y) == QColor(Qt::white)) ++white;
    }
  EXPECT_GT(blue, 50);
  EXPECT_GT(white, 400);
  EXPECT_EQ(blue + white, 28 * 38);
}

TEST(EmfPlayerTest, RegionsFillAndClip) {
  const QImage image = Draw([](TEmfWriter& emf) {
    const U_RECTL clip[] = {Rect(0, 0, 100, 40)};
    PU_RGNDATA clipData = rgndata_set(rgndataheader_set(1, clip[0]), const_cast<U_RECTL*>(clip));
    emf.Add(U_EMREXTSELECTCLIPRGN_set(U_RGN_COPY, clipData));
    std::free(clipData);
    const U_RECTL rects[] = {Rect(10, 10, 30, 90), Rect(60, 10, 80, 90)};
    PU_RGNDATA fill = rgndata_set(rgndataheader_set(2, Rect(10, 10, 80, 90)),
                                  const_cast<U_RECTL*>(rects));
    uint32_t brush = 0;
    emf.Add(createbrushindirect_set(&brush, emf.Handles(), logbrush_set(U_BS_SOLID, kBlue, 0)));
    emf.Add(U_EMRFILLRGN_set(kNoBounds, brush, fill));
    std::free(fill);
  });
  EXPECT_TRUE(PixelIs(image, 20, 20, Qt::blue));
  EXPECT_TRUE(PixelIs(image, 70, 20, Qt::blue));
  EXPECT_TRUE(PixelIs(image, 45, 20, Qt::white));
  EXPECT_TRUE(PixelIs(image, 20, 60, Qt::white));  // clipped away
}

// Selects a one-rectangle clipping region with mode.
void SelectClipRect(TEmfWriter& emf, U_RECTL rect, std::uint32_t mode) {
  PU_RGNDATA region = rgndata_set(rgndataheader_set(1, rect), &rect);
  emf.Add(U_EMREXTSELECTCLIPRGN_set(mode, region));
  std::free(region);
}

TEST(EmfPlayerTest, ClippingRegionsCombineByTheirMode) {
  const QImage image = Draw([](TEmfWriter& emf) {
    SelectClipRect(emf, Rect(0, 0, 60, 100), U_RGN_COPY);
    SelectClipRect(emf, Rect(40, 0, 100, 100), U_RGN_XOR);
    emf.Add(U_EMREXCLUDECLIPRECT_set(Rect(70, 0, 90, 50)));
    emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 101, 101)));
  });
  EXPECT_TRUE(PixelIs(image, 20, 20, Qt::red));
  EXPECT_TRUE(PixelIs(image, 50, 20, Qt::white));
  EXPECT_TRUE(PixelIs(image, 80, 20, Qt::white));
  EXPECT_TRUE(PixelIs(image, 80, 70, Qt::red));
}

TEST(EmfPlayerTest, SetDibitsToDevicePlacesTheBitmapUnscaled) {
  const QImage image = Draw([](TEmfWriter& emf) {
    test::TQuadrantBitmap bitmap;
    emf.Add(U_EMRSETDIBITSTODEVICE_set(kNoBounds, U_POINTL{40, 40}, U_POINTL{0, 0},
                                       U_POINTL{2, 2}, U_DIB_RGB_COLORS, 0, 2, bitmap.Info(),
                                       bitmap.PixelBytes(), bitmap.Pixels()));
  });
  EXPECT_TRUE(PixelIs(image, 40, 40, Qt::red));
  EXPECT_TRUE(PixelIs(image, 41, 41, Qt::white));
  EXPECT_TRUE(PixelIs(image, 40, 41, Qt::blue));
  EXPECT_EQ(InkIn(image, 0, 0, 99, 38), 0);
}

TEST(EmfPlayerTest, EscapementTurnsTheText) {
  const QImage flat = Text(U_TA_BASELINE, U_POINTL{20, 80}, 0);
  const QImage turned = Text(U_TA_BASELINE, U_POINTL{20, 80}, 900);
  // Upright text runs right of its reference point; turned by 90 degrees it
  // runs up from it.
  EXPECT_GT(InkIn(flat, 30, 60, 99, 80), 30);
  EXPECT_EQ(InkIn(flat, 0, 0, 99, 55), 0);
  EXPECT_GT(InkIn(turned, 0, 20, 22, 75), 30);
  EXPECT_EQ(InkIn(turned, 30, 0, 99, 99), 0);
}

TEST(EmfPlayerTest, BadObjectIndexesAndCountsAreIgnored) {
  const QImage image = Draw([](TEmfWriter& emf) {
    emf.Add(U_EMRSELECTOBJECT_set(0x7FFFFFFF));
    emf.Add(U_EMRDELETEOBJECT_set(12345));
    emf.Add(U_EMRSELECTOBJECT_set(U_STOCK_OBJECT | 0x7777));
    const U_POINT16 points[] = {{0, 0}, {99, 0}, {99, 99}};
    const uint32_t counts[] = {300, 3};
    emf.Add(U_EMRPOLYPOLYGON16_set(kNoBounds, 2, counts, 3, points));
    RedRectangle(emf);
  });
  ExpectRedRectangle(image);
}

}  // namespace
}  // namespace tessalune
