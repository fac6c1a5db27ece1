// SPDX-License-Identifier: GPL-3.0-or-later
#include "Metafile.h"

#include "Errors.h"
#include "MetafileWriters.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstring>
#include <functional>
#include <vector>

namespace tessalune {
namespace {

using test::TEmfWriter;
using test::TWmfWriter;

const U_COLORREF kRed = colorref3_set(255, 0, 0);
const U_COLORREF kBlue = colorref3_set(0, 0, 255);
const U_COLORREF kGreen = colorref3_set(0, 255, 0);

// The metafile drawn on white into a width x height bitmap, as thumbnails are.
QImage Render(const TMetafile& metafile, int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(Qt::white);
  QPainter painter(&image);
  metafile.Draw(painter, QRectF(0, 0, width, height));
  return image;
}

TMetafile Load(const std::string& fileName, bool enhanced) {
  TMetafile metafile;
  metafile.LoadFromFile(fileName, enhanced);
  return metafile;
}

::testing::AssertionResult PixelIs(const QImage& image, int x, int y, QColor expected) {
  const QColor actual = image.pixelColor(x, y);
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "pixel (" << x << ", " << y << ") is " << actual.name().toStdString()
         << ", expected " << expected.name().toStdString();
}

U_RECTL Rect(int left, int top, int right, int bottom) { return U_RECTL{left, top, right, bottom}; }

// A red rectangle without outline from (20, 20) to (60, 50) on 100 x 100.
std::string RedRectangleEmf(const test::Sandbox& sandbox, const std::string& name,
                            const std::function<void(TEmfWriter&)>& before = {}) {
  const std::string file = sandbox.File(name);
  TEmfWriter emf(file, 100, 100);
  emf.Add(selectobject_set(U_NULL_PEN, emf.Handles()));
  emf.SelectBrush(kRed);
  if (before) before(emf);
  emf.Add(U_EMRRECTANGLE_set(Rect(20, 20, 60, 50)));
  emf.Finish();
  return file;
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

TEST(MetafileTest, EmfSizeComesFromTheFrameAt96PixelsPerInch) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("size.emf");
  TEmfWriter emf(file, 128, 96);
  emf.Finish();
  const TMetafile metafile = Load(file, true);
  EXPECT_EQ(metafile.Width(), 128);
  EXPECT_EQ(metafile.Height(), 96);
  EXPECT_FALSE(metafile.Empty());
}

TEST(MetafileTest, EmfFilledRectangleHasItsColourAndEdges) {
  test::Sandbox sandbox;
  ExpectRedRectangle(Render(Load(RedRectangleEmf(sandbox, "rect.emf"), true), 100, 100));
}

TEST(MetafileTest, EmfStretchesOntoTheTarget) {
  test::Sandbox sandbox;
  const QImage image = Render(Load(RedRectangleEmf(sandbox, "rect.emf"), true), 200, 50);
  EXPECT_TRUE(PixelIs(image, 42, 11, Qt::red));
  EXPECT_TRUE(PixelIs(image, 118, 24, Qt::red));
  EXPECT_TRUE(PixelIs(image, 36, 11, Qt::white));
  EXPECT_TRUE(PixelIs(image, 124, 11, Qt::white));
}

TEST(MetafileTest, FullFrameRectangleFillsThe127x95Thumbnail) {
  test::Sandbox sandbox;
  const std::string emfFile = sandbox.File("full.emf");
  {
    TEmfWriter emf(emfFile, 128, 96);
    emf.Add(selectobject_set(U_NULL_PEN, emf.Handles()));
    emf.SelectBrush(kBlue);
    emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 128, 96)));
    emf.Finish();
  }
  const std::string wmfFile = sandbox.File("full.wmf");
  {
    const U_PAIRF inches{128 / 96.0f, 1.0f};
    TWmfWriter wmf(wmfFile, &inches, 96);
    wmf.SelectPen(U_PS_NULL, 0, kBlue);
    wmf.SelectBrush(kBlue);
    wmf.Add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 128, 96}));
    wmf.Finish();
  }
  for (const auto& [file, enhanced] : {std::pair{emfFile, true}, std::pair{wmfFile, false}}) {
    const TMetafile metafile = Load(file, enhanced);
    ASSERT_EQ(metafile.Width(), 128) << file;
    ASSERT_EQ(metafile.Height(), 96) << file;
    const QImage image = Render(metafile, 127, 95);
    for (const auto& [x, y] : {std::pair{0, 0}, {126, 0}, {0, 94}, {126, 94}, {63, 47}})
      EXPECT_TRUE(PixelIs(image, x, y, Qt::blue)) << file;
  }
}

}  // namespace
}  // namespace tessalune
