// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files that the imaging tests write themselves: JPEG by libjpeg,
// GIF by giflib's encoder, BMP and ICO by Qt.
#pragma once

#include "Bitmap.h"

#include <QColor>

#include <cstdint>
#include <string>
#include <vector>

namespace tessalune::test {

enum class JpegKind { Rgb, Grayscale, AdobeCmyk, Progressive };

// A JPEG stream of the bitmap (quality 95), written by libjpeg directly.
std::string MakeJpeg(const TBitmap& bitmap, JpegKind kind = JpegKind::Rgb);

// A grey JPEG of any size, encoded row by row without a bitmap of that size:
// a cheap picture of very many pixels.
std::string MakeFlatJpeg(int width, int height, std::uint8_t grey);

// A run-length encoded 8-bit bitmap file of one colour: a small file of very
// many pixels.
std::string MakeFlatRle8Bitmap(int width, int height, QColor colour);

// The value as that many bytes, the lowest first.
std::string LittleEndian(std::uint32_t value, int bytes);

// A 64-byte bitmap file of 24 bits a pixel whose headers declare width x
// height (rows stored top down for a negative height), whatever it holds.
std::string MakeBitmapHeader(std::int32_t width, std::int32_t height, std::uint32_t compression = 0);

// An EXIF block (the body of an APP1 segment) whose first IFD holds one
// orientation entry as written here: its value, type (3 is SHORT), count and
// byte order.
struct ExifEntry {
  int value = 1;
  int type = 3;
  int count = 1;
  bool bigEndian = true;
};
std::string ExifBlock(const ExifEntry& entry);

// The JPEG stream with an APP1 segment of that body right after its start.
std::string WithApp1(const std::string& jpeg, const std::string& body);

// A picture whose stored top-left corner is red and top-right corner green,
// each a quarter of the width and of the height; blue elsewhere.
TBitmap CornerMarkedBitmap(int width, int height);

// What libjpeg reads from the header of a valid JPEG stream.
struct JpegInfo {
  int width = 0;
  int height = 0;
  bool progressive = false;
};
JpegInfo ReadJpegInfo(const std::string& bytes);

struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  int transparent = -1;                 // colour index, -1 for none
  std::vector<std::uint8_t> indexes;    // width x height, row by row
};

// A GIF with a global colour table and one frame (or none).
std::string MakeGif(int screenWidth, int screenHeight, const std::vector<QColor>& colours,
                    const std::vector<GifFrame>& frames);

// The bytes Qt writes for the image in the format ("BMP", "ICO").
std::string MakeWithQt(const QImage& image, const char* format);

// A bitmap filled with one colour, and one of pseudo-random pixels.
TBitmap FilledBitmap(int width, int height, QColor colour);
TBitmap NoiseBitmap(int width, int height, unsigned seed);

// The colour of one pixel of a 24-bit bitmap.
QColor PixelAt(const TBitmap& bitmap, int x, int y);

}  // namespace tessalune::test
