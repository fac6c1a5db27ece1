// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <cstdint>

namespace tessalune {

// The 24-bit bitmap: three bytes per pixel, one per channel. Every routine
// treats the channels alike, so their order never matters.
using TBitmap = QImage;

constexpr QImage::Format kBitmapFormat = QImage::Format_RGB888;

// The largest picture, in pixels, that any decoder or scaler will allocate.
// Headers of hostile files may claim anything up to 65535 x 65535; pictures
// above this limit are refused before a single pixel buffer is made.
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 27;

// Raises an Exception when width x height is negative or above
// kMaxPicturePixels.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// The one allocation helper for bitmaps: a 24-bit bitmap of the given size,
// filled with white. A side of 0 gives an empty bitmap. Raises an Exception
// when the size is refused or the memory cannot be had.
TBitmap NewBitmap(int width, int height);

// image as a 24-bit bitmap (a copy when it has another format).
TBitmap ToBitmap24(const QImage& image);

}  // namespace tessalune
