// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace tessalune {

// The 24-bit bitmap: three bytes per pixel, one per channel. Every routine
// treats the channels alike, so their order never matters.
using TBitmap = QImage;

constexpr QImage::Format kBitmapFormat = QImage::Format_RGB888;

// The pixel buffer of a 24-bit bitmap, for a writer on another thread.
struct TPixelRows {
  std::uint8_t* bits;
  std::size_t stride;
  int width;
  int height;
};

// The rows of bitmap, detached from any copy so that writes stay private.
TPixelRows PixelRows(TBitmap& bitmap);

// The largest picture, in pixels, that any decoder or scaler will allocate.
std::int64_t MaxPicturePixels();

// Raises an Exception when width x height is negative or above
// MaxPicturePixels(). Headers of hostile files may claim anything up to
// 65535 x 65535; pictures above the limit are refused before a single pixel
// buffer is made.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// width x height as a header declares them, held to what a picture may hold:
// 0 when a side is 0 or less, at most MaxPicturePixels(). Never overflows,
// whatever the header claims.
std::int64_t ClampedPixels(std::int64_t width, std::int64_t height);

// Whether a new bitmap is painted white or left for a decoder to fill.
enum class TNewPixels { White, Undefined };

// The one allocation helper for bitmaps: a 24-bit bitmap of the given size,
// white unless a decoder is about to write every pixel. A side of 0 gives an
// empty bitmap. Raises an Exception when the size is refused or the memory
// cannot be had.
TBitmap NewBitmap(int width, int height, TNewPixels pixels = TNewPixels::White);

// Makes bitmap a 24-bit bitmap of the given size whose pixels are left for a
// decoder to fill. Its pixel buffer is kept when it has that size already
// and no other bitmap shares it, so that a run of pictures of one size
// decodes into the same memory instead of faulting in fresh pages for each.
void ReuseBitmap(TBitmap& bitmap, int width, int height);

// image as a 24-bit bitmap (a copy when it has another format).
TBitmap ToBitmap24(const QImage& image);

}  // namespace tessalune
