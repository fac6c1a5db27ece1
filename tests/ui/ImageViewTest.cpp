// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageView.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include "Errors.h"
#include "GalleryProp.h"
#include "ImageFixtures.h"

namespace tessalune {
namespace {

using test::PixelAt;

class ImageViewTest : public ::testing::Test {
protected:
  ImageViewTest() {
    view_.setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const char* name : {"/pictures/one.jpg", "/pictures/two.gif", "three.bmp"}) {
      TImageFile* picture = gallery_.ImageFiles().Add();
      picture->FileName = name;
      view_.AddImageFile(picture);
    }
  }
  QVariant Decoration(int row) const { return view_.model()->index(row, 0).data(Qt::DecorationRole); }

  TPicGallery gallery_;
  TImageView view_;
};

TEST_F(ImageViewTest, ItemsShowTheirPicturesFileNamesWithoutFolders) {
  ASSERT_EQ(view_.Count(), 3);
  EXPECT_EQ(view_.Caption(0), "one.jpg");
  EXPECT_EQ(view_.Caption(2), "three.bmp");
  EXPECT_EQ(view_.model()->index(1, 0).data().toString(), "two.gif");
  EXPECT_EQ(view_.GetImageFileAt(1), gallery_.GetImageFile(1));
  EXPECT_EQ(view_.GetImageFile(view_.model()->index(2, 0)), gallery_.GetImageFile(2));
  EXPECT_EQ(view_.GetImageFile(QModelIndex()), nullptr);
  EXPECT_THROW(view_.GetImageFileAt(3), EListError);
  EXPECT_THROW(view_.GetImageFileAt(-1), EListError);
}

TEST_F(ImageViewTest, TheFirstRequestForIconsInstallsThemAndLaterOnesChangeNothing) {
  view_.SetThumbnailMode(false);
  EXPECT_TRUE(view_.SystemImagesInstalled());
  EXPECT_EQ(Decoration(0).typeId(), QMetaType::QIcon);
  QSignalSpy changes(view_.model(), &QAbstractItemModel::dataChanged);
  view_.SetThumbnailMode(false);
  EXPECT_EQ(changes.count(), 0);
  view_.SetThumbnailMode(true);
  EXPECT_EQ(Decoration(0).typeId(), QMetaType::QPixmap);
}

TEST_F(ImageViewTest, DeletionClearsTheItemsPictureBeforeTheItemGoes) {
  TImageFile* seen = gallery_.GetImageFile(0);
  QObject::connect(view_.model(), &QAbstractItemModel::rowsAboutToBeRemoved, &view_,
                   [&](const QModelIndex&, int first) { seen = view_.GetImageFileAt(first); });
  view_.Delete(1);
  EXPECT_EQ(seen, nullptr);
  EXPECT_EQ(view_.Count(), 2);
  EXPECT_EQ(view_.Caption(1), "three.bmp");
  EXPECT_EQ(gallery_.GetImageCount(), 3);  // the picture is left alone
  view_.ClearImages();
  EXPECT_EQ(view_.Count(), 0);
}

TEST_F(ImageViewTest, TheSelectionIsReportedAndReadInListOrder) {
  QSignalSpy selections(&view_, &TImageView::OnSelectItem);
  view_.SetSelected(2, true);
  view_.SetSelected(1, true);
  EXPECT_EQ(selections.count(), 2);
  EXPECT_EQ(view_.SelCount(), 2);
  EXPECT_EQ(view_.Selected(), 1);
  view_.SetSelected(1, false);
  EXPECT_EQ(view_.Selected(), 2);
  EXPECT_FALSE(view_.IsSelected(0));
}

// The main window moves pictures on Ctrl+Alt+Up and lets the list move its
// cursor too; other keys it keeps to itself.
TEST_F(ImageViewTest, AKeyHandlerSeesTheKeyFirstAndMayKeepIt) {
  std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
  QObject::connect(&view_, &TImageView::OnKeyDown, &view_, [&](int& key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift) return;
    keys.emplace_back(key, shift);
    if (key == Qt::Key_End) key = 0;
  });
  view_.setCurrentIndex(view_.model()->index(1, 0));
  QTest::keyClick(&view_, Qt::Key_Home, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(view_.currentIndex().row(), 0);
  QTest::keyClick(&view_, Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(view_.currentIndex().row(), 0);
  using Key = std::pair<int, Qt::KeyboardModifiers>;
  EXPECT_EQ(keys, (std::vector<Key>{{Qt::Key_Home, Qt::ControlModifier | Qt::AltModifier},
                                    {Qt::Key_End, Qt::ShiftModifier}}));
}

TEST_F(ImageViewTest, ADoubleClickAnywhereIsReported) {
  view_.resize(300, 200);
  view_.show();
  QSignalSpy clicks(&view_, &TImageView::OnDblClick);
  QTest::mouseDClick(view_.viewport(), Qt::LeftButton, {}, QPoint(290, 190));
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ImageViewTest, DroppingFilesDoesNothing) {
  EXPECT_FALSE(view_.viewport()->acceptDrops());
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/pictures/four.jpg")});
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(view_.viewport(), &drop);
  EXPECT_FALSE(drop.isAccepted());
  EXPECT_EQ(view_.Count(), 3);
}

TEST_F(ImageViewTest, ADamagedIconSizeIsKeptWithinBounds) {
  view_.SetIconSize(0, 100000);
  EXPECT_EQ(view_.IconWidth(), 1);
  EXPECT_EQ(view_.IconHeight(), 1024);
}

// A picture of w x h at a 100 x 100 icon: where it lands, the rest in the
// view's colour.
struct CenterCase {
  const char* Name;
  QSize Picture;
  QSize Icon;
  QRect Expected;  // in the icon, the picture's pixels
  QPoint Source;   // the picture's pixel that lands at Expected's top left
};

const CenterCase kCenterCases[] = {
    {"WideLiesInTheMiddleRows", {100, 50}, {100, 100}, {0, 25, 100, 50}, {0, 0}},
    {"OddDifferenceLeavesTheSparePixelRight", {99, 50}, {100, 100}, {0, 25, 99, 50}, {0, 0}},
    {"TallLiesInTheMiddleColumns", {40, 100}, {100, 100}, {30, 0, 40, 100}, {0, 0}},
    {"LargerThanTheIconKeepsItsMiddle", {30, 30}, {20, 20}, {0, 0, 20, 20}, {5, 5}},
};

class ImageViewCenterBitmap : public ::testing::TestWithParam<CenterCase> {};

TEST_P(ImageViewCenterBitmap, PutsThePictureInTheMiddleWithTheViewsColourAround) {
  const CenterCase& c = GetParam();
  TImageView view;
  const QColor colour(128, 128, 128);
  view.SetColor(colour);
  view.SetIconSize(c.Icon.width(), c.Icon.height());
  const TBitmap picture = test::NoiseBitmap(c.Picture.width(), c.Picture.height(), 7);
  TBitmap bitmap = picture;
  view.CenterBitmap(bitmap);
  ASSERT_EQ(bitmap.size(), c.Icon);
  for (int y = 0; y < c.Icon.height(); ++y) {
    for (int x = 0; x < c.Icon.width(); ++x) {
      const QPoint source = QPoint(x, y) - c.Expected.topLeft() + c.Source;
      const QColor expected = c.Expected.contains(x, y) ? PixelAt(picture, source.x(), source.y()) : colour;
      ASSERT_EQ(PixelAt(bitmap, x, y), expected) << "at (" << x << ", " << y << ")";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageViewCenterBitmap, ::testing::ValuesIn(kCenterCases),
                         [](const auto& entry) { return std::string(entry.param.Name); });

}  // namespace
}  // namespace tessalune
