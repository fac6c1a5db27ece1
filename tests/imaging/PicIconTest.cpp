// SPDX-License-Identifier: GPL-3.0-or-later
#include "PicIcon.h"

#include "Errors.h"
#include "ImageFixtures.h"
#include "ImageResize.h"
#include "ProcessLimits.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <fstream>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSALUNE_ADDRESS_SANITIZER
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define TESSALUNE_ADDRESS_SANITIZER
#endif

namespace tessalune {
namespace {

using test::PixelAt;

// The error mark as drawn: black frame, white inside, a red X whose strokes
// take the pixels within 1.5 of the two diagonals (10, 10)-(20, 20) and
// (20, 10)-(10, 20), round at the ends.
const char* const kErrorMark[30] = {
    "##############################",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#........RRR.......RRR.......#",
    "#........RRRR.....RRRR.......#",
    "#........RRRRR...RRRRR.......#",
    "#.........RRRRR.RRRRR........#",
    "#..........RRRRRRRRR.........#",
    "#...........RRRRRRR..........#",
    "#............RRRRR...........#",
    "#...........RRRRRRR..........#",
    "#..........RRRRRRRRR.........#",
    "#.........RRRRR.RRRRR........#",
    "#........RRRRR...RRRRR.......#",
    "#........RRRR.....RRRR.......#",
    "#........RRR.......RRR.......#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "#............................#",
    "##############################",
};

::testing::AssertionResult IsErrorMark(const TBitmap& bitmap) {
  if (bitmap.size() != QSize(30, 30)) return ::testing::AssertionFailure() << "size is not 30 x 30";
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      const char kind = kErrorMark[y][x];
      const QColor expected = kind == '#' ? QColor(0, 0, 0) : kind == 'R' ? QColor(255, 0, 0) : QColor(255, 255, 255);
      if (PixelAt(bitmap, x, y) != expected) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                             << PixelAt(bitmap, x, y).name().toStdString();
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class PicIconTest : public ::testing::Test {
protected:
  test::Sandbox sandbox;
  TPicIcon icon;

  std::string Jpeg(const std::string& name, int width, int height) {
    return sandbox.Write(name, test::MakeJpeg(test::FilledBitmap(width, height, QColor(90, 140, 200))));
  }
  std::string Bmp(const std::string& name, const TBitmap& bitmap) {
    return sandbox.Write(name, test::MakeWithQt(bitmap, "BMP"));
  }
};

TEST_F(PicIconTest, StartsWithTheDocumentedSettings) {
  EXPECT_FALSE(icon.Fast);
  EXPECT_EQ(128, icon.MaxWidth);
  EXPECT_EQ(96, icon.MaxHeight);
  EXPECT_EQ(80, icon.Quality);
  EXPECT_EQ(0, icon.PictureWidth + icon.PictureHeight + icon.ThumbWidth + icon.ThumbHeight);
  EXPECT_TRUE(icon.Bitmap.isNull());
}

struct ThumbCase {
  int width, height, maxWidth, maxHeight, thumbWidth, thumbHeight;
};

class CalcThumbSizeTest : public PicIconTest, public ::testing::WithParamInterface<ThumbCase> {};

TEST_P(CalcThumbSizeTest, QuotientIsRoundedBeforeTheProduct) {
  const ThumbCase c = GetParam();
  icon.MaxWidth = c.maxWidth;
  icon.MaxHeight = c.maxHeight;
  icon.Picture.LoadFromFile(Jpeg("p.jpg", c.width, c.height));
  icon.CalcThumbSize();
  EXPECT_EQ(c.thumbWidth, icon.ThumbWidth);
  EXPECT_EQ(c.thumbHeight, icon.ThumbHeight);
}

INSTANTIATE_TEST_SUITE_P(Table, CalcThumbSizeTest,
                         ::testing::Values(ThumbCase{1000, 750, 128, 96, 127, 95}, ThumbCase{800, 600, 128, 96, 128, 96},
                                           ThumbCase{2000, 3000, 128, 96, 63, 95}, ThumbCase{1200, 1600, 128, 96, 72, 96},
                                           ThumbCase{3000, 2000, 128, 96, 128, 85}, ThumbCase{100, 50, 128, 96, 100, 50},
                                           ThumbCase{1000, 750, INT_MAX, INT_MAX, 1000, 750}),
                         [](const ::testing::TestParamInfo<ThumbCase>& tested) {
                           const ThumbCase& c = tested.param;
                           return std::to_string(c.width) + "x" + std::to_string(c.height) + "_within_" +
                                  std::to_string(c.maxWidth) + "x" + std::to_string(c.maxHeight);
                         });

TEST_F(PicIconTest, FastModeDecodesAtTheFirstScaleWithinTwiceTheMaxima) {
  icon.Fast = true;
  icon.LoadFromFile(Jpeg("big.jpg", 4000, 3000));
  EXPECT_EQ(jsEighth, icon.Picture.Jpeg().Scale);
  EXPECT_EQ(jpBestSpeed, icon.Picture.Jpeg().Performance);
  EXPECT_EQ(QSize(500, 375), icon.SourceBitmap.size());
  EXPECT_EQ(QSize(127, 95), icon.Bitmap.size());
  EXPECT_EQ(4000, icon.PictureWidth);
  icon.LoadFromFile(Jpeg("small.jpg", 600, 400));
  EXPECT_EQ(jsQuarter, icon.Picture.Jpeg().Scale);
  EXPECT_EQ(QSize(150, 100), icon.SourceBitmap.size());
  EXPECT_EQ(QSize(128, 85), icon.Bitmap.size());
}

TEST_F(PicIconTest, PublishingModeResamplesTheFullDecode) {
  const std::string file = sandbox.Write("n.jpg", test::MakeJpeg(test::NoiseBitmap(300, 200, 4)));
  icon.LoadFromFile(file);
  EXPECT_EQ(jsFullSize, icon.Picture.Jpeg().Scale);
  EXPECT_EQ(jpBestQuality, icon.Picture.Jpeg().Performance);
  ASSERT_EQ(QSize(300, 200), icon.SourceBitmap.size());
  TBitmap source = icon.SourceBitmap;
  TBitmap expected = NewBitmap(128, 85);
  ResampleBitmap(source, expected, rkLanczos3);
  EXPECT_EQ(expected, icon.Bitmap);
}

TEST_F(PicIconTest, PictureThatFitsIsCopiedUnscaled) {
  const TBitmap noise = test::NoiseBitmap(100, 50, 11);
  for (bool fast : {false, true}) {
    icon.Fast = fast;
    icon.LoadFromFile(Bmp("fits.bmp", noise));
    EXPECT_EQ(noise, icon.Bitmap);
  }
  const std::string jpeg = sandbox.Write("fits.jpg", test::MakeJpeg(noise));
  icon.LoadFromFile(jpeg);
  TJPEGImage reference;
  reference.LoadFromFile(jpeg);
  EXPECT_EQ(reference.Decode(), icon.Bitmap);
}

TEST_F(PicIconTest, IconIsDrawnOnWhite) {
  QImage picture(32, 32, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 16; ++x) picture.setPixelColor(x, y, Qt::blue);
  }
  icon.LoadFromFile(sandbox.Write("i.ico", test::MakeWithQt(picture, "ICO")));
  ASSERT_EQ(QSize(32, 32), icon.Bitmap.size());
  EXPECT_EQ(kBitmapFormat, icon.Bitmap.format());
  EXPECT_EQ(QColor(Qt::blue), PixelAt(icon.Bitmap, 5, 20));
  EXPECT_EQ(QColor(Qt::white), PixelAt(icon.Bitmap, 25, 20));
}

TEST_F(PicIconTest, GifFirstFrameIsScaled) {
  test::GifFrame frame{0, 0, 300, 200, false, -1, std::vector<std::uint8_t>(300 * 200, 1)};
  icon.LoadFromFile(sandbox.Write("g.gif", test::MakeGif(300, 200, {Qt::black, Qt::red}, {frame})));
  ASSERT_EQ(QSize(128, 85), icon.Bitmap.size());
  // The Lanczos weights are not normalised: a flat 255 comes out a little lower.
  const QColor middle = PixelAt(icon.Bitmap, 60, 40);
  EXPECT_GE(middle.red(), 250);
  EXPECT_EQ(0, middle.green());
  EXPECT_EQ(0, middle.blue());
}

TEST_F(PicIconTest, ErrorMarkIsDrawnPixelByPixel) {
  icon.DrawErrorMark();
  EXPECT_TRUE(IsErrorMark(icon.Bitmap));
}

TEST_F(PicIconTest, UnreadablePicturesGiveTheErrorMarkAndNoSize) {
  const std::string good = test::MakeJpeg(test::NoiseBitmap(64, 48, 2));
  const std::string bmp = test::MakeWithQt(test::NoiseBitmap(20, 20, 1), "BMP");
  const std::string gif = test::MakeGif(20, 20, {Qt::red}, {test::GifFrame{0, 0, 20, 20, false, -1,
                                                                            std::vector<std::uint8_t>(400, 0)}});
  QImage iconImage(16, 16, QImage::Format_ARGB32);
  iconImage.fill(Qt::red);
  const std::string ico = test::MakeWithQt(iconImage, "ICO");
  std::string hugeGif = gif;
  hugeGif[6] = hugeGif[7] = hugeGif[8] = hugeGif[9] = static_cast<char>(0xFF);
  std::string hugeBmp = bmp;
  hugeBmp.replace(18, 8, std::string("\xFF\xFF\x00\x00\xFF\xFF\x00\x00", 8));
  const auto scrambled = [](std::string bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); i += 3) bytes[i] = static_cast<char>(bytes[i] * 7 + 13);
    return bytes;
  };
  const std::string files[] = {
      sandbox.File("missing.jpg"), sandbox.Write("x.png", good), sandbox.Write("text.jpg", "Hello, I am text.\n"),
      sandbox.Write("cut.jpg", good.substr(0, good.size() / 2)), sandbox.Write("cut.gif", gif.substr(0, 30)),
      sandbox.Write("cut.bmp", bmp.substr(0, 60)), sandbox.Write("cut.ico", ico.substr(0, 30)),
      sandbox.Write("huge.gif", hugeGif), sandbox.Write("empty.gif", test::MakeGif(0, 0, {Qt::red}, {})),
      sandbox.Write("huge.bmp", hugeBmp), sandbox.Write("bad.jpg", scrambled(good, good.size() / 3)),
      sandbox.Write("bad.gif", scrambled(gif, 10)), sandbox.Write("bad.bmp", scrambled(bmp, 0)),
      sandbox.Write("bad.ico", scrambled(ico, 0)),
      sandbox.Write("m.wmf", "not a metafile")};
  for (const std::string& file : files) {
    icon.LoadFromFile(Jpeg("ok.jpg", 10, 10));
    ASSERT_EQ(10, icon.PictureWidth);
    icon.LoadFromFile(file);
    EXPECT_TRUE(IsErrorMark(icon.Bitmap)) << file;
    EXPECT_EQ(0, icon.PictureWidth) << file;
    EXPECT_EQ(0, icon.PictureHeight) << file;
  }
}

