// SPDX-License-Identifier: GPL-3.0-or-later
// The picture preview of the side panel and of the open-picture dialog.
#include "PicturePreview.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QImage>
#include <QSignalSpy>

#include "DialogAnswerer.h"
#include "QtUserPrompt.h"
#include "TestSupport.h"
#include "ThumbnailFixtures.h"

namespace tessalune::test {
namespace {

class PicturePreviewTest : public ::testing::Test {
protected:
  PicturePreviewTest() {
    preview_.resize(204, 154);
    preview_.show();
  }

  std::string Picture(const char* name, int width, int height, Qt::GlobalColor colour) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const std::string path = box_.File(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    return path;
  }

  Sandbox box_;
  TPicturePreview preview_;
};

// Catches a preview that is not the thumbnail maker's fast picture within
// the widget less 2 pixels on every side.
TEST_F(PicturePreviewTest, ShowsTheFastThumbnailWithinTheWidgetLessTwoPixelsASide) {
  const std::string file = Picture("wide.bmp", 1000, 400, Qt::darkGreen);
  QSignalSpy made(&preview_, &TPicturePreview::PictureChanged);
  preview_.SetFileName(file);
  ASSERT_TRUE(made.wait(60000));
  EXPECT_TRUE(SamePixels(preview_.Picture().toImage(), ExpectedThumbnail(file, QSize(200, 150))));
  preview_.resize(104, 104);
  ASSERT_TRUE(made.wait(60000));
  EXPECT_EQ(preview_.Picture().size(), QSize(100, 40));
  preview_.SetFileName("");
  EXPECT_TRUE(preview_.Picture().isNull());
}

// Catches a picture made for an earlier choice showing after a later one.
TEST_F(PicturePreviewTest, OnlyTheLastChosenFileIsShown) {
  const std::string first = Picture("first.bmp", 3000, 2000, Qt::red);
  const std::string last = Picture("last.bmp", 300, 200, Qt::blue);
  std::vector<QColor> shown;
  QObject::connect(&preview_, &TPicturePreview::PictureChanged,
                   [&] { shown.push_back(preview_.Picture().toImage().pixelColor(10, 10)); });
  preview_.SetFileName(first);
  preview_.SetFileName(last);
  ASSERT_TRUE(WaitFor([&] { return !shown.empty(); }));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].blue() > 240 && shown[0].red() < 10) << shown[0].name().toStdString();
  EXPECT_EQ(preview_.FileName(), last);
}

// Catches the open-picture dialog without its preview, or with one in
// dialogs that did not ask for it.
TEST(OpenPictureDialog, ShowsThePictureUnderTheCursorWhenAskedTo) {
  Sandbox box;
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  const std::string file = box.File("photo.bmp");
  ASSERT_TRUE(image.save(QString::fromStdString(file), "BMP"));
  TQtUserPrompt prompt;
  TFileDialogRequest request;
  request.InitialDir = box.Path().string();
  request.PicturePreview = true;
  DialogAnswerer dialogs;
  dialogs.Answer<QFileDialog>([&](QFileDialog& dialog) {
    auto* preview = dialog.findChild<TPicturePreview*>("imgPicturePreview");
    ASSERT_NE(preview, nullptr);
    QSignalSpy made(preview, &TPicturePreview::PictureChanged);
    dialog.selectFile(QString::fromStdString(file));
    emit dialog.currentChanged(QString::fromStdString(file));
    EXPECT_TRUE(made.wait(60000));
    EXPECT_EQ(preview->FileName(), file);
    emit dialog.currentChanged(QString::fromStdString(box.Path().string()));
    EXPECT_TRUE(preview->Picture().isNull());
    dialog.reject();
  });
  std::vector<std::string> files;
  EXPECT_FALSE(prompt.OpenDialog(request, files));
  request.PicturePreview = false;
  dialogs.Answer<QFileDialog>([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.findChild<TPicturePreview*>(), nullptr);
    dialog.reject();
  });
  EXPECT_FALSE(prompt.OpenDialog(request, files));
}

}  // namespace
}  // namespace tessalune::test
