// SPDX-License-Identifier: GPL-3.0-or-later
// The page style of the publishing dialog: its preview, background image and
// style buttons.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPainter>

#include "EditLib.h"
#include "PublicDlgDraw.h"
#include "PublicDlgFixture.h"

namespace tessalune::test {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kTableGrey = 0xFFF5F5F5;

class PublicDlgStyleTest : public PublicDlgTest {
protected:
  QImage Preview() { return Find<QWidget>("pbxStyleExample").grab().toImage(); }
  TColorEdit& Color(const char* name) { return Find<TColorEdit>(name); }
};

// Whether every pixel of the rectangle from (left, top) to (right, bottom),
// both included, has the colour.
::testing::AssertionResult Filled(const QImage& image, int left, int top, int right, int bottom,
                                  QRgb colour) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (image.pixel(x, y) != colour)
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                             << image.pixel(x, y) << ", not " << colour;
  return ::testing::AssertionSuccess();
}

// The texts lie across the middle; the cell's edges and corners are clear.
TEST_F(PublicDlgStyleTest, TheDefaultStyleFillsTheCellGreyWithoutAFrame) {
  gallery_.SetTableColor(0x0000FF);
  gallery_.SetIconBorder(3);
  Open();
  Click("btnSetDefaultStyle");
  EXPECT_TRUE(ApplyEnabled());
  const QImage preview = Preview();
  ASSERT_EQ(preview.size(), QSize(211, 170));
  Dialog().show();
  Dialog().ShowPage(TfrmPublic::pgPageStyle);
  EXPECT_EQ(Find<QWidget>("pnlPreview").size(), QSize(217, 176));  // a 1-pixel frame, a 2-pixel border
  EXPECT_TRUE(Filled(preview, 21, 41, 190, 55, kTableGrey));
  EXPECT_TRUE(Filled(preview, 21, 130, 190, 149, kTableGrey));
  EXPECT_TRUE(Filled(preview, 21, 41, 40, 149, kTableGrey));
  EXPECT_TRUE(Filled(preview, 171, 41, 190, 149, kTableGrey));
  EXPECT_TRUE(Filled(preview, 0, 40, 210, 40, kWhite));
  EXPECT_TRUE(Filled(preview, 20, 40, 20, 169, kWhite));
  EXPECT_TRUE(Filled(preview, 191, 40, 210, 169, kWhite));
  EXPECT_TRUE(Filled(preview, 0, 150, 210, 169, kWhite));
}

TEST_F(PublicDlgStyleTest, WithoutTableColourThePageBackgroundShowsThroughTheCell) {
  gallery_.SetIsTableColor(false);
  gallery_.SetBackgroundColor(0x00FF00);
  Open();
  EXPECT_TRUE(Filled(Preview(), 21, 41, 40, 149, 0xFF00FF00));
}

TEST_F(PublicDlgStyleTest, BordersAboveFiveAreDrawnAsFiveButStoredAsTyped) {
  gallery_.SetIconBorder(5);
  Open();
  const QImage five = Preview();
  Find<TNaturalEdit>("edtIconBorder").setText("9");
  EXPECT_EQ(Preview(), five);
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.IconBorder(), 9);
}

TEST_F(PublicDlgStyleTest, WithoutBorderTheSpacingChangesNothing) {
  gallery_.SetIconBorder(0);
  Open();
  const QImage narrow = Preview();
  Find<TNaturalEdit>("edtCellsSpacing").setText("30");
  EXPECT_EQ(Preview(), narrow);
}

// Border 2, spacing 3: the outer frame on the cell's rectangle, light at the
// left and top, dark at the right and bottom; the inner frame 3 + 1 pixels
// further in with the colours swapped; the fill inside that.
TEST(DrawStyleCell, DrawsTheOuterAndInnerFramesAndTheFill) {
  QImage image(211, 170, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter canvas(&image);
    DrawStyleCell(canvas, 0x0000FF, 0x00FF00, 0xFF0000, 211, 170, 2, 3);
  }
  const QRgb light = 0xFF00FF00, dark = 0xFF0000FF, fill = 0xFFFF0000;
  EXPECT_EQ(image.pixel(20, 100), light);
  EXPECT_EQ(image.pixel(100, 40), light);
  EXPECT_EQ(image.pixel(191, 100), dark);
  EXPECT_EQ(image.pixel(100, 150), dark);
  EXPECT_EQ(image.pixel(24, 100), dark);
  EXPECT_EQ(image.pixel(100, 44), dark);
  EXPECT_EQ(image.pixel(187, 100), light);
  EXPECT_EQ(image.pixel(100, 146), light);
  EXPECT_TRUE(Filled(image, 25, 45, 186, 145, fill));
  EXPECT_EQ(image.pixel(10, 10), 0xFFFFFFFF);
}

TEST_F(PublicDlgStyleTest, TheBackgroundImageIsTiled) {
  QImage tile(2, 1, QImage::Format_RGB888);
  tile.setPixel(0, 0, 0xFF0000);
  tile.setPixel(1, 0, 0x0000FF);
  tile.save(QString::fromStdString(box_.File("tile.bmp")), "BMP");
  gallery_.SetBackgroundImage(box_.File("tile.bmp"));
  Open();
  const QImage preview = Preview();
  EXPECT_NE(Dialog().BackImageBitmap(), nullptr);
  EXPECT_EQ(preview.pixel(0, 0), 0xFFFF0000);
  EXPECT_EQ(preview.pixel(1, 0), 0xFF0000FF);
  EXPECT_EQ(preview.pixel(6, 9), 0xFFFF0000);
  EXPECT_EQ(Dialog().BackImageName(), box_.File("tile.bmp"));
}

