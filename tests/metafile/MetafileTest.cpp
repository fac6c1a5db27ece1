// SPDX-License-Identifier: GPL-3.0-or-later
#include "Metafile.h"

#include "Errors.h"
#include "PicIcon.h"
#include "MetafileWriters.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <filesystem>
#include <random>
#include <vector>

namespace tessalune {
namespace {

using test::PixelIs;
using test::TEmfWriter;
using test::TWmfWriter;

const U_COLORREF kBlue = colorref3_set(0, 0, 255);

TMetafile Load(const std::string& fileName, bool enhanced) {
  TMetafile metafile;
  metafile.LoadFromFile(fileName, enhanced);
  return metafile;
}

// A picture of width x height pixels at 96 per inch, filled with a blue
// rectangle over its whole frame, in both formats.
std::string FullEmf(const test::Sandbox& sandbox, int width, int height) {
  const std::string file = sandbox.File("full.emf");
  TEmfWriter emf(file, width, height);
  emf.SelectPen(U_PS_SOLID, 0, kBlue);
  emf.SelectBrush(kBlue);
  emf.Add(U_EMRRECTANGLE_set(U_RECTL{0, 0, width, height}));
  emf.Finish();
  return file;
}

std::string FullWmf(const test::Sandbox& sandbox, int width, int height) {
  const std::string file = sandbox.File("full.wmf");
  const U_PAIRF inches{width / 96.0f, height / 96.0f};
  TWmfWriter wmf(file, &inches, 96);
  wmf.SelectPen(U_PS_SOLID, 0, kBlue);
  wmf.SelectBrush(kBlue);
  wmf.Add(U_WMRRECTANGLE_set(
      U_RECT16{0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height)}));
  wmf.Finish();
  return file;
}

TEST(MetafileTest, ThumbnailOf128x96IsDrawnWholeInto127x95) {
  test::Sandbox sandbox;
  for (const auto& [file, enhanced] :
       {std::pair{FullEmf(sandbox, 128, 96), true}, std::pair{FullWmf(sandbox, 128, 96), false}}) {
    const TMetafile metafile = Load(file, enhanced);
    ASSERT_EQ(metafile.Width(), 128) << file;
    ASSERT_EQ(metafile.Height(), 96) << file;
    const QImage image = test::RenderMetafile(file, enhanced, 127, 95);
    for (const auto& [x, y] : {std::pair{0, 0}, {126, 0}, {0, 94}, {126, 94}, {63, 47}})
      EXPECT_TRUE(PixelIs(image, x, y, Qt::blue)) << file;
  }
}

// The thumbnail maker's metafile branch: a blue left half on white.
TEST(MetafileTest, ThumbnailMakerDrawsA128x96MetafileInto127x95OnWhite) {
  test::Sandbox sandbox;
  const std::string emfFile = sandbox.File("half.emf");
  {
    TEmfWriter emf(emfFile, 128, 96);
    emf.SelectPen(U_PS_SOLID, 0, kBlue);
    emf.SelectBrush(kBlue);
    emf.Add(U_EMRRECTANGLE_set(U_RECTL{0, 0, 64, 96}));
    emf.Finish();
  }
  const std::string wmfFile = sandbox.File("half.wmf");
  {
    const U_PAIRF inches{128 / 96.0f, 1.0f};
    TWmfWriter wmf(wmfFile, &inches, 96);
    wmf.SelectPen(U_PS_SOLID, 0, kBlue);
    wmf.SelectBrush(kBlue);
    wmf.Add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 64, 96}));
    wmf.Finish();
  }
  for (const std::string& file : {emfFile, wmfFile}) {
    TPicIcon icon;
    icon.LoadFromFile(file);
    ASSERT_EQ(icon.Bitmap.width(), 127) << file;
    ASSERT_EQ(icon.Bitmap.height(), 95) << file;
    EXPECT_TRUE(PixelIs(icon.Bitmap, 0, 0, Qt::blue)) << file;
    EXPECT_TRUE(PixelIs(icon.Bitmap, 60, 94, Qt::blue)) << file;
    EXPECT_TRUE(PixelIs(icon.Bitmap, 66, 0, Qt::white)) << file;
    EXPECT_TRUE(PixelIs(icon.Bitmap, 126, 94, Qt::white)) << file;
  }
}

