// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side panel, status bar total and help keys.
#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "DialogAnswerer.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "HelpTopics.h"
#include "ImageFixtures.h"
#include "ImageView.h"
#include "MainFormFixture.h"
#include "MainSidePanel.h"
#include "PicIcon.h"
#include "PicturePreview.h"
#include "PrjLib.h"
#include "ThumbnailFixtures.h"

namespace tessalune::test {
namespace {

std::string Text(TfrmMain& window, const char* label) {
  return window.findChild<QLabel*>(label)->text().toStdString();
}

// Catches the panel showing a picture while several or none are selected,
// a preview that is not the fast thumbnail of the preview area less 4
// pixels, and a wrong properties line, whose pixel size the interface
// thread never decodes for itself: it is blank until the preview's load
// has told it.
TEST_F(MainFormTest, TheSidePanelShowsTheOneSelectedPicture) {
  Start();
  const std::string picture = Picture("a.bmp", 640, 480);
  AddImages({picture, Picture("b.bmp")});
  Window().Gallery().GetImageFile(0)->Caption = "Sunset\r\nover the bay";
  TPicturePreview& preview = Window().PreviewPanel().Preview();
  QSignalSpy made(&preview, &TPicturePreview::PictureChanged);
  Select({0});
  const std::string fileSize = "File size: " + FormatFileSize(FileSizeOf(picture));
  EXPECT_EQ(Text(Window(), "lblFileProp"), fileSize + "   Image size: ");
  EXPECT_EQ(Find<QLineEdit>("edtFileName").text().toStdString(), picture);
  EXPECT_TRUE(Find<QLabel>("lblFileName").isVisible());
  EXPECT_EQ(Text(Window(), "lblDescription"), "Sunset\nover the bay");
  ASSERT_TRUE(made.wait(60000));
  EXPECT_EQ(Text(Window(), "lblFileProp"), fileSize + "   Image size: 640\u00A0x\u00A0480");
  EXPECT_TRUE(SamePixels(preview.Picture().toImage(),
                         ExpectedThumbnail(picture, preview.size() - QSize(4, 4))));
  Select({0, 1});
  EXPECT_TRUE(preview.Picture().isNull());
  EXPECT_EQ(Text(Window(), "lblFileProp"), "");
  EXPECT_EQ(Find<QLineEdit>("edtFileName").text(), "");
  EXPECT_FALSE(Find<QLabel>("lblFileName").isVisible());
  EXPECT_EQ(Text(Window(), "lblDescription"), "");
}

// Catches a properties panel whose height follows its text: the size line
// of a large photograph wraps, and each change of its height (blanked at the
// selection, filled when the size arrives) resized the preview, which loaded
// the picture again.
TEST_F(MainFormTest, OneSelectionLoadsThePictureOnce) {
  Start();
  AddImages({config_.Files().Write("photo.jpg", MakeFlatJpeg(4000, 3000, 128))});
  TPicturePreview& preview = Window().PreviewPanel().Preview();
  const int height = Find<QWidget>("pnlInfo").height();
  QSignalSpy made(&preview, &TPicturePreview::PictureChanged);
  Select({0});
  ASSERT_TRUE(made.wait(60000));
  // What the event loop does next when the size line changed its height:
  // the properties panel's layout, then the preview well's.
  Find<QWidget>("pnlInfo").layout()->activate();
  Find<QWidget>("pnlIcon").layout()->activate();
  EXPECT_TRUE(Text(Window(), "lblFileProp").ends_with("4000\u00A0x\u00A03000"));
  EXPECT_EQ(Find<QWidget>("pnlInfo").height(), height);
  EXPECT_EQ(preview.Loads(), 1);
}

// Catches a pixel size read apart from the preview's load, or taken from
// whether a thumbnail could be made: a JPEG cut short reads 0 x 0 beside the
// error mark although its header tells a size, a picture too thin for a
// thumbnail its own size. With the preview off the picture is still loaded
// for its size.
TEST_F(MainFormTest, APictureReadsItsOwnSizeAndOneThatCannotBeReadZeroByZero) {
  Start();
  const std::string whole = MakeJpeg(NoiseBitmap(640, 400, 1));
  const std::string cut = config_.Files().Write("cut.jpg", whole.substr(0, whole.size() / 2));
  const std::string good = config_.Files().Write("good.jpg", MakeJpeg(NoiseBitmap(300, 200, 2)));
  const std::string text = config_.Files().Write("text.jpg", "not a picture");
  const std::string thin = Picture("thin.bmp", 3000, 1);
  AddImages({cut, good, text, thin});
  TPicturePreview& preview = Window().PreviewPanel().Preview();
  TPicIcon errorMark;
  errorMark.DrawErrorMark();
  struct Case {
    int item;
    std::string file;
    const char* size;
    bool showsErrorMark;
  };
  for (const bool previewShown : {true, false}) {
    if (!previewShown) Trigger("miImagePreview");
    for (const Case& shown : {Case{0, cut, "0\u00A0x\u00A00", true}, Case{1, good, "300\u00A0x\u00A0200", false},
                              Case{2, text, "0\u00A0x\u00A00", true}, Case{3, thin, "3000\u00A0x\u00A01", true}}) {
      SCOPED_TRACE(shown.file + (previewShown ? " with preview" : " without preview"));
      Select({shown.item});
      ASSERT_TRUE(WaitFor([&] { return preview.PictureSize().isValid(); }));
      EXPECT_EQ(Text(Window(), "lblFileProp"),
                "File size: " + FormatFileSize(FileSizeOf(shown.file)) + "   Image size: " + shown.size);
      if (shown.showsErrorMark) {
        EXPECT_TRUE(SamePixels(preview.Picture().toImage(), errorMark.Bitmap));
      }
      EXPECT_EQ(preview.PictureVisible(), previewShown);
    }
  }
  EXPECT_TRUE(prompt_.Errors().empty());
}

// Catches the toggles not hiding their parts, or the panel staying when
// all three are off.
TEST_F(MainFormTest, TheViewTogglesShowAndHideThePanelsParts) {
  Start();
  AddImages({Picture("a.bmp")});
  Select({0});
  Trigger("miImageProperties");
  EXPECT_FALSE(Find<QWidget>("pnlInfo").isVisible());
  EXPECT_EQ(Text(Window(), "lblFileProp"), "");
  Trigger("miImageDescription");
  EXPECT_FALSE(Find<QWidget>("pnlDescription").isVisible());
  EXPECT_TRUE(Window().PreviewPanel().isVisible());
  Trigger("miImagePreview");
  EXPECT_FALSE(Window().PreviewPanel().isVisible());
  EXPECT_TRUE(Window().PreviewPanel().Preview().FileName().empty());
  Trigger("miImageDescription");
  EXPECT_TRUE(Window().PreviewPanel().isVisible());
  EXPECT_EQ(Window().PreviewPanel().width(), 227);
}

// Catches a description that grows over the whole preview, also once the
// pixel size has arrived.
TEST_F(MainFormTest, ALongDescriptionLeavesRoomForThePreview) {
  Start();
  AddImages({Picture("a.bmp")});
  for (int i = 0; i < 200; ++i) Window().Gallery().GetImageFile(0)->Caption += "a line\r\n";
  Select({0});
  ASSERT_TRUE(WaitFor([this] { return Window().PreviewPanel().Preview().PictureSize().isValid(); }));
  const QWidget& icon = Find<QWidget>("pnlIcon");
  const auto room = [&] { return icon.contentsRect().height() - Find<QWidget>("pnlInfo").height() - 150; };
  WaitFor([&] { return Find<QLabel>("lblDescription").height() <= room(); });
  EXPECT_LE(Find<QLabel>("lblDescription").height(), room());
}

// Catches a click on the description, a double-click and F2 not editing.
TEST_F(MainFormTest, TheDescriptionIsEditedFromTheListTheKeyAndThePanel) {
  Start();
  AddImages({Picture("a.bmp"), Picture("b.bmp")});
  Select({1, 0});
  DialogAnswerer dialogs;
  const auto write = [](const char* text) {
    return [text](QDialog& editor) {
      QTest::keyClicks(editor.findChild<QPlainTextEdit*>("mmCaption"), text);
      editor.findChild<QPushButton*>("btnOK")->click();
    };
  };
  dialogs.Answer<QDialog>(write("first"));
  QApplication::setActiveWindow(&Window());
  Window().ImageView().setFocus();
  QTest::keyClick(&Window().ImageView(), Qt::Key_F2);
  EXPECT_EQ(Window().Gallery().GetImageFile(0)->Caption, "first");
  EXPECT_TRUE(Window().Project().Modified());
  Select({1});
  dialogs.Answer<QDialog>(write("second"));
  QLabel& description = Find<QLabel>("lblDescription");
  EXPECT_EQ(description.cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(&description, Qt::LeftButton);
  EXPECT_EQ(Window().Gallery().GetImageFile(1)->Caption, "second");
  EXPECT_EQ(description.text(), "second");
}

// Catches the panel keeping the picture of a gallery that New or Open
// replaced, while nothing is selected any more.
TEST_F(MainFormTest, NewAndOpenLeaveTheSidePanelEmpty) {
  Start();
  AddImages({Picture("a.bmp")});
  const std::string other = SaveAs("other.gmf");
  const auto empty = [this] {
    return Window().PreviewPanel().Preview().FileName().empty() && Text(Window(), "lblFileProp").empty();
  };
  Select({0});
  Trigger("acnNew");
  EXPECT_TRUE(empty());
  AddImages({Picture("b.bmp")});
  Select({0});
  prompt_.Answer(mrNo);
  prompt_.ChooseFiles({other});
  Trigger("acnOpen");
  EXPECT_TRUE(empty());
}

// Catches a total summed in 32 bits: a gallery over 2 GB shows its size.
TEST_F(MainFormTest, TheStatusBarAddsUpPicturesOfMoreThanTwoGigabytes) {
  Start();
  std::vector<std::string> large;
  for (const char* name : {"a.jpg", "b.jpg"}) {
    large.push_back(config_.Files().Write(name, ""));
    std::filesystem::resize_file(large.back(), std::uintmax_t{1536} << 20);
  }
  AddImages(large);
  EXPECT_EQ(Window().TotalImagesSize(), std::int64_t{3} << 30);
  EXPECT_EQ(Window().StatusText(1).toStdString(), FormatFileSize(std::int64_t{3} << 30));
}

// Catches help opening the wrong topic.
TEST_F(MainFormTest, HelpOpensTheContentsTheWindowsTopicAndTheUploadTopic) {
  Start();
  Trigger("miContent");
  QTest::keyClick(&Window(), Qt::Key_F1);
  Trigger("miHowtoUploadGallery");
  ASSERT_EQ(opened_.size(), 3u);
  EXPECT_EQ(opened_[0], "file://" + HelpFolder() + "/index.html");
  EXPECT_EQ(opened_[1], "file://" + HelpTopicFile(40));
  EXPECT_EQ(opened_[2], "file://" + HelpTopicFile(360));
  for (const int topic : {40, 360}) EXPECT_TRUE(std::filesystem::exists(HelpTopicFile(topic)));
}

}  // namespace
}  // namespace tessalune::test