TEST_F(PicIconTest, ThumbSidesTooSmallToScaleGiveTheErrorMark) {
  const std::string sliver = Bmp("sliver.bmp", test::FilledBitmap(1000, 10, Qt::green));  // thumb 128 x 1
  icon.LoadFromFile(sliver);
  EXPECT_TRUE(IsErrorMark(icon.Bitmap));
  const std::string thread = Bmp("thread.bmp", test::FilledBitmap(2000, 10, Qt::green));  // thumb 128 x 0
  for (bool fast : {false, true}) {
    icon.Fast = fast;
    icon.LoadFromFile(thread);
    EXPECT_TRUE(IsErrorMark(icon.Bitmap)) << fast;
  }
}

TEST_F(PicIconTest, SecondLoadShowsNothingOfTheFirst) {
  icon.LoadFromFile(Bmp("red.bmp", test::FilledBitmap(400, 300, Qt::red)));
  ASSERT_EQ(QSize(128, 96), icon.Bitmap.size());
  ASSERT_GE(PixelAt(icon.Bitmap, 3, 3).red(), 250);
  icon.LoadFromFile(Bmp("green.bmp", test::FilledBitmap(40, 90, Qt::green)));
  EXPECT_EQ(QSize(40, 90), icon.Bitmap.size());
  for (int y = 0; y < 90; y += 7) {
    for (int x = 0; x < 40; x += 3) ASSERT_EQ(QColor(Qt::green), PixelAt(icon.Bitmap, x, y));
  }
}

