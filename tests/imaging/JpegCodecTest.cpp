// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegCodec.h"

#include "Errors.h"
#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <regex>

namespace tessalune {
namespace {

using test::JpegKind;

::testing::AssertionResult Near(QColor expected, QColor actual, int tolerance = 6) {
  const int worst = std::max({std::abs(expected.red() - actual.red()), std::abs(expected.green() - actual.green()),
                              std::abs(expected.blue() - actual.blue())});
  if (worst <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << expected.name().toStdString() << ", got "
                                       << actual.name().toStdString();
}

TJPEGImage Loaded(const std::string& bytes) {
  TJPEGImage jpeg;
  jpeg.LoadFromBytes(bytes);
  return jpeg;
}

void ExpectJpegError(const std::string& bytes) {
  try {
    Loaded(bytes).Decode();
    ADD_FAILURE() << "no error";
  } catch (const Exception& error) {
    EXPECT_TRUE(std::regex_match(error.what(), std::regex("JPEG error #[0-9]+"))) << error.what();
  }
}

TEST(JpegCodecTest, DecodesColourGreyAndAdobeCmykToRgb) {
  const QColor orange(230, 120, 40);
  const TBitmap source = test::FilledBitmap(40, 24, orange);
  for (JpegKind kind : {JpegKind::Rgb, JpegKind::Progressive, JpegKind::AdobeCmyk}) {
    const TBitmap decoded = Loaded(test::MakeJpeg(source, kind)).Decode();
    ASSERT_EQ(QSize(40, 24), decoded.size());
    EXPECT_EQ(kBitmapFormat, decoded.format());
    EXPECT_TRUE(Near(orange, test::PixelAt(decoded, 17, 11)));
  }
  const TBitmap grey = Loaded(test::MakeJpeg(source, JpegKind::Grayscale)).Decode();
  EXPECT_TRUE(Near(QColor(120, 120, 120), test::PixelAt(grey, 3, 3)));
}

TEST(JpegCodecTest, ScaledDecodingRoundsTheSizeUp) {
  TJPEGImage jpeg = Loaded(test::MakeJpeg(test::NoiseBitmap(101, 75, 3)));
  EXPECT_EQ(101, jpeg.Width());
  EXPECT_EQ(75, jpeg.Height());
  const QSize expected[] = {{101, 75}, {51, 38}, {26, 19}, {13, 10}};
  for (TJPEGScale scale : {jsFullSize, jsHalf, jsQuarter, jsEighth}) {
    jpeg.Scale = scale;
    jpeg.Performance = scale == jsFullSize ? jpBestQuality : jpBestSpeed;
    EXPECT_EQ(expected[scale], QSize(jpeg.ScaledWidth(), jpeg.ScaledHeight()));
    EXPECT_EQ(expected[scale], jpeg.Decode().size());
  }
}

TEST(JpegCodecTest, WrittenStreamIsProgressiveAndReadsBack) {
  const QColor teal(20, 160, 150);
  const std::string stream = EncodeProgressiveJpeg(test::FilledBitmap(33, 17, teal), 80);
  const test::JpegInfo info = test::ReadJpegInfo(stream);
  EXPECT_TRUE(info.progressive);
  EXPECT_EQ(33, info.width);
  EXPECT_EQ(17, info.height);
  EXPECT_TRUE(Near(teal, test::PixelAt(Loaded(stream).Decode(), 20, 9)));
}

TEST(JpegCodecTest, QualityChangesTheStream) {
  const TBitmap noise = test::NoiseBitmap(64, 64, 9);
  EXPECT_LT(EncodeProgressiveJpeg(noise, 10).size(), EncodeProgressiveJpeg(noise, 95).size());
}

TEST(JpegCodecTest, HostileStreamsRaiseJpegErrors) {
  const std::string good = test::MakeJpeg(test::NoiseBitmap(64, 48, 5));
  ExpectJpegError("");
  ExpectJpegError("This is a text file, not a picture.\n");
  ExpectJpegError(good.substr(0, 300));
  ExpectJpegError(good.substr(0, good.size() / 2));
  std::string corrupt = good;
  for (std::size_t i = good.size() / 2; i < good.size() / 2 + 40; ++i) corrupt[i] = static_cast<char>(0xFF);
  ExpectJpegError(corrupt);
}

TEST(JpegCodecTest, StrayBytesBeforeTheEndMarkerStillDecode) {
  const QColor olive(120, 130, 40);
  std::string stream = test::MakeJpeg(test::FilledBitmap(24, 16, olive));
  ASSERT_EQ("\xFF\xD9", stream.substr(stream.size() - 2));
  stream.insert(stream.size() - 2, "\x12\x34\x56\x78");
  EXPECT_TRUE(Near(olive, test::PixelAt(Loaded(stream).Decode(), 12, 8)));
}

TEST(JpegCodecTest, HeaderClaimingAHugePictureIsRefusedBeforeDecoding) {
  std::string stream = test::MakeJpeg(test::FilledBitmap(16, 16, Qt::red));
  // Patch the frame header (SOF0: FF C0, length, precision, height, width).
  const std::size_t sof = stream.find("\xFF\xC0");
  ASSERT_NE(std::string::npos, sof);
  stream.replace(sof + 5, 4, "\xFF\xF0\xFF\xF0");
  TJPEGImage jpeg;
  EXPECT_THROW(jpeg.LoadFromBytes(stream), Exception);
}

// A run of pictures of one size decodes into one buffer, but never into one
// that a bitmap elsewhere still shows.
TEST(JpegCodecTest, DecodesIntoTheBufferOfThePictureBeforeUnlessItIsShared) {
  TJPEGImage first, second;
  first.LoadFromBytes(test::MakeJpeg(test::NoiseBitmap(40, 30, 1)));
  second.LoadFromBytes(test::MakeJpeg(test::NoiseBitmap(40, 30, 2)));
  TBitmap bitmap;
  first.DecodeTo(bitmap);
  const uchar* buffer = bitmap.constBits();
  second.DecodeTo(bitmap);
  EXPECT_EQ(bitmap.constBits(), buffer);
  EXPECT_EQ(bitmap, second.Decode());
  const TBitmap shown = bitmap;
  first.DecodeTo(bitmap);
  EXPECT_EQ(shown, second.Decode());
  EXPECT_EQ(bitmap, first.Decode());
}

}  // namespace
}  // namespace tessalune
