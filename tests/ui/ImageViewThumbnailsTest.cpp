// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QPixmap>

#include "GalleryProp.h"
#include "ImageFixtures.h"
#include "TestSupport.h"
#include "ThumbnailFixtures.h"

namespace tessalune {
namespace {

using test::PixelAt;
using test::SamePixels;
using test::WaitFor;

const QColor kColour(128, 128, 128);

class ImageViewThumbnailsTest : public ::testing::Test {
protected:
  ImageViewThumbnailsTest() {
    view_.resize(400, 300);
    view_.SetColor(kColour);
    view_.SetThumbnailMode(true);
    view_.SetIconSize(100, 100);
  }
  std::string Write(const std::string& name, const std::string& bytes) { return sandbox_.Write(name, bytes); }
  void Add(const std::string& fileName) {
    TImageFile* picture = gallery_.ImageFiles().Add();
    picture->FileName = fileName;
    view_.AddImageFile(picture);
  }
  bool AllMade() const {
    for (int row = 0; row < view_.Count(); ++row) {
      if (!view_.HasThumbnail(row)) return false;
    }
    return true;
  }
  QImage Shown(int row) const {
    return view_.model()->index(row, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
  }
  ::testing::AssertionResult ShowsFastThumbnail(int row, QSize size) const {
    const std::string& file = view_.GetImageFileAt(row)->FileName;
    return SamePixels(Shown(row), test::ExpectedThumbnail(file, size, size, kColour)) << " for " << file;
  }

  test::Sandbox sandbox_;
  TPicGallery gallery_;
  TImageView view_;
};

TEST_F(ImageViewThumbnailsTest, EveryThumbnailEqualsTheFastThumbnailMakersCentred) {
  Add(Write("photo.jpg", test::MakeJpeg(test::NoiseBitmap(640, 480, 1))));
  Add(Write("wide.bmp", test::MakeWithQt(test::FilledBitmap(200, 100, Qt::red), "BMP")));
  Add(Write("odd.bmp", test::MakeWithQt(test::FilledBitmap(99, 50, Qt::blue), "BMP")));
  Add(Write("animation.gif", test::MakeGif(40, 30, {Qt::red, Qt::blue}, {{0, 0, 40, 30, false, -1, std::vector<std::uint8_t>(1200, 1)}})));
  Add(Write("broken.jpg", "not a picture"));
  Add(sandbox_.File("missing.jpg"));
  view_.show();
  ASSERT_TRUE(WaitFor([this] { return AllMade(); }));
  for (int row = 0; row < view_.Count(); ++row) EXPECT_TRUE(ShowsFastThumbnail(row, QSize(100, 100)));
  // 200 x 100 becomes 100 x 50 at (0, 25); 99 x 50 keeps a column of colour on the right.
  const QImage wide = Shown(1).convertToFormat(QImage::Format_RGB888);
  EXPECT_EQ(PixelAt(wide, 50, 24), kColour);
  EXPECT_NE(PixelAt(wide, 50, 25), kColour);
  EXPECT_NE(PixelAt(wide, 50, 74), kColour);
  EXPECT_EQ(PixelAt(wide, 50, 75), kColour);
  const QImage odd = Shown(2).convertToFormat(QImage::Format_RGB888);
  EXPECT_EQ(PixelAt(odd, 0, 50), QColor(Qt::blue));
  EXPECT_EQ(PixelAt(odd, 98, 50), QColor(Qt::blue));
  EXPECT_EQ(PixelAt(odd, 99, 50), kColour);
}

// Results of the old size that land after the change are dropped.
TEST_F(ImageViewThumbnailsTest, ASizeChangeRemakesEveryThumbnailAtTheNewSize) {
  const std::string photo = Write("photo.jpg", test::MakeJpeg(test::NoiseBitmap(800, 600, 2)));
  for (int i = 0; i < 6; ++i) Add(photo);
  view_.show();
  view_.SetIconSize(60, 45);
  ASSERT_TRUE(WaitFor([this] { return AllMade(); }));
  for (int row = 0; row < view_.Count(); ++row) EXPECT_TRUE(ShowsFastThumbnail(row, QSize(60, 45)));
}

TEST_F(ImageViewThumbnailsTest, ASizeChosenAmongIconsHoldsWhenThumbnailsReturn) {
  Add(Write("photo.jpg", test::MakeJpeg(test::NoiseBitmap(800, 600, 3))));
  view_.show();
  ASSERT_TRUE(WaitFor([this] { return AllMade(); }));
  view_.SetThumbnailMode(false);
  view_.SetIconSize(50, 50);
  EXPECT_FALSE(view_.HasThumbnail(0));
  view_.SetThumbnailMode(true);
  ASSERT_TRUE(WaitFor([this] { return AllMade(); }));
  EXPECT_TRUE(ShowsFastThumbnail(0, QSize(50, 50)));
}

TEST_F(ImageViewThumbnailsTest, ItemsBeyondTwoScreensAroundTheVisibleOnesAreNeverMade) {
  const std::string small = Write("small.bmp", test::MakeWithQt(test::NoiseBitmap(64, 48, 4), "BMP"));
  view_.SetIconSize(50, 50);
  view_.resize(300, 200);
  for (int i = 0; i < 400; ++i) Add(small);
  view_.BeginUpdate();
  view_.show();
  view_.scrollTo(view_.model()->index(200, 0), QAbstractItemView::PositionAtTop);
  view_.EndUpdate();
  const auto far = [this](int row) {
    const QRect r = view_.visualRect(view_.model()->index(row, 0));
    const int height = view_.viewport()->height();
    return r.bottom() < -2 * height || r.top() > 3 * height - 1;
  };
  ASSERT_TRUE(WaitFor([&] {
    for (int row = 0; row < view_.Count(); ++row) {
      if (!far(row) && !view_.HasThumbnail(row)) return false;
    }
    return true;
  }));
  int farRows = 0;
  for (int row = 0; row < view_.Count(); ++row) {
    if (!far(row)) continue;
    ++farRows;
    EXPECT_FALSE(view_.HasThumbnail(row)) << "row " << row;
  }
  EXPECT_GT(farRows, 300);
}

// Under the sanitizers: items deleted and cleared while their thumbnails are
// being made, then the view destroyed with work in flight, neither crash nor
// leak, and no result lands on an item it was not made for.
TEST_F(ImageViewThumbnailsTest, DeletingAndClearingWhileThumbnailsAreMadeShowsOnlyCurrentPictures) {
  const std::string large = Write("large.jpg", test::MakeJpeg(test::NoiseBitmap(1600, 1200, 5)));
  const std::string red = Write("red.bmp", test::MakeWithQt(test::FilledBitmap(80, 60, Qt::red), "BMP"));
  view_.SetIconSize(50, 50);
  view_.resize(800, 600);
  for (int i = 0; i < 120; ++i) Add(large);
  view_.show();
  ASSERT_TRUE(WaitFor([this] {
    for (int row = 0; row < view_.Count(); ++row) {
      if (view_.HasThumbnail(row)) return true;
    }
    return false;
  }));
  while (view_.Count() > 60) view_.Delete(view_.Count() / 2);
  view_.ClearImages();
  for (int i = 0; i < 10; ++i) Add(red);
  ASSERT_TRUE(WaitFor([this] { return AllMade(); }));
  for (int row = 0; row < view_.Count(); ++row) EXPECT_TRUE(ShowsFastThumbnail(row, QSize(50, 50)));
  for (int i = 0; i < 120; ++i) Add(large);
}

}  // namespace
}  // namespace tessalune