TEST(MetafileTest, PlaceableSizeComesFromBoxAndUnitsPerInch) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("inches.wmf");
  const U_PAIRF inches{1.5f, 0.5f};
  TWmfWriter wmf(file, &inches, 1440);
  wmf.Finish();
  const TMetafile metafile = Load(file, false);
  EXPECT_EQ(metafile.Width(), 144);
  EXPECT_EQ(metafile.Height(), 48);
}

TEST(MetafileTest, WmfWithoutPlaceableHeaderTakesItsWindowExtent) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File("window.wmf");
  {
    TWmfWriter wmf(file, nullptr, 0);
    wmf.Add(U_WMRSETWINDOWORG_set(U_POINT16{0, 0}));
    wmf.Add(U_WMRSETWINDOWEXT_set(U_POINT16{300, 200}));
    wmf.SelectPen(U_PS_NULL, 0, kBlue);
    wmf.SelectBrush(kBlue);
    wmf.Add(U_WMRRECTANGLE_set(U_RECT16{150, 0, 300, 200}));
    wmf.Finish();
  }
  const TMetafile metafile = Load(file, false);
  EXPECT_EQ(metafile.Width(), 300);
  EXPECT_EQ(metafile.Height(), 200);
  const QImage image = test::RenderMetafile(file, false, 30, 20);
  EXPECT_TRUE(PixelIs(image, 20, 10, Qt::blue));
  EXPECT_TRUE(PixelIs(image, 10, 10, Qt::white));
}

TEST(MetafileTest, PictureWithoutSizeIsEmpty) {
  test::Sandbox sandbox;
  const std::string wmfFile = sandbox.File("nosize.wmf");
  {
    TWmfWriter wmf(wmfFile, nullptr, 0);
    wmf.Finish();
  }
  EXPECT_TRUE(Load(wmfFile, false).Empty());
  const std::string emfFile = sandbox.File("nosize.emf");
  {
    TEmfWriter emf(emfFile, 0, 0);
    emf.Finish();
  }
  const TMetafile emf = Load(emfFile, true);
  EXPECT_EQ(emf.Width(), 0);
  EXPECT_TRUE(emf.Empty());
}

TEST(MetafileTest, MissingFileCannotBeOpened) {
  test::Sandbox sandbox;
  TMetafile metafile;
  EXPECT_THROW(metafile.LoadFromFile(sandbox.File("none.wmf"), false), EFOpenError);
  EXPECT_TRUE(metafile.Empty());
}

TEST(MetafileTest, OtherDataIsNotAMetafile) {
  test::Sandbox sandbox;
  const std::string text = sandbox.Write("text.emf", "This is not a picture at all, just words.");
  const std::string empty = sandbox.Write("empty.wmf", "");
  TMetafile metafile;
  EXPECT_THROW(metafile.LoadFromFile(text, true), Exception);
  EXPECT_THROW(metafile.LoadFromFile(text, false), Exception);
  EXPECT_THROW(metafile.LoadFromFile(empty, false), Exception);
  EXPECT_THROW(metafile.LoadFromFile(FullWmf(sandbox, 10, 10), true), Exception);
}

TEST(MetafileTest, FailedLoadKeepsNothingOfTheFileBefore) {
  test::Sandbox sandbox;
  TMetafile metafile;
  metafile.LoadFromFile(FullEmf(sandbox, 40, 30), true);
  const std::string text = sandbox.Write("text.emf", "nothing");
  EXPECT_THROW(metafile.LoadFromFile(text, true), Exception);
  EXPECT_EQ(metafile.Width(), 40);
}

TEST(MetafileTest, RecordRunningPastTheFileFailsTheLoad) {
  test::Sandbox sandbox;
  for (const auto& [file, enhanced] :
       {std::pair{FullEmf(sandbox, 50, 50), true}, std::pair{FullWmf(sandbox, 50, 50), false}}) {
    std::string bytes = test::ReadBytes(file);
    // The size of the last record before the end record, made huge.
    const std::size_t last = bytes.size() - (enhanced ? 20 : 6) - (enhanced ? 24 : 14);
    bytes[last + (enhanced ? 4 : 0)] = '\x7f';
    bytes[last + (enhanced ? 5 : 1)] = '\x7f';
    EXPECT_THROW(Load(sandbox.Write("cut", bytes), enhanced), Exception) << file;
  }
}