TEST_F(PicIconTest, SavesAProgressiveJpegOfTheBitmapOrTheErrorMark) {
  struct Case { std::string source; int width, height; };
  for (const Case& c : {Case{Jpeg("p.jpg", 400, 300), 128, 96}, Case{sandbox.File("missing.gif"), 30, 30}}) {
    icon.LoadFromFile(c.source);
    icon.SaveToFile(sandbox.File("thumb.jpg"));
    const test::JpegInfo info = test::ReadJpegInfo(test::ReadBytes(sandbox.File("thumb.jpg")));
    EXPECT_TRUE(info.progressive) << c.source;
    EXPECT_EQ(c.width, info.width) << c.source;
    EXPECT_EQ(c.height, info.height) << c.source;
  }
}

TEST_F(PicIconTest, BitmapWithoutPixelsGivesAnEmptyFile) {
  sandbox.Write("old.jpg", "old content");
  icon.SaveToFile(sandbox.File("old.jpg"));
  EXPECT_EQ("", test::ReadBytes(sandbox.File("old.jpg")));
}

// The corner colours of a picture as shown: 'R' red, 'G' green, '.' other,
// read top-left, top-right, bottom-right, bottom-left, a few pixels in.
std::string Corners(const TBitmap& bitmap) {
  const int w = bitmap.width(), h = bitmap.height(), in = 3;
  std::string corners;
  for (const QPoint at : {QPoint(in, in), QPoint(w - 1 - in, in), QPoint(w - 1 - in, h - 1 - in),
                          QPoint(in, h - 1 - in)}) {
    const QColor c = PixelAt(bitmap, at.x(), at.y());
    corners += c.red() > 180 && c.green() < 80 && c.blue() < 80   ? 'R'
               : c.green() > 180 && c.red() < 80 && c.blue() < 80 ? 'G'
                                                                   : '.';
  }
  return corners;
}

