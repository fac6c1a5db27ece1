// SPDX-License-Identifier: GPL-3.0-or-later
#include "Orientation.h"

#include "ImageFixtures.h"
#include "JpegCodec.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessalune {
namespace {

using test::ExifBlock;
using test::ExifEntry;

TOrientation OrientationOfJpegWith(const std::string& app1) {
  TJPEGImage jpeg;
  jpeg.LoadFromBytes(test::WithApp1(test::MakeJpeg(test::FilledBitmap(16, 8, Qt::gray)), app1));
  return jpeg.Orientation();
}

TEST(ExifOrientationTest, IsReadFromTheJpegInEitherByteOrder) {
  for (int value = 1; value <= 8; ++value) {
    EXPECT_EQ(OrientationOfJpegWith(ExifBlock({value, 3, 1, true})), value);
    EXPECT_EQ(OrientationOfJpegWith(ExifBlock({value, 3, 1, false})), value);
  }
  TJPEGImage plain;
  plain.LoadFromBytes(test::MakeJpeg(test::FilledBitmap(16, 8, Qt::gray)));
  EXPECT_EQ(plain.Orientation(), kUpright);
}

TEST(ExifOrientationTest, FollowsOtherApp1Segments) {
  const std::string xmp = "http://ns.adobe.com/xap/1.0/" + std::string(1, '\0') + "<x/>";
  const std::string jpeg = test::MakeJpeg(test::FilledBitmap(16, 8, Qt::gray));
  TJPEGImage image;
  image.LoadFromBytes(test::WithApp1(test::WithApp1(jpeg, ExifBlock({6, 3, 1, true})), xmp));
  EXPECT_EQ(image.Orientation(), 6);
  EXPECT_EQ(image.Width(), 8);
  EXPECT_EQ(image.Height(), 16);
}

TEST(ExifOrientationTest, AMalformedTagMeansUpright) {
  std::string badOrder = ExifBlock({6, 3, 1, true});
  badOrder.replace(6, 2, "XX");
  const std::string blocks[] = {
      ExifBlock({0, 3, 1, true}),  ExifBlock({9, 3, 1, true}), ExifBlock({6, 4, 1, true}),
      ExifBlock({6, 3, 2, true}),  ExifBlock({6, 1, 1, true}), ExifBlock({6, 3, 1, true}).substr(0, 21),
      badOrder, std::string("Exif\0\0", 6), std::string("Exif\0\0MM\0*\xFF\xFF\xFF\xFF", 14)};
  for (const std::string& block : blocks) {
    EXPECT_EQ(OrientationOfJpegWith(block), kUpright) << testing::PrintToString(block);
  }
}

// Pixels a to f of a 3 x 2 bitmap, as stored, row by row.
TBitmap Letters(const std::vector<char>& pixels, int width) {
  const int height = int(pixels.size()) / width;
  TBitmap bitmap = NewBitmap(width, height);
  for (int i = 0; i < int(pixels.size()); ++i) {
    bitmap.scanLine(i / width)[3 * (i % width)] = static_cast<std::uint8_t>(pixels[std::size_t(i)]);
  }
  return bitmap;
}

struct TurnCase {
  TOrientation orientation;
  std::vector<char> shown;
  int shownWidth;
};

class TurnBitmapTest : public ::testing::TestWithParam<TurnCase> {};

TEST_P(TurnBitmapTest, ShowsThePictureAsViewersDo) {
  const TBitmap stored = Letters({'a', 'b', 'c', 'd', 'e', 'f'}, 3);
  EXPECT_EQ(TurnBitmap(stored, GetParam().orientation), Letters(GetParam().shown, GetParam().shownWidth));
}

INSTANTIATE_TEST_SUITE_P(
    EveryOrientation, TurnBitmapTest,
    ::testing::Values(TurnCase{1, {'a', 'b', 'c', 'd', 'e', 'f'}, 3},
                      TurnCase{2, {'c', 'b', 'a', 'f', 'e', 'd'}, 3},
                      TurnCase{3, {'f', 'e', 'd', 'c', 'b', 'a'}, 3},
                      TurnCase{4, {'d', 'e', 'f', 'a', 'b', 'c'}, 3},
                      TurnCase{5, {'a', 'd', 'b', 'e', 'c', 'f'}, 2},
                      TurnCase{6, {'d', 'a', 'e', 'b', 'f', 'c'}, 2},
                      TurnCase{7, {'f', 'c', 'e', 'b', 'd', 'a'}, 2},
                      TurnCase{8, {'c', 'f', 'b', 'e', 'a', 'd'}, 2}));

// Across the tiles a large turn works in, turns undo one another.
TEST(TurnBitmapTest, TurnsOfLargeBitmapsUndoEachOther) {
  const TBitmap noise = test::NoiseBitmap(301, 130, 7);
  EXPECT_EQ(TurnBitmap(TurnBitmap(noise, 6), 8), noise);
  EXPECT_EQ(TurnBitmap(TurnBitmap(noise, 5), 5), noise);
  EXPECT_EQ(TurnBitmap(TurnBitmap(noise, 7), 7), noise);
  EXPECT_EQ(TurnBitmap(TurnBitmap(noise, 6), 6), TurnBitmap(noise, 3));
  EXPECT_EQ(TurnBitmap(noise, 0), noise) << "not an orientation: left as it is";
}

}  // namespace
}  // namespace tessalune
