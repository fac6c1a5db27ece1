// SPDX-License-Identifier: GPL-3.0-or-later
#include "Bitmap.h"

#include "Errors.h"


namespace tessalune {

void CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width < 0 || height < 0 || (height > 0 && width > kMaxPicturePixels / height)) {
    throw Exception(Format("Picture too large (%lld x %lld)", static_cast<long long>(width),
                           static_cast<long long>(height)));
  }
}

TBitmap NewBitmap(int width, int height) {
  CheckPictureSize(width, height);
  if (width == 0 || height == 0) return TBitmap();
  TBitmap bitmap(width, height, kBitmapFormat);
  if (bitmap.isNull()) throw Exception("Out of memory");
  bitmap.fill(Qt::white);
  return bitmap;
}

TBitmap ToBitmap24(const QImage& image) {
  if (image.format() == kBitmapFormat) return image;
  TBitmap converted = image.convertToFormat(kBitmapFormat);
  if (converted.isNull() && !image.isNull()) throw Exception("Out of memory");
  return converted;
}

}  // namespace tessalune