struct OrientationCase {
  TOrientation orientation;
  const char* corners;  // where a viewer shows the stored top-left (red) and top-right (green)
  QSize thumb;
};

class PicIconOrientationTest : public PicIconTest,
                               public ::testing::WithParamInterface<OrientationCase> {
protected:
  // A 160 x 120 picture stored with its marks at the top, tagged.
  std::string TaggedJpeg() {
    const std::string jpeg = test::MakeJpeg(test::CornerMarkedBitmap(160, 120));
    return sandbox.Write("tagged.jpg", test::WithApp1(jpeg, test::ExifBlock({GetParam().orientation})));
  }
};

TEST_P(PicIconOrientationTest, ThumbnailsInBothModesShowThePictureAsViewersDo) {
  const std::string file = TaggedJpeg();
  for (const bool fast : {false, true}) {
    icon.Fast = fast;
    icon.LoadFromFile(file);
    EXPECT_EQ(icon.Bitmap.size(), GetParam().thumb) << "fast " << fast;
    EXPECT_EQ(Corners(icon.Bitmap), GetParam().corners) << "fast " << fast;
  }
  EXPECT_EQ(QSize(icon.PictureWidth, icon.PictureHeight), GetParam().thumb.width() == 128
                                                              ? QSize(160, 120)
                                                              : QSize(120, 160));
}

TEST_P(PicIconOrientationTest, AConvertedPictureIsWrittenUpright) {
  icon.MaxWidth = INT_MAX;
  icon.MaxHeight = INT_MAX;
  icon.LoadFromFile(TaggedJpeg());
  icon.SaveToFile(sandbox.File("converted.jpg"));
  TJPEGImage written;
  written.LoadFromFile(sandbox.File("converted.jpg"));
  EXPECT_EQ(written.Orientation(), kUpright) << "no tag left to turn it again";
  const TBitmap pixels = written.Decode();
  EXPECT_EQ(pixels.size(), GetParam().thumb.width() == 128 ? QSize(160, 120) : QSize(120, 160));
  EXPECT_EQ(Corners(pixels), GetParam().corners);
}

INSTANTIATE_TEST_SUITE_P(EveryOrientation, PicIconOrientationTest,
                         ::testing::Values(OrientationCase{1, "RG..", QSize(128, 96)},
                                           OrientationCase{2, "GR..", QSize(128, 96)},
                                           OrientationCase{3, "..RG", QSize(128, 96)},
                                           OrientationCase{4, "..GR", QSize(128, 96)},
                                           OrientationCase{5, "R..G", QSize(72, 96)},
                                           OrientationCase{6, ".RG.", QSize(72, 96)},
                                           OrientationCase{7, ".GR.", QSize(72, 96)},
                                           OrientationCase{8, "G..R", QSize(72, 96)}),
                         [](const ::testing::TestParamInfo<OrientationCase>& tested) {
                           return "Orientation" + std::to_string(tested.param.orientation);
                         });

