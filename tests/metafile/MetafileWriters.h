// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <uemf.h>
#include <uwmf.h>

#include <QColor>
#include <QImage>

#include <string>
#include <vector>

namespace tessalune::test {

// Builds an enhanced metafile with libuemf's record writers. The reference
// device has 96 pixels per inch and the frame is width x height of its
// pixels; records go in through Add, which takes them over.
class TEmfWriter {
public:
  TEmfWriter(const std::string& fileName, int width, int height);
  ~TEmfWriter();
  TEmfWriter(const TEmfWriter&) = delete;
  TEmfWriter& operator=(const TEmfWriter&) = delete;

  void Add(char* record);
  EMFHANDLES* Handles() { return handles_; }
  // Creates a solid pen or brush and selects it.
  void SelectPen(std::uint32_t style, int width, U_COLORREF colour);
  void SelectBrush(U_COLORREF colour);
  // Creates an extended pen with a solid brush and selects it; dashes are a
  // user-styled pen's dashes and gaps.
  void SelectExtPen(std::uint32_t style, int width, U_COLORREF colour,
                    std::vector<std::uint32_t> dashes = {});
  // Creates a font of height logical units (negative: the em height) in a
  // character set and selects it.
  void SelectFont(int height, std::uint8_t charset, const std::string& face);
  // Appends the end record and writes the file.
  void Finish();

private:
  EMFTRACK* track_ = nullptr;
  EMFHANDLES* handles_ = nullptr;
};

// Builds a Windows metafile with libuemf's record writers; with inches set it
// has a placeable header of inches x dpi logical units.
class TWmfWriter {
public:
  TWmfWriter(const std::string& fileName, const U_PAIRF* inches, unsigned dpi);
  ~TWmfWriter();
  TWmfWriter(const TWmfWriter&) = delete;
  TWmfWriter& operator=(const TWmfWriter&) = delete;

  void Add(char* record);
  WMFHANDLES* Handles() { return handles_; }
  void SelectPen(std::uint16_t style, std::uint16_t width, U_COLORREF colour);
  void SelectBrush(U_COLORREF colour);
  void SelectFont(int height, std::uint8_t charset, const std::string& face);
  void Finish();

private:
  WMFTRACK* track_ = nullptr;
  WMFHANDLES* handles_ = nullptr;
};

// A bottom-up 2 x 2 bitmap at 24 bits per pixel: red and green on top, blue
// and white below.
class TQuadrantBitmap {
public:
  TQuadrantBitmap();
  ~TQuadrantBitmap();
  TQuadrantBitmap(const TQuadrantBitmap&) = delete;
  TQuadrantBitmap& operator=(const TQuadrantBitmap&) = delete;

  PU_BITMAPINFO Info() const { return info_; }
  char* Pixels() { return pixels_.data(); }
  std::uint32_t PixelBytes() const { return static_cast<std::uint32_t>(pixels_.size()); }

private:
  PU_BITMAPINFO info_;
  std::vector<char> pixels_;
};

// The metafile in fileName drawn on white into a width x height bitmap, the
// way thumbnails are made.
QImage RenderMetafile(const std::string& fileName, bool enhanced, int width, int height);

// Checks one pixel's colour, naming both colours when they differ.
::testing::AssertionResult PixelIs(const QImage& image, int x, int y, const QColor& expected);

// The number of pixels in the rectangle from (left, top) to (right, bottom),
// both included, that are not white.
int InkIn(const QImage& image, int left, int top, int right, int bottom);

// Checks that two images have the same size and pixels and are not blank
// (white throughout), naming how many pixels differ.
::testing::AssertionResult SamePixels(const QImage& actual, const QImage& expected);

// Draws, through libEMF's GDI calls, a red filled rectangle from (10, 10) to
// (50, 40) and blue text "HH" at (60, 60), in libEMF's device pixels, on a
// frame of 100 x 100 pixels at 96 per inch.
void WriteLibEmfPicture(const std::string& fileName);

}  // namespace tessalune::test
