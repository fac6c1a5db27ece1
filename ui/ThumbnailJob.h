// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include <QColor>
#include <QSize>

#include "Bitmap.h"

namespace tessalune {

// When a file was last written and how large it was, as the file system
// said. A file that cannot be examined has the stamp {-1, -1}.
struct TFileStamp {
  std::int64_t Time = -1;  // last write, nanoseconds since the epoch
  std::int64_t Size = -1;
  bool operator==(const TFileStamp&) const = default;
};

TFileStamp FileStampOf(const std::string& fileName);

// One screen thumbnail to make, which is also the key of its result: two
// requests are equal only when every field is. A requester keeps the request
// it last made for a picture and drops any result whose request differs from
// it, so a result made for a deleted item, an older size, an older state of
// the file or an earlier generation (bumped on every reload) never shows.
struct TThumbnailRequest {
  // The requester's identity of the picture (a list item, a preview).
  std::uint64_t Id = 0;
  std::string FileName;
  // The file's stamp when the request was made.
  TFileStamp Stamp;
  // The thumbnail maker's maximum width and height, in device pixels.
  QSize MaxSize;
  // Device pixels per logical pixel of the screen the thumbnail is for.
  qreal DevicePixelRatio = 1;
  // When valid, the thumbnail is centred on a canvas of this many device
  // pixels filled with Margin (CenterBitmap).
  QSize Canvas;
  QColor Margin;
  std::uint64_t Generation = 0;

  bool operator==(const TThumbnailRequest&) const = default;
};

// A screen thumbnail and the pixel size of the picture it was made from,
// which the same load learns: 0 x 0 when the picture could not be read. A
// picture too thin for a thumbnail has its own size beside the error mark.
struct TThumbnail {
  TBitmap Bitmap;
  QSize PictureSize;
};

// The thumbnail as the screen shows it: a thumbnail maker of its own in fast
// mode loads the file within MaxSize (an unreadable file gives the error
// mark), the result is centred on the canvas when one is asked for and
// carries the device pixel ratio. Safe on any thread; raises only when
// memory runs out.
TThumbnail MakeFastThumbnail(const TThumbnailRequest& request);

// Pads Bitmap to Size with the picture in the middle and Color in the
// margins; with an odd difference the spare pixel lies on the right or at the
// bottom. A bitmap larger than Size keeps its middle part.
void CenterBitmap(TBitmap& Bitmap, QSize Size, const QColor& Color);

}  // namespace tessalune
