// SPDX-License-Identifier: GPL-3.0-or-later
// One thumbnail maker used picture after picture and size after size: one
// load made at several sizes, and the buffers kept from one load to the
// next.
#include "PicIcon.h"

#include "ImageFixtures.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace tessalune {
namespace {

struct TMaxima {
  int width, height;
};

// What a thumbnail maker shows after a load.
struct Shown {
  TBitmap bitmap;
  int pictureWidth, pictureHeight, thumbWidth, thumbHeight;
  bool operator==(const Shown&) const = default;
};

Shown ShownBy(const TPicIcon& icon) {
  return {icon.Bitmap, icon.PictureWidth, icon.PictureHeight, icon.ThumbWidth, icon.ThumbHeight};
}

void PrintTo(const Shown& shown, std::ostream* out) {
  *out << shown.bitmap.width() << " x " << shown.bitmap.height() << " of " << shown.pictureWidth << " x "
       << shown.pictureHeight;
}

void SetMaxima(TPicIcon& icon, TMaxima maxima) {
  icon.MaxWidth = maxima.width;
  icon.MaxHeight = maxima.height;
}

// A fresh thumbnail maker's load of the file at the maxima.
Shown LoadedAt(const std::string& file, TMaxima maxima, unsigned threads) {
  TPicIcon icon;
  icon.Threads = threads;
  SetMaxima(icon, maxima);
  icon.LoadFromFile(file);
  return ShownBy(icon);
}

class PicIconSizesTest : public ::testing::Test {
protected:
  // Pictures of every kind, and ones that give the error mark.
  std::vector<std::string> Pictures() {
    return {sandbox.Write("photo.jpg", test::MakeJpeg(test::NoiseBitmap(160, 120, 1))),
            sandbox.Write("turned.jpg", test::WithApp1(test::MakeJpeg(test::NoiseBitmap(90, 60, 2)),
                                                       test::ExifBlock({8}))),
            sandbox.Write("grey.jpg", test::MakeJpeg(test::NoiseBitmap(70, 50, 3), test::JpegKind::Grayscale)),
            sandbox.Write("noise.bmp", test::MakeWithQt(test::NoiseBitmap(130, 40, 4), "BMP")),
            sandbox.Write("logo.ico", test::MakeWithQt(test::NoiseBitmap(32, 32, 5), "ICO")),
            sandbox.Write("thin.bmp", test::MakeWithQt(test::NoiseBitmap(400, 2, 6), "BMP")),
            sandbox.Write("broken.jpg", "not a picture"),
            sandbox.File("missing.gif")};
  }

  test::Sandbox sandbox;
};

// A reduction, the picture's own size, a side of one pixel (the error
// mark), an enlargement refused, and another reduction.
const TMaxima kMaxima[] = {{40, 30}, {INT_MAX, INT_MAX}, {1, 1000}, {800, 600}, {23, 77}};

TEST_F(PicIconSizesTest, GivesAtEachSizeWhatALoadAtThatSizeGives) {
  const std::vector<std::vector<QSize>> runs = {
      {{40, 30}, {INT_MAX, INT_MAX}, {1, 1000}, {800, 600}, {23, 77}}, {{23, 77}, {40, 30}}, {{1, 1000}}};
  for (const std::string& file : Pictures()) {
    for (const unsigned threads : {0u, 1u}) {
      TPicIcon icon;
      icon.Threads = threads;
      for (const std::vector<QSize>& maxima : runs) {
        const std::vector<TIconBitmap> made = icon.LoadFromFile(file, maxima);
        ASSERT_EQ(made.size(), maxima.size());
        for (std::size_t i = 0; i < maxima.size(); ++i) {
          const Shown alone = LoadedAt(file, {maxima[i].width(), maxima[i].height()}, threads);
          EXPECT_EQ(made[i].Bitmap, alone.bitmap) << file << " at " << maxima[i].width() << " on " << threads << " threads";
          EXPECT_EQ(made[i].ErrorMark, alone.pictureWidth == 0) << file << " at " << maxima[i].width();
        }
        EXPECT_EQ(ShownBy(icon), LoadedAt(file, {maxima.back().width(), maxima.back().height()}, threads)) << file;
      }
    }
  }
}

TEST_F(PicIconSizesTest, OneThreadGivesWhatEveryCoreGives) {
  for (const std::string& file : Pictures()) {
    for (const TMaxima maxima : kMaxima) {
      EXPECT_EQ(LoadedAt(file, maxima, 1), LoadedAt(file, maxima, 0)) << file;
    }
  }
}

// Photos of one size decode into one buffer, one after another.
TEST_F(PicIconSizesTest, LoadsIntoTheBufferOfThePictureBefore) {
  std::vector<std::string> photos;
  for (unsigned n = 0; n < 3; ++n) {
    photos.push_back(sandbox.Write("p" + std::to_string(n) + ".jpg", test::MakeJpeg(test::NoiseBitmap(90, 60, n))));
  }
  TPicIcon icon;
  icon.Threads = 1;
  SetMaxima(icon, {40, 30});
  icon.LoadFromFile(photos[0]);
  const uchar* buffer = icon.SourceBitmap.constBits();
  for (const std::string& photo : photos) {
    icon.LoadFromFile(photo);
    EXPECT_EQ(icon.SourceBitmap.constBits(), buffer);
    EXPECT_EQ(ShownBy(icon), LoadedAt(photo, {40, 30}, 1));
  }
  icon.ReleaseBuffers();
  EXPECT_TRUE(icon.SourceBitmap.isNull());
  icon.LoadFromFile(photos[1]);
  EXPECT_EQ(ShownBy(icon), LoadedAt(photos[1], {40, 30}, 1));
}

// A picture that fits is its own decode: a copy of it that its user keeps
// stays as it is when the next picture is decoded.
TEST_F(PicIconSizesTest, APictureItsUserKeepsIsNotOverwrittenByTheNextLoad) {
  const std::string first = sandbox.Write("first.jpg", test::MakeJpeg(test::NoiseBitmap(90, 60, 1)));
  const std::string second = sandbox.Write("second.jpg", test::MakeJpeg(test::NoiseBitmap(90, 60, 2)));
  TPicIcon icon;
  SetMaxima(icon, {INT_MAX, INT_MAX});
  icon.LoadFromFile(first);
  const TBitmap kept = icon.Bitmap;
  const TBitmap before = kept.copy();
  icon.LoadFromFile(second);
  EXPECT_EQ(kept, before);
  EXPECT_EQ(ShownBy(icon), LoadedAt(second, {INT_MAX, INT_MAX}, 0));
}

}  // namespace
}  // namespace tessalune
