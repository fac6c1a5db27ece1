// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "RowProgress.h"

#include <string>

namespace tessalune {

// DCT-domain reduction of the decoder: 1/1, 1/2, 1/4, 1/8.
enum TJPEGScale { jsFullSize = 0, jsHalf = 1, jsQuarter = 2, jsEighth = 3 };

// The decoder's inverse DCT: accurate, or the fast integer one.
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };

// A JPEG picture: the file's bytes with the header checked on load, decoded
// on demand to a 24-bit bitmap at the chosen scale and speed. Grayscale and
// CMYK files come out as RGB too. libjpeg's errors, and its warnings about
// corrupt or missing data, raise "JPEG error #%d" with its message number.
class TJPEGImage {
public:
  TJPEGScale Scale = jsFullSize;
  TJPEGPerformance Performance = jpBestQuality;

  void LoadFromFile(const std::string& fileName);
  void LoadFromBytes(std::string bytes);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The size that Decode delivers at the current Scale (rounded up).
  int ScaledWidth() const;
  int ScaledHeight() const;

  TBitmap Decode() const;
  // Decodes into the rows of a 24-bit bitmap of the scaled size, publishing
  // finished rows to progress when one is given. Taking the rows rather than
  // the bitmap lets another thread read the bitmap meanwhile.
  void DecodeInto(const TPixelRows& rows, TRowProgress* progress) const;

private:
  std::string bytes_;
  int width_ = 0;
  int height_ = 0;
};

// The bitmap as a progressive JPEG stream (YCbCr, JFIF) of the given quality
// with baseline quantisation tables. Raises "JPEG error #%d" on failure.
std::string EncodeProgressiveJpeg(const TBitmap& bitmap, int quality);

}  // namespace tessalune
