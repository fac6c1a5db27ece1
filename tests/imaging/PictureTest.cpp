// SPDX-License-Identifier: GPL-3.0-or-later
#include "Picture.h"

#include "Errors.h"
#include "ImageFixtures.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tessalune {
namespace {

class PictureTest : public ::testing::Test {
protected:
  test::Sandbox sandbox;
  TPicture picture;

  std::string Message(const std::string& file) {
    try {
      picture.LoadFromFile(file);
    } catch (const Exception& error) {
      return error.what();
    }
    return "no error";
  }
};

TEST_F(PictureTest, ExtensionChoosesTheDecoderWhateverItsCase) {
  const TBitmap pixels = test::FilledBitmap(6, 4, Qt::blue);
  picture.LoadFromFile(sandbox.Write("a.JPEG", test::MakeJpeg(pixels)));
  EXPECT_EQ(TGraphicKind::Jpeg, picture.Kind());
  picture.LoadFromFile(sandbox.Write("b.Jpg", test::MakeJpeg(pixels)));
  EXPECT_EQ(TGraphicKind::Jpeg, picture.Kind());
  picture.LoadFromFile(sandbox.Write("c.GIF", test::MakeGif(6, 4, {Qt::blue}, {test::GifFrame{0, 0, 1, 1, false, -1, {0}}})));
  EXPECT_EQ(TGraphicKind::Gif, picture.Kind());
  picture.LoadFromFile(sandbox.Write("d.bMp", test::MakeWithQt(pixels, "BMP")));
  EXPECT_EQ(TGraphicKind::Bitmap, picture.Kind());
  EXPECT_EQ(6, picture.Width());
  EXPECT_EQ(4, picture.Height());
}

TEST_F(PictureTest, UnknownExtensionsAreNamedInTheError) {
  EXPECT_EQ("Unknown picture file extension (.png)", Message(sandbox.Write("x.png", "data")));
  EXPECT_EQ("Unknown picture file extension (.PNG)", Message(sandbox.Write("y.PNG", "data")));
  EXPECT_EQ("Unknown picture file extension (.)", Message(sandbox.Write("dotted.dir/plain", "data")));
  EXPECT_EQ(TGraphicKind::None, picture.Kind());
  EXPECT_EQ(0, picture.Width());
}

TEST_F(PictureTest, MissingFileCannotBeOpened) {
  const std::string missing = sandbox.File("missing.bmp");
  EXPECT_EQ("Cannot open file " + missing, Message(missing));
}

TEST_F(PictureTest, BitmapsAndIconsComeThroughTheirOwnReaderOnly) {
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  icon.setPixelColor(3, 4, QColor(255, 0, 0, 255));
  picture.LoadFromFile(sandbox.Write("i.ico", test::MakeWithQt(icon, "ICO")));
  ASSERT_EQ(TGraphicKind::Icon, picture.Kind());
  EXPECT_EQ(0, qAlpha(picture.Image().pixel(0, 0)));
  EXPECT_EQ(qRgb(255, 0, 0), picture.Image().pixel(3, 4));
  // A bitmap saved under an icon's name is not sniffed into a bitmap.
  EXPECT_EQ("Icon image is not valid",
            Message(sandbox.Write("fake.ico", test::MakeWithQt(test::FilledBitmap(4, 4, Qt::red), "BMP"))));
}

TEST_F(PictureTest, DamagedBitmapsAreInvalid) {
  const std::string bmp = test::MakeWithQt(test::NoiseBitmap(20, 20, 1), "BMP");
  EXPECT_EQ("Bitmap image is not valid", Message(sandbox.Write("short.bmp", bmp.substr(0, 40))));
  EXPECT_EQ("Bitmap image is not valid", Message(sandbox.Write("text.bmp", "Just some text, no bitmap")));
  std::string huge = bmp;
  huge.replace(18, 8, std::string("\xFF\xFF\x00\x00\xFF\xFF\x00\x00", 8));  // 65535 x 65535
  EXPECT_NE("no error", Message(sandbox.Write("huge.bmp", huge)));
  EXPECT_EQ(TGraphicKind::None, picture.Kind());
}

TEST_F(PictureTest, MetafileExtensionsGoToTheMetafileReader) {
  // The metafile reader refuses this text, with its own message.
  for (const char* name : {"m.WMF", "m.emf"}) {
    const std::string message = Message(sandbox.Write(name, "not a metafile"));
    EXPECT_NE("no error", message);
    EXPECT_EQ(std::string::npos, message.find("Unknown picture file extension")) << message;
  }
  EXPECT_EQ(TGraphicKind::None, picture.Kind());
}

TEST_F(PictureTest, DeclaredPixelsComeFromTheHeaderAlone) {
  const TBitmap pixels = test::FilledBitmap(60, 40, Qt::blue);
  EXPECT_EQ(DeclaredPixels(sandbox.Write("p.JPG", test::MakeJpeg(pixels))), 2400);
  EXPECT_EQ(DeclaredPixels(sandbox.Write("p.gif", test::MakeGif(60, 40, {Qt::blue}, {}))), 2400);
  EXPECT_EQ(DeclaredPixels(sandbox.Write("p.bmp", test::MakeWithQt(pixels, "BMP").substr(0, 40))), 2400);
  EXPECT_EQ(DeclaredPixels(sandbox.Write("text.jpg", "no picture")), 0);
  EXPECT_EQ(DeclaredPixels(sandbox.File("missing.gif")), 0);
}

// Most files are read only as far as their head; one whose frame header
// lies beyond it, behind large segments, is read whole.
TEST_F(PictureTest, DeclaredPixelsOfAJpegWithLargeSegmentsBeforeItsFrame) {
  std::string jpeg = test::MakeJpeg(test::FilledBitmap(60, 40, Qt::blue));
  for (int segment = 0; segment < 6; ++segment) jpeg = test::WithApp1(jpeg, std::string(60000, 'x'));
  EXPECT_EQ(DeclaredPixels(sandbox.Write("behind.jpg", jpeg)), 2400);
  EXPECT_EQ(DeclaredPixels(sandbox.Write("head.jpg", jpeg.substr(0, 6 * 60004 + 1000))), 2400);
}

}  // namespace
}  // namespace tessalune
