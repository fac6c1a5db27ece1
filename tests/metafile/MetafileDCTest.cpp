// SPDX-License-Identifier: GPL-3.0-or-later
// The work cap of the device context at the sizes pictures are drawn at.
#include "MetafileLimits.h"
#include "MetafileWriters.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tessalune {
namespace {

using test::InkIn;
using test::PixelIs;

constexpr int kColumns = 200;
constexpr int kRows = 150;
constexpr int kBlock = 40;  // of the 800 x 600 drawing

// Thirty thousand circle outlines over an 800 x 600 picture, drawn in rows
// from the top, and a red square in the lower right corner last. Their size
// makes them spend about two thirds of the work cap at 800 x 600: most of a
// circle's cost is the area it may cover, which grows with the target.
std::string DenseDrawing(const test::Sandbox& sandbox) {
  constexpr double kCostPerCircle = 2.0 / 3 * metafile::kMaxWorkUnits / (kColumns * kRows);
  // A record, an ellipse's 13 path elements counted for its area and again
  // for its stroke, and its bounding box.
  const int diameter =
      static_cast<int>(std::sqrt((kCostPerCircle - 28) * metafile::kPixelsPerWorkUnit));
  const std::string file = sandbox.File("dense.emf");
  test::TEmfWriter emf(file, 800, 600);
  emf.SelectPen(U_PS_SOLID, 0, colorref3_set(0, 0, 0));
  emf.Add(selectobject_set(U_NULL_BRUSH, emf.Handles()));
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const int left = column * (800 - diameter) / kColumns;
      const int top = row * (600 - diameter) / kRows;
      emf.Add(U_EMRELLIPSE_set(U_RECTL{left, top, left + diameter, top + diameter}));
    }
  }
  emf.SelectBrush(colorref3_set(255, 0, 0));
  emf.Add(U_EMRRECTANGLE_set(U_RECTL{770, 570, 800, 600}));
  emf.Finish();
  return file;
}

// Which blocks of the 800 x 600 drawing have ink ("#") at scale, a line of
// blocks a row.
std::string InkedBlocks(const QImage& image, int scale) {
  std::string blocks;
  const int side = kBlock * scale;
  for (int y = 0; y < image.height(); y += side) {
    for (int x = 0; x < image.width(); x += side)
      blocks += InkIn(image, x, y, x + side - 1, y + side - 1) > 0 ? '#' : '.';
    blocks += '\n';
  }
  return blocks;
}

TEST(MetafileDCTest, DenseDrawingCompleteAtReferenceSizeIsCompleteAtEverySize) {
  test::Sandbox sandbox;
  const std::string file = DenseDrawing(sandbox);
  const QImage reference = test::RenderMetafile(file, true, 800, 600);
  ASSERT_TRUE(PixelIs(reference, 790, 590, Qt::red));
  const std::string blocks = InkedBlocks(reference, 1);
  for (const int scale : {2, 5}) {
    const QImage image = test::RenderMetafile(file, true, 800 * scale, 600 * scale);
    EXPECT_TRUE(PixelIs(image, 790 * scale, 590 * scale, Qt::red)) << scale;
    EXPECT_EQ(InkedBlocks(image, scale), blocks) << scale;
  }
}

// Qt takes minutes to make a region whose edges cross rows hundreds of
// thousands of times: a comb of 200 teeth over 800 x 100 pixels, as a
// clipping path, clips to its bounding box.
TEST(MetafileDCTest, ClippingAreaTooIntricateForARegionClipsToItsBoundingBox) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("comb.emf");
  {
    test::TEmfWriter emf(file, 800, 100);
    std::vector<U_POINT16> comb;
    for (std::int16_t x = 0; x < 800; x += 4)
      comb.insert(comb.end(), {U_POINT16{x, 100}, U_POINT16{x, 0},
                               U_POINT16{static_cast<std::int16_t>(x + 2), 0},
                               U_POINT16{static_cast<std::int16_t>(x + 2), 100}});
    emf.Add(U_EMRBEGINPATH_set());
    emf.Add(U_EMRPOLYGON16_set(U_RECTL{0, 0, -1, -1}, static_cast<std::uint32_t>(comb.size()),
                               comb.data()));
    emf.Add(U_EMRENDPATH_set());
    emf.Add(U_EMRSELECTCLIPPATH_set(U_RGN_COPY));
    emf.SelectBrush(colorref3_set(255, 0, 0));
    emf.Add(U_EMRRECTANGLE_set(U_RECTL{0, 0, 801, 101}));
    emf.Finish();
  }
  const QImage image = test::RenderMetafile(file, true, 800, 100);
  EXPECT_TRUE(PixelIs(image, 403, 50, Qt::red));
  EXPECT_TRUE(PixelIs(image, 799, 50, Qt::white));
}

}  // namespace
}  // namespace tessalune