// The size of the end record and of the records before it that FullEmf and
// FullWmf write after their headers: pen, brush and the rectangle.
std::size_t EndBytes(bool enhanced) { return enhanced ? 20 : 6; }
std::size_t RectangleBytes(bool enhanced) { return enhanced ? 24 : 14; }

TEST(MetafileTest, FileCutBetweenRecordsDrawsTheRecordsBeforeTheCut) {
  test::Sandbox sandbox;
  for (const auto& [file, enhanced] :
       {std::pair{FullEmf(sandbox, 60, 40), true}, std::pair{FullWmf(sandbox, 60, 40), false}}) {
    const std::string bytes = test::ReadBytes(file);
    const std::size_t end = bytes.size() - EndBytes(enhanced);
    const QImage whole = test::RenderMetafile(sandbox.Write("cut", bytes.substr(0, end)),
                                              enhanced, 60, 40);
    EXPECT_TRUE(PixelIs(whole, 30, 20, Qt::blue)) << file;
    const std::string before = bytes.substr(0, end - RectangleBytes(enhanced));
    EXPECT_TRUE(PixelIs(test::RenderMetafile(sandbox.Write("cut", before), enhanced, 60, 40), 30,
                        20, Qt::white))
        << file;
  }
}

TEST(MetafileTest, FileWithoutAWholeRecordAfterItsHeaderGivesTheErrorMark) {
  test::Sandbox sandbox;
  const std::string wmf = test::ReadBytes(FullWmf(sandbox, 60, 40));
  const std::string emf = test::ReadBytes(FullEmf(sandbox, 60, 40));
  const std::size_t emfHeader = static_cast<std::uint8_t>(emf[4]);
  const std::pair<std::string, bool> cases[] = {
      {wmf.substr(0, 22), false},            // the placeable header alone
      {wmf.substr(0, 22 + 18), false},       // and the metafile header
      {wmf.substr(0, 22 + 18 + 5), false},   // and a record cut short
      {wmf.substr(22, 18), false},           // the metafile header alone
      {emf.substr(0, emfHeader), true},      // the header record alone
      {emf.substr(0, emfHeader + 10), true}  // and a record cut short
  };
  for (const auto& [bytes, enhanced] : cases) {
    const std::string file = sandbox.Write(enhanced ? "cut.emf" : "cut.wmf", bytes);
    EXPECT_THROW(Load(file, enhanced), Exception) << bytes.size();
    TPicIcon icon;
    icon.LoadFromFile(file);
    EXPECT_EQ(icon.Bitmap.size(), QSize(30, 30)) << bytes.size();
    EXPECT_TRUE(PixelIs(icon.Bitmap, 15, 15, Qt::red)) << bytes.size();
  }
}

// Every cut and thousands of random changes of real files load and draw, or
// fail with an Exception; none may crash, hang or allocate without bound.
TEST(MetafileTest, DamagedFilesNeverCrash) {
  test::Sandbox sandbox;
  std::mt19937 random(20261209);
  for (const auto& [file, enhanced] :
       {std::pair{FullEmf(sandbox, 60, 40), true}, std::pair{FullWmf(sandbox, 60, 40), false}}) {
    const std::string bytes = test::ReadBytes(file);
    std::vector<std::string> damaged;
    for (std::size_t length = 0; length < bytes.size(); length += 3)
      damaged.push_back(bytes.substr(0, length));
    for (int i = 0; i < 400; ++i) {
      std::string changed = bytes;
      for (int j = 0; j < 1 + i % 4; ++j)
        changed[random() % changed.size()] = static_cast<char>(random());
      damaged.push_back(changed);
    }
    for (const std::string& data : damaged) {
      const std::string name = sandbox.Write("damaged", data);
      try {
        const QImage image = test::RenderMetafile(name, enhanced, 30, 20);
        EXPECT_EQ(image.width(), 30);
      } catch (const Exception&) {
      }
    }
  }
}

// The fuzz corpus, found crashes among it, goes through the whole load and draw.
TEST(MetafileTest, CorpusFilesLoadAndDrawOrFail) {
  int drawn = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(test::TestDataPath("metafile-corpus"))) {
    for (const bool enhanced : {true, false}) {
      try {
        test::RenderMetafile(entry.path().string(), enhanced, 50, 40);
        ++drawn;
      } catch (const Exception&) {
      }
    }
  }
  EXPECT_GE(drawn, 5);
}

}  // namespace
}  // namespace tessalune
