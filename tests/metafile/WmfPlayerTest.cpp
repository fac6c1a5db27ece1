// SPDX-License-Identifier: GPL-3.0-or-later
#include "WmfPlayer.h"

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
using test::TWmfWriter;

const U_COLORREF kRed = colorref3_set(255, 0, 0);
const U_COLORREF kBlue = colorref3_set(0, 0, 255);

U_RECT16 Rect(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  return U_RECT16{left, top, right, bottom};
}
U_POINT16 Point(int16_t x, int16_t y) { return U_POINT16{x, y}; }

// A placeable 100 x 100 picture at 96 units per inch with a null pen and a
// red brush selected (objects 0 and 1); draw adds the records under test.
QImage Draw(const std::function<void(TWmfWriter&)>& draw) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("test.wmf");
  {
    const U_PAIRF inches{100 / 96.0f, 100 / 96.0f};
    TWmfWriter wmf(file, &inches, 96);
    wmf.SelectPen(U_PS_NULL, 0, kRed);
    wmf.SelectBrush(kRed);
    draw(wmf);
    wmf.Finish();
  }
  return test::RenderMetafile(file, false, 100, 100);
}

void ExpectRedRectangle(const QImage& image) {
  EXPECT_TRUE(PixelIs(image, 21, 21, Qt::red));
  EXPECT_TRUE(PixelIs(image, 58, 48, Qt::red));
  EXPECT_TRUE(PixelIs(image, 18, 35, Qt::white));
  EXPECT_TRUE(PixelIs(image, 62, 35, Qt::white));
  EXPECT_TRUE(PixelIs(image, 40, 18, Qt::white));
  EXPECT_TRUE(PixelIs(image, 40, 52, Qt::white));
}

void RedRectangle(TWmfWriter& wmf) { wmf.Add(U_WMRRECTANGLE_set(Rect(20, 20, 60, 50))); }

TEST(WmfPlayerTest, FilledRectangleHasItsColourAndEdges) { ExpectRedRectangle(Draw(RedRectangle)); }

TEST(WmfPlayerTest, UnknownRecordIsSkipped) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    auto* record = static_cast<char*>(std::calloc(1, 10));
    const uint16_t words[] = {5, 0, 0x0077, 0xBEEF, 0xDEAD};
    std::memcpy(record, words, sizeof words);
    wmf.Add(record);
    RedRectangle(wmf);
  });
  ExpectRedRectangle(image);
}

TEST(WmfPlayerTest, LineEndsFollowTheWindow) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    wmf.SelectPen(U_PS_SOLID, 0, kBlue);
    wmf.Add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    wmf.Add(U_WMRSETWINDOWORG_set(Point(-500, 0)));
    wmf.Add(U_WMRSETWINDOWEXT_set(Point(1000, 1000)));
    wmf.Add(U_WMRMOVETO_set(Point(-400, 500)));
    wmf.Add(U_WMRLINETO_set(Point(400, 500)));
  });
  EXPECT_TRUE(PixelIs(image, 11, 50, Qt::blue));
  EXPECT_TRUE(PixelIs(image, 89, 50, Qt::blue));
  EXPECT_EQ(InkIn(image, 0, 0, 7, 99), 0);
  EXPECT_EQ(InkIn(image, 92, 0, 99, 99), 0);
  EXPECT_EQ(InkIn(image, 0, 53, 99, 99), 0);
}

TEST(WmfPlayerTest, ViewportScalesWithinTheFrame) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    wmf.Add(U_WMRSETWINDOWEXT_set(Point(100, 100)));
    wmf.Add(U_WMRSETVIEWPORTEXT_set(Point(50, 50)));
    wmf.Add(U_WMRSETVIEWPORTORG_set(Point(50, 50)));
    wmf.Add(U_WMRRECTANGLE_set(Rect(0, 0, 100, 100)));
  });
  EXPECT_TRUE(PixelIs(image, 75, 75, Qt::red));
  EXPECT_TRUE(PixelIs(image, 45, 75, Qt::white));
  EXPECT_TRUE(PixelIs(image, 75, 45, Qt::white));
}

TEST(WmfPlayerTest, NewObjectsTakeTheLowestFreeSlot) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    // Slot 0 holds the null pen; freed, it takes the next brush.
    wmf.Add(U_WMRDELETEOBJECT_set(0));
    wmf.Add(U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_SOLID, kBlue, 0)));
    wmf.Add(U_WMRSELECTOBJECT_set(0));
    RedRectangle(wmf);
  });
  EXPECT_TRUE(PixelIs(image, 40, 35, Qt::blue));
}

TEST(WmfPlayerTest, RestoreDcBringsBackTheBrush) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    wmf.Add(U_WMRSAVEDC_set());
    wmf.SelectBrush(kBlue);
    wmf.Add(U_WMRINTERSECTCLIPRECT_set(Rect(0, 0, 10, 10)));
    wmf.Add(U_WMRRESTOREDC_set(-1));
    RedRectangle(wmf);
  });
  ExpectRedRectangle(image);
}

