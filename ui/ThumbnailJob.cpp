// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailJob.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "PicIcon.h"

namespace tessalune {
namespace {

// The picture's own size whenever it was read, also beside the error mark of
// one too thin or too flat to scale (a thumb side truncated to 0); 0 x 0 for
// one that could not be read.
QSize ReadPictureSize(const TPicIcon& icon) {
  if (icon.PictureWidth != 0) return QSize(icon.PictureWidth, icon.PictureHeight);
  const bool tooThin = icon.ThumbWidth == 0 || icon.ThumbHeight == 0;
  return tooThin ? QSize(icon.Picture.Width(), icon.Picture.Height()) : QSize(0, 0);
}

}  // namespace

TFileStamp FileStampOf(const std::string& fileName) {
  struct stat status {};
  if (::stat(fileName.c_str(), &status) != 0) return {};
  constexpr std::int64_t kNanoseconds = 1000000000;
  return {std::int64_t(status.st_mtim.tv_sec) * kNanoseconds + status.st_mtim.tv_nsec,
          std::int64_t(status.st_size)};
}

TThumbnail MakeFastThumbnail(const TThumbnailRequest& request) {
  TThumbnail thumbnail;
  {
    // Its own maker: a TPicIcon keeps the last picture between loads.
    TPicIcon icon;
    icon.Fast = true;
    icon.MaxWidth = request.MaxSize.width();
    icon.MaxHeight = request.MaxSize.height();
    icon.LoadFromFile(request.FileName);
    thumbnail.Bitmap = std::move(icon.Bitmap);
    thumbnail.PictureSize = ReadPictureSize(icon);
  }
  if (request.Canvas.isValid()) CenterBitmap(thumbnail.Bitmap, request.Canvas, request.Margin);
  thumbnail.Bitmap.setDevicePixelRatio(request.DevicePixelRatio);
  return thumbnail;
}

void CenterBitmap(TBitmap& Bitmap, QSize Size, const QColor& Color) {
  TBitmap canvas = NewBitmap(Size.width(), Size.height(), TNewPixels::Undefined);
  if (canvas.isNull()) {
    Bitmap = canvas;
    return;
  }
  canvas.fill(Color);
  const TBitmap picture = ToBitmap24(Bitmap);
  // Integer division truncates toward zero: an odd spare pixel goes right or
  // down, and a picture wider than the canvas is cut evenly at both sides.
  const int dx = (Size.width() - picture.width()) / 2;
  const int dy = (Size.height() - picture.height()) / 2;
  const int left = std::max(0, dx);
  const int right = std::min(Size.width(), dx + picture.width());
  const int top = std::max(0, dy);
  const int bottom = std::min(Size.height(), dy + picture.height());
  for (int y = top; y < bottom && left < right; ++y) {
    std::memcpy(canvas.scanLine(y) + 3 * left, picture.constScanLine(y - dy) + 3 * (left - dx),
                std::size_t(3 * (right - left)));
  }
  Bitmap = std::move(canvas);
}

}  // namespace tessalune
