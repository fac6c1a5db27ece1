// SPDX-License-Identifier: GPL-3.0-or-later
#include "Picture.h"

#include "Errors.h"
#include "ImageFixtures.h"
#include "TestNames.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

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

// A negative height in the header means rows stored from the top.
TEST_F(PictureTest, ABitmapStoredTopDownIsRead) {
  picture.LoadFromFile(sandbox.Write("top-down.bmp", test::MakeBitmapHeader(1, -2)));
  EXPECT_EQ(TGraphicKind::Bitmap, picture.Kind());
  EXPECT_EQ(1, picture.Width());
  EXPECT_EQ(2, picture.Height());
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

// Headers that claim what no picture holds: sides at the ends of their
// types, zero and negative. Each file declares width x height and little else.
using test::LittleEndian;
using THeaderMaker = std::string (*)(std::int64_t width, std::int64_t height);

std::string Bitmap(std::int64_t width, std::int64_t height) {
  return test::MakeBitmapHeader(std::int32_t(width), std::int32_t(height));
}

std::string RunLengthBitmap(std::int64_t width, std::int64_t height) {
  return test::MakeBitmapHeader(std::int32_t(width), std::int32_t(height), 1);
}

std::string Gif(std::int64_t width, std::int64_t height) {
  return test::MakeGif(int(width), int(height), {Qt::blue}, {});
}

// A small JPEG whose frame header is made to declare the size.
std::string Jpeg(std::int64_t width, std::int64_t height) {
  std::string jpeg = test::MakeJpeg(test::FilledBitmap(8, 8, Qt::blue));
  const std::size_t frame = jpeg.find("\xFF\xC0");
  const auto side = [](std::int64_t value) {
    return std::string{char(value >> 8 & 0xFF), char(value & 0xFF)};
  };
  return jpeg.replace(frame + 5, 4, side(height) + side(width));
}

// An icon of one image whose bitmap header declares the size.
std::string Icon(std::int64_t width, std::int64_t height) {
  return LittleEndian(0, 2) + LittleEndian(1, 2) + LittleEndian(1, 2) + std::string(4, '\0') +
         LittleEndian(1, 2) + LittleEndian(32, 2) + LittleEndian(48, 4) + LittleEndian(22, 4) +
         LittleEndian(40, 4) + LittleEndian(std::uint32_t(width), 4) + LittleEndian(std::uint32_t(height), 4) +
         LittleEndian(1, 2) + LittleEndian(32, 2) + std::string(24 + 8, '\0');
}

// An enhanced metafile of no records but its end, whose frame runs from
// (width, height) to (-width - 1, -height - 1), in hundredths of a millimetre.
std::string Emf(std::int64_t width, std::int64_t height) {
  const auto le = [](std::int64_t value) { return LittleEndian(std::uint32_t(value), 4); };
  const std::string end = le(14) + le(20) + le(0) + le(16) + le(20);
  return le(1) + le(88) + std::string(16, '\0') + le(width) + le(height) + le(-width - 1) +
         le(-height - 1) + le(0x464D4520) + le(0x10000) + le(88 + 20) + le(2) + le(1) + le(0) + le(0) +
         le(0) + std::string(16, '\0') + end;
}

// A placeable Windows metafile of one end record whose frame runs from
// (width, height) to (-width - 1, -height - 1) at one unit an inch.
std::string Wmf(std::int64_t width, std::int64_t height) {
  const auto word = [](std::int64_t value) { return LittleEndian(std::uint32_t(value), 2); };
  return LittleEndian(0x9AC6CDD7, 4) + word(0) + word(width) + word(height) + word(-width - 1) +
         word(-height - 1) + word(1) + LittleEndian(0, 4) + word(0) + word(1) + word(9) + word(0x300) +
         LittleEndian(12, 4) + word(0) + LittleEndian(3, 4) + word(0) + LittleEndian(3, 4) + word(0);
}

constexpr std::int64_t kAtTheLimit = -1;  // MaxPicturePixels()

struct LyingHeader {
  const char* file;
  THeaderMaker make;
  std::int64_t width, height;
  std::int64_t declared;  // what DeclaredPixels answers, or kAtTheLimit
};

void PrintTo(const LyingHeader& header, std::ostream* out) {
  const auto side = [](std::int64_t value) {
    return value < 0 ? "minus " + std::to_string(-value) : std::to_string(value);
  };
  *out << header.file << " of " << side(header.width) << " x " << side(header.height);
}

class LyingHeaderTest : public ::testing::TestWithParam<LyingHeader> {};

// What a header declares is held to what a picture may hold, and the
// picture is refused, or holds no more than that.
TEST_P(LyingHeaderTest, ClaimsNoMoreThanAPictureMayHold) {
  const test::Sandbox sandbox;
  const LyingHeader& header = GetParam();
  const std::string file = sandbox.Write(header.file, header.make(header.width, header.height));
  EXPECT_EQ(DeclaredPixels(file), header.declared == kAtTheLimit ? MaxPicturePixels() : header.declared);
  TPicture picture;
  try {
    picture.LoadFromFile(file);
  } catch (const Exception&) {
    return;
  }
  EXPECT_GE(picture.Width(), 0);
  EXPECT_GE(picture.Height(), 0);
  EXPECT_LE(std::int64_t{picture.Width()} * picture.Height(), MaxPicturePixels());
}

constexpr std::int64_t kLowest = INT_MIN, kHighest = INT_MAX;

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, LyingHeaderTest,
    ::testing::Values(LyingHeader{"a.bmp", Bitmap, kHighest, kLowest, kAtTheLimit},
                      LyingHeader{"b.bmp", Bitmap, kLowest, kHighest, 0},
                      LyingHeader{"c.bmp", Bitmap, kHighest, kHighest, kAtTheLimit},
                      LyingHeader{"d.bmp", Bitmap, kLowest, kLowest, 0},
                      LyingHeader{"e.bmp", Bitmap, 0, kHighest, 0},
                      LyingHeader{"f.bmp", Bitmap, kHighest, 0, 0},
                      LyingHeader{"g.bmp", Bitmap, -1, -1, 0},
                      LyingHeader{"h.bmp", Bitmap, 1, kLowest, kAtTheLimit},
                      LyingHeader{"i.bmp", RunLengthBitmap, kHighest, kLowest, kAtTheLimit},
                      LyingHeader{"top-down.bmp", Bitmap, 16, -16, 256},
                      LyingHeader{"a.gif", Gif, 65535, 65535, kAtTheLimit},
                      LyingHeader{"b.gif", Gif, 0, 65535, 0},
                      LyingHeader{"a.jpg", Jpeg, 65535, 65535, 0},
                      LyingHeader{"b.jpg", Jpeg, 0, 65535, 0},
                      LyingHeader{"a.ico", Icon, kHighest, kLowest, 0},
                      LyingHeader{"b.ico", Icon, kLowest, kHighest, 0},
                      LyingHeader{"a.emf", Emf, kHighest, kHighest, 0},
                      LyingHeader{"b.emf", Emf, kLowest, kLowest, 0},
                      LyingHeader{"a.wmf", Wmf, 32767, 32767, 0},
                      LyingHeader{"b.wmf", Wmf, -32768, -32768, 0}),
    test::PrintedName());

}  // namespace
}  // namespace tessalune