TEST_F(PublicDlgStyleTest, ABackgroundImageThatCannotBeReadIsDroppedSilently) {
  box_.Write("broken.bmp", "BM but no picture");
  gallery_.SetBackgroundImage(box_.File("broken.bmp"));
  gallery_.SetBackgroundColor(0x00FFFF);
  Open();
  EXPECT_TRUE(Filled(Preview(), 0, 0, 19, 169, 0xFFFFFF00));
  EXPECT_EQ(Dialog().BackImageName(), "");
  EXPECT_TRUE(prompt_.Errors().empty());
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.BackgroundImage(), "");
}

TEST_F(PublicDlgStyleTest, SelectAndClearNameTheImageTheNextPaintShows) {
  Picture("red.bmp", 4, 4, Qt::red);
  Picture("blue.bmp", 4, 4, Qt::blue);
  gallery_.SetBackgroundImage(box_.File("red.bmp"));
  Open();
  EXPECT_EQ(Preview().pixel(3, 3), 0xFFFF0000);
  prompt_.ChooseFiles({box_.File("blue.bmp")});
  Click("btnSelectBackImage");
  ASSERT_EQ(prompt_.OpenRequests().size(), 1u);
  EXPECT_EQ(prompt_.OpenRequests()[0].FileName, box_.File("red.bmp"));
  EXPECT_TRUE(prompt_.OpenRequests()[0].PicturePreview);
  EXPECT_EQ(prompt_.OpenRequests()[0].Filter,
            "All (*.gif;*.jpg;*.jpeg;*.bmp)|*.gif;*.jpg;*.jpeg;*.bmp;|GIF Image (*.gif)|*.gif|"
            "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(Dialog().BackImageBitmap(), nullptr);
  EXPECT_EQ(Preview().pixel(3, 3), 0xFF0000FF);
  EXPECT_TRUE(ApplyEnabled());
  prompt_.CancelOpen();
  Click("btnSelectBackImage");
  EXPECT_EQ(Dialog().BackImageName(), box_.File("blue.bmp"));
  Click("btnClearBackImage");
  EXPECT_EQ(Dialog().BackImageName(), "");
  EXPECT_EQ(Preview().pixel(3, 3), 0xFFFFFFFF);
  Click("btnReset");
  EXPECT_EQ(Preview().pixel(3, 3), 0xFFFF0000);
}

// The style settings, which Import Style takes from another gallery file.
const std::set<std::string> kStyle = {"LinkColor",        "ActiveLinkColor", "VisitedLinkColor",
                                      "TextColor",        "BackgroundColor", "BackgroundImage",
                                      "LightBorderColor", "DarkBorderColor", "IconBorder",
                                      "IsTableColor",     "TableColor",      "LinkSize"};

TEST_F(PublicDlgStyleTest, ImportStyleTakesTheStyleSettingsAndNothingElse) {
  TPicGallery other;
  other.Clear();
  for (const TGallerySetting& setting : TPicGallery::Settings()) SetOtherValue(other, setting, "-other");
  other.SaveToFile(box_.File("other.gmf"));
  Open();
  prompt_.ChooseFiles({box_.File("other.gmf")});
  Click("btnImportStyle");
  ASSERT_EQ(prompt_.OpenRequests().size(), 1u);
  EXPECT_EQ(prompt_.OpenRequests()[0].Title, "Select the gallery for style import");
  EXPECT_EQ(prompt_.OpenRequests()[0].Filter, "Gallery Files|*.gmf|All Files|*.*");
  TPicGallery before;
  before.Clear();
  Dialog().SaveToGallery();
  for (const TGallerySetting& setting : TPicGallery::Settings()) {
    const TPicGallery& expected = kStyle.count(setting.Name) ? other : before;
    EXPECT_EQ(ValueOf(gallery_, setting), ValueOf(expected, setting)) << setting.Name;
  }
}

// A file that leaves settings out gives them a fresh gallery's zeros.
TEST_F(PublicDlgStyleTest, ImportingAGalleryWithoutStyleSettingsGivesZeros) {
  box_.Write("bare.gmf", "object TPicGallery\r\n  LinkSize = 9\r\nend\r\n");
  Open();
  prompt_.ChooseFiles({box_.File("bare.gmf")});
  Click("btnImportStyle");
  EXPECT_EQ(Color("cetBackground").Color(), 0);
  EXPECT_EQ(Color("cetLink").Color(), 0);
  EXPECT_FALSE(Find<QCheckBox>("cbxTableColor").isChecked());
  EXPECT_EQ(Find<QComboBox>("cbxLinkSize").currentIndex(), -1);
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.LinkSize(), -1);
}

TEST_F(PublicDlgStyleTest, ImportingAFileThatIsNoGalleryShowsTheErrorAndChangesNothing) {
  box_.Write("notes.gmf", "these are no settings");
  Open();
  prompt_.ChooseFiles({box_.File("notes.gmf")});
  Click("btnImportStyle");
  prompt_.CancelOpen();
  Click("btnImportStyle");
  EXPECT_EQ(prompt_.Errors(), std::vector<std::string>{"The gallery file is corrupted."});
  EXPECT_FALSE(ApplyEnabled());
  const auto before = gallery_.GetCheckSum();
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.GetCheckSum(), before);
}

}  // namespace
}  // namespace tessalune::test
