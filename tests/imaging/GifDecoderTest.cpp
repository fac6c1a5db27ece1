// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifDecoder.h"

#include "Errors.h"
#include "ImageFixtures.h"

#include <gtest/gtest.h>

namespace tessalune {
namespace {

using test::GifFrame;
using test::PixelAt;

const std::vector<QColor> kColours = {Qt::black, Qt::red, Qt::green, Qt::blue};

GifFrame Frame(int left, int top, int width, int height, std::vector<std::uint8_t> indexes) {
  GifFrame frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.indexes = std::move(indexes);
  return frame;
}

TEST(GifDecoderTest, FirstFrameOnTheLogicalScreenWithWhiteAroundAndBehind) {
  GifFrame first = Frame(1, 1, 2, 2, {1, 2, 3, 0});
  first.transparent = 0;
  GifFrame second = Frame(0, 0, 4, 3, std::vector<std::uint8_t>(12, 2));
  const TBitmap bitmap = DecodeGif(test::MakeGif(4, 3, kColours, {first, second}));
  ASSERT_EQ(QSize(4, 3), bitmap.size());
  EXPECT_EQ(QColor(Qt::red), PixelAt(bitmap, 1, 1));
  EXPECT_EQ(QColor(Qt::green), PixelAt(bitmap, 2, 1));
  EXPECT_EQ(QColor(Qt::blue), PixelAt(bitmap, 1, 2));
  EXPECT_EQ(QColor(Qt::white), PixelAt(bitmap, 2, 2));  // transparent
  EXPECT_EQ(QColor(Qt::white), PixelAt(bitmap, 0, 0));  // uncovered
  EXPECT_EQ(QColor(Qt::white), PixelAt(bitmap, 3, 2));
}

TEST(GifDecoderTest, InterlacedRowsLandInPictureOrder) {
  std::vector<std::uint8_t> indexes;
  for (int y = 0; y < 10; ++y) indexes.push_back(static_cast<std::uint8_t>(y % 4));
  GifFrame frame = Frame(0, 0, 1, 10, indexes);
  frame.interlaced = true;
  const TBitmap bitmap = DecodeGif(test::MakeGif(1, 10, kColours, {frame}));
  for (int y = 0; y < 10; ++y) EXPECT_EQ(kColours[static_cast<std::size_t>(y % 4)], PixelAt(bitmap, 0, y)) << y;
}

TEST(GifDecoderTest, FrameReachingBeyondTheScreenIsClipped) {
  const TBitmap bitmap = DecodeGif(test::MakeGif(2, 2, kColours, {Frame(1, 1, 3, 3, std::vector<std::uint8_t>(9, 3))}));
  ASSERT_EQ(QSize(2, 2), bitmap.size());
  EXPECT_EQ(QColor(Qt::blue), PixelAt(bitmap, 1, 1));
  EXPECT_EQ(QColor(Qt::white), PixelAt(bitmap, 0, 1));
}

TEST(GifDecoderTest, MalformedStreamsRaise) {
  const std::string good = test::MakeGif(8, 8, kColours, {Frame(0, 0, 8, 8, std::vector<std::uint8_t>(64, 1))});
  EXPECT_THROW(DecodeGif(""), Exception);
  EXPECT_THROW(DecodeGif("GIF89a"), Exception);
  EXPECT_THROW(DecodeGif("This is a text file.\n"), Exception);
  EXPECT_THROW(DecodeGif(good.substr(0, good.size() - 12)), Exception);
  EXPECT_THROW(DecodeGif(test::MakeGif(8, 8, kColours, {})), Exception);
}

TEST(GifDecoderTest, ScreenClaimingAHugeSizeIsRefused) {
  std::string huge = test::MakeGif(8, 8, kColours, {Frame(0, 0, 1, 1, {1})});
  huge[6] = huge[7] = huge[8] = huge[9] = static_cast<char>(0xFF);
  EXPECT_THROW(DecodeGif(huge), Exception);
}

}  // namespace
}  // namespace tessalune