TEST_F(PicIconTest, AMalformedOrientationTagIsIgnored) {
  const std::string jpeg = test::MakeJpeg(test::CornerMarkedBitmap(160, 120));
  const auto shown = [&](const std::string& exif) {
    icon.LoadFromFile(sandbox.Write("tagged.jpg", test::WithApp1(jpeg, exif)));
    return Corners(icon.Bitmap);
  };
  EXPECT_EQ(shown(test::ExifBlock({6, 3, 1, false})), ".RG.") << "little-endian is read too";
  std::string badOrder = test::ExifBlock({6});
  badOrder.replace(6, 2, "XX");
  for (const std::string& exif :
       {test::ExifBlock({9}), test::ExifBlock({0}), test::ExifBlock({6, 4}), test::ExifBlock({6, 3, 2}),
        test::ExifBlock({6}).substr(0, 21), badOrder, std::string("Exif\0\0", 6)}) {
    EXPECT_EQ(shown(exif), "RG..") << testing::PrintToString(exif);
    EXPECT_EQ(icon.Bitmap.size(), QSize(128, 96));
  }
}

// Large pictures: a flat JPEG is cheap to write and to read.

TEST_F(PicIconTest, APictureOfTwoHundredAndSixtyEightMegapixelsIsThumbnailedInBothModes) {
  if (MaxPicturePixels() < (std::int64_t{1} << 28)) GTEST_SKIP() << "this build refuses large pictures";
  const std::string file = sandbox.Write("panorama.jpg", test::MakeFlatJpeg(16384, 16384, 128));
  for (const bool fast : {true, false}) {
    icon.Fast = fast;
    icon.LoadFromFile(file);
    EXPECT_EQ(icon.PictureWidth, 16384) << "fast " << fast;
    ASSERT_EQ(icon.Bitmap.size(), QSize(96, 96)) << "fast " << fast;
    EXPECT_NEAR(PixelAt(icon.Bitmap, 50, 50).green(), 128, 3) << "fast " << fast;
  }
}

// Qt's bitmap reader has a memory limit of its own, below the picture limit.
TEST_F(PicIconTest, ABitmapOfMoreThanQtsOwnLimitIsThumbnailed) {
  if (MaxPicturePixels() < 12000 * 12000) GTEST_SKIP() << "this build refuses large pictures";
  icon.Fast = true;
  icon.LoadFromFile(sandbox.Write("scan.bmp", test::MakeFlatRle8Bitmap(12000, 12000, Qt::red)));
  EXPECT_EQ(icon.PictureWidth, 12000);
  ASSERT_EQ(icon.Bitmap.size(), QSize(95, 95));
  EXPECT_GT(PixelAt(icon.Bitmap, 50, 50).red(), 240);
  EXPECT_EQ(PixelAt(icon.Bitmap, 50, 50).green(), 0);
}

TEST_F(PicIconTest, APictureClaimingMoreThanTheLimitGivesTheErrorMark) {
  std::string jpeg = test::MakeJpeg(test::FilledBitmap(16, 16, Qt::gray));
  const std::size_t frame = jpeg.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  jpeg.replace(frame + 5, 4, std::string("\x80\x00\x80\x00", 4));  // 32768 x 32768
  icon.LoadFromFile(sandbox.Write("claims.jpg", jpeg));
  EXPECT_TRUE(IsErrorMark(icon.Bitmap));
  EXPECT_EQ(icon.PictureWidth, 0);
}

TEST_F(PicIconTest, APictureWhoseBitmapCannotBeAllocatedGivesTheErrorMark) {
#ifdef TESSALUNE_ADDRESS_SANITIZER
  GTEST_SKIP() << "the address sanitizer cannot run under a limit of address space";
#endif
  const std::string file = sandbox.Write("big.jpg", test::MakeFlatJpeg(8192, 8192, 128));
  icon.MaxWidth = INT_MAX;
  icon.MaxHeight = INT_MAX;
  const test::ChildOutcome outcome = test::RunInChildProcess([&] {
    // Room for much, but not for the 192 MB of the picture.
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t room = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (rlim_t(96) << 20);
    const struct rlimit limit{room, room};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) return 2;
    icon.LoadFromFile(file);
    return IsErrorMark(icon.Bitmap) && icon.PictureWidth == 0 ? 0 : 1;
  });
  ASSERT_TRUE(outcome.Unavailable.empty()) << outcome.Unavailable;
  EXPECT_EQ(outcome.Status, 0) << "1: no error mark, 2: no limit";
}

TEST_F(PicIconTest, FileThatCannotBeCreatedIsReported) {
  icon.DrawErrorMark();
  const std::string target = sandbox.File("no/such/folder/t.jpg");
  try {
    icon.SaveToFile(target);
    FAIL() << "no error";
  } catch (const EFCreateError& error) {
    EXPECT_EQ("Cannot create file " + target, std::string(error.what()));
  }
}

}  // namespace
}  // namespace tessalune
