// SPDX-License-Identifier: GPL-3.0-or-later
#include "Orientation.h"

#include "Errors.h"
#include "ParallelFor.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tessalune {
namespace {

struct ExifDataUnref {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};
using ExifHandle = std::unique_ptr<ExifData, ExifDataUnref>;

// Tiles of this many pixels a side keep the rows and columns that a quarter
// turn reads across in the caches.
constexpr int kTile = 64;

// A turn that exchanges the sides: destination pixel (x, y) is source pixel
// (sx, sy) with sx = y or width - 1 - y and sy = x or height - 1 - x.
TBitmap Transposed(const TBitmap& source, TOrientation orientation, unsigned threads) {
  const int width = source.width(), height = source.height();
  TBitmap target = NewBitmap(height, width, TNewPixels::Undefined);
  const bool mirrorX = orientation == 7 || orientation == 8;
  const bool mirrorY = orientation == 6 || orientation == 7;
  const std::ptrdiff_t stride = source.bytesPerLine();
  const std::ptrdiff_t step = mirrorY ? -stride : stride;
  const int bands = (width + kTile - 1) / kTile;
  ParallelFor(bands, ChooseThreads(threads, bands, std::int64_t{width} * height), [&](int begin, int end) {
    for (int y0 = begin * kTile; y0 < std::min(end * kTile, width); y0 += kTile) {
      for (int x0 = 0; x0 < height; x0 += kTile) {
        for (int y = y0; y < std::min(y0 + kTile, width); ++y) {
          const int sx = mirrorX ? width - 1 - y : y;
          const uchar* from = source.constScanLine(mirrorY ? height - 1 - x0 : x0) + 3 * sx;
          uchar* to = target.scanLine(y) + 3 * x0;
          for (int x = x0; x < std::min(x0 + kTile, height); ++x, from += step, to += 3) {
            std::memcpy(to, from, 3);
          }
        }
      }
    }
  });
  return target;
}

}  // namespace

TOrientation ExifOrientation(const unsigned char* exif, std::size_t size) {
  const ExifHandle data(exif_data_new());
  if (!data || size > 0xFFFF) return kUpright;
  // Read the values as stored: libexif's option of following the EXIF standard
  // would also make up the missing ones.
  exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(data.get(), exif, static_cast<unsigned int>(size));
  const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components != 1 || entry->size < 2) {
    return kUpright;
  }
  const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
  return value >= 1 && value <= 8 ? value : kUpright;
}

TBitmap TurnBitmap(TBitmap bitmap, TOrientation orientation, unsigned threads) {
  if (bitmap.isNull() || orientation < 2 || orientation > 8) return bitmap;
  if (SwapsSides(orientation)) return Transposed(bitmap, orientation, threads);
  // Mirroring works in place on a bitmap that nothing else shares.
  TBitmap turned = std::move(bitmap).mirrored(orientation != 4, orientation != 2);
  if (turned.isNull()) throw Exception("Out of memory");
  return turned;
}

}  // namespace tessalune
