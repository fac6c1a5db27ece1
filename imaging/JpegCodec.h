// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "Orientation.h"
#include "RowProgress.h"

#include <string>

namespace tessalune {

// DCT-domain reduction of the decoder: 1/1, 1/2, 1/4, 1/8.
enum TJPEGScale { jsFullSize = 0, jsHalf = 1, jsQuarter = 2, jsEighth = 3 };

// The decoder's inverse DCT: accurate, or the fast integer one.
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };

// A JPEG picture: the file's bytes with the header checked on load, decoded
// on demand to a 24-bit bitmap at the chosen scale and speed. Grayscale and
// CMYK files come out as RGB too. A picture whose EXIF orientation tag says
// it is stored turned or mirrored is shown the way viewers show it: its
// sizes and its decoded bitmap are those of the turned picture. libjpeg's
// errors, and its warnings about corrupt or missing data, raise "JPEG error
// #%d" with its message number.
class TJPEGImage {
public:
  TJPEGScale Scale = jsFullSize;
  TJPEGPerformance Performance = jpBestQuality;

  void LoadFromFile(const std::string& fileName);
  void LoadFromBytes(std::string bytes);

  // The size of the picture as shown.
  int Width() const;
  int Height() const;
  // The size that Decode delivers at the current Scale (rounded up).
  int ScaledWidth() const;
  int ScaledHeight() const;
  // The EXIF orientation the file gives (kUpright without one).
  TOrientation Orientation() const { return orientation_; }

  // The picture as shown, at the current Scale.
  TBitmap Decode() const;
  // The same into bitmap, turned on up to threads threads (0: one per
  // core). Its pixel buffer is reused when it has the decoded size already
  // (see ReuseBitmap).
  void DecodeTo(TBitmap& bitmap, unsigned threads = 0) const;
  // Decodes the rows as stored, unturned, into a 24-bit bitmap of the stored
  // scaled size, publishing finished rows to progress when one is given.
  // Taking the rows rather than the bitmap lets another thread read the
  // bitmap meanwhile. For an upright picture these are the rows as shown.
  void DecodeInto(const TPixelRows& rows, TRowProgress* progress) const;

private:
  std::string bytes_;
  int storedWidth_ = 0;
  int storedHeight_ = 0;
  TOrientation orientation_ = kUpright;
};

// The bitmap as a progressive JPEG stream (YCbCr, JFIF) of the given quality
// with baseline quantisation tables. Raises "JPEG error #%d" on failure.
std::string EncodeProgressiveJpeg(const TBitmap& bitmap, int quality);

}  // namespace tessalune
