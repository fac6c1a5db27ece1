// SPDX-License-Identifier: GPL-3.0-or-later
#include "Bitmap.h"

#include "Errors.h"

namespace tessalune {
namespace {

#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
// Fuzzing keeps pictures small, so that every input runs in bounded time.
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 24;
#else
// 536 megapixels: stitched panoramas and the largest medium-format photos,
// 1.5 GB as a 24-bit bitmap.
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 29;
#endif

}  // namespace

std::int64_t MaxPicturePixels() { return kMaxPicturePixels; }

void CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width < 0 || height < 0 || (height > 0 && width > kMaxPicturePixels / height)) {
    throw Exception(Format("Picture too large (%lld x %lld)", static_cast<long long>(width),
                           static_cast<long long>(height)));
  }
}

std::int64_t ClampedPixels(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) return 0;
  return width > kMaxPicturePixels / height ? kMaxPicturePixels : width * height;
}

TBitmap NewBitmap(int width, int height, TNewPixels pixels) {
  CheckPictureSize(width, height);
  if (width == 0 || height == 0) return TBitmap();
  TBitmap bitmap(width, height, kBitmapFormat);
  if (bitmap.isNull()) throw Exception("Out of memory");
  if (pixels == TNewPixels::White) bitmap.fill(Qt::white);
  return bitmap;
}

void ReuseBitmap(TBitmap& bitmap, int width, int height) {
  if (!bitmap.isNull() && bitmap.isDetached() && bitmap.format() == kBitmapFormat &&
      bitmap.width() == width && bitmap.height() == height) {
    return;
  }
  bitmap = TBitmap();  // the old buffer goes before the new one is had
  bitmap = NewBitmap(width, height, TNewPixels::Undefined);
}

TPixelRows PixelRows(TBitmap& bitmap) {
  std::uint8_t* bits = bitmap.isNull() ? nullptr : bitmap.bits();
  return {bits, static_cast<std::size_t>(bitmap.bytesPerLine()), bitmap.width(), bitmap.height()};
}

TBitmap ToBitmap24(const QImage& image) {
  if (image.format() == kBitmapFormat) return image;
  TBitmap converted = image.convertToFormat(kBitmapFormat);
  if (converted.isNull() && !image.isNull()) throw Exception("Out of memory");
  return converted;
}

}  // namespace tessalune