TEST(WmfPlayerTest, PolygonsAndPolyPolygonsAreFilled) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    const U_POINT16 triangle[] = {{5, 5}, {45, 5}, {5, 45}};
    wmf.Add(U_WMRPOLYGON_set(3, triangle));
    const U_POINT16 squares[] = {{60, 60}, {90, 60}, {90, 90}, {60, 90},
                                 {60, 10}, {90, 10}, {90, 40}, {60, 40}};
    const uint16_t counts[] = {4, 4};
    wmf.Add(U_WMRPOLYPOLYGON_set(2, counts, squares));
  });
  EXPECT_TRUE(PixelIs(image, 12, 12, Qt::red));
  EXPECT_TRUE(PixelIs(image, 40, 40, Qt::white));
  EXPECT_TRUE(PixelIs(image, 75, 75, Qt::red));
  EXPECT_TRUE(PixelIs(image, 75, 25, Qt::red));
  EXPECT_TRUE(PixelIs(image, 75, 50, Qt::white));
}

TEST(WmfPlayerTest, StretchDibPutsTheBitmapInPlace) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    test::TQuadrantBitmap bitmap;
    wmf.Add(U_WMRSTRETCHDIB_set(Point(20, 20), Point(40, 40), Point(0, 0), Point(2, 2),
                                U_DIB_RGB_COLORS, U_SRCCOPY, bitmap.Info(), bitmap.PixelBytes(),
                                bitmap.Pixels()));
  });
  EXPECT_TRUE(PixelIs(image, 30, 30, Qt::red));
  EXPECT_TRUE(PixelIs(image, 50, 30, Qt::green));
  EXPECT_TRUE(PixelIs(image, 30, 50, Qt::blue));
  EXPECT_TRUE(PixelIs(image, 50, 50, Qt::white));
  EXPECT_TRUE(PixelIs(image, 15, 15, Qt::white));
}

TEST(WmfPlayerTest, StretchBltCombinesWithRasterOperation) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    wmf.Add(U_WMRPATBLT_set(Point(0, 0), Point(100, 100), U_PATCOPY));
    test::TQuadrantBitmap bitmap;
    wmf.Add(U_WMRDIBSTRETCHBLT_set(Point(20, 20), Point(40, 40), Point(0, 0), Point(2, 2),
                                   U_SRCAND, bitmap.Info(), bitmap.PixelBytes(), bitmap.Pixels()));
  });
  // Each quadrant's colour is masked by the red background.
  EXPECT_TRUE(PixelIs(image, 30, 30, Qt::red));
  EXPECT_TRUE(PixelIs(image, 50, 30, Qt::black));
  EXPECT_TRUE(PixelIs(image, 30, 50, Qt::black));
  EXPECT_TRUE(PixelIs(image, 50, 50, Qt::red));
  EXPECT_TRUE(PixelIs(image, 10, 10, Qt::red));
}

TEST(WmfPlayerTest, WindowWithYUpIsDrawnUpright) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("up.wmf");
  {
    TWmfWriter wmf(file, nullptr, 0);
    wmf.Add(U_WMRSETWINDOWORG_set(Point(0, 100)));
    wmf.Add(U_WMRSETWINDOWEXT_set(Point(100, -100)));
    wmf.SelectPen(U_PS_NULL, 0, kRed);
    wmf.SelectBrush(kRed);
    wmf.Add(U_WMRRECTANGLE_set(Rect(0, 0, 50, 30)));  // the lower left corner
    wmf.Finish();
  }
  const QImage image = test::RenderMetafile(file, false, 100, 100);
  EXPECT_TRUE(PixelIs(image, 10, 90, Qt::red));
  EXPECT_TRUE(PixelIs(image, 10, 10, Qt::white));
  EXPECT_TRUE(PixelIs(image, 60, 90, Qt::white));
}

TEST(WmfPlayerTest, TextLandsInItsBox) {
  const QImage image = Draw([](TWmfWriter& wmf) {
    U_FONT* font = U_FONT_set(-20, 0, 0, 0, U_FW_BOLD, 0, 1, 0, U_ANSI_CHARSET,
                              U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                              U_DEFAULT_PITCH, const_cast<char*>("DejaVu Sans"));
    uint32_t handle = 0;
    wmf.Add(wcreatefontindirect_set(&handle, wmf.Handles(), font));
    wmf.Add(wselectobject_set(handle, wmf.Handles()));
    std::free(font);
    wmf.Add(U_WMRSETTEXTCOLOR_set(kBlue));
    wmf.Add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    wmf.Add(U_WMRTEXTOUT_set(Point(10, 10), const_cast<char*>("HHH")));
  });
  EXPECT_GT(InkIn(image, 10, 10, 70, 32), 60);
  EXPECT_EQ(InkIn(image, 0, 36, 99, 99), 0);
  EXPECT_EQ(InkIn(image, 0, 0, 8, 99), 0);
}

}  // namespace
}  // namespace tessalune
