// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "JpegCodec.h"
#include "Metafile.h"

#include <string>

namespace tessalune {

// The kind of graphic a TPicture holds.
enum class TGraphicKind { None, Bitmap, Icon, Jpeg, Gif, Metafile };

// The picture container: loads a picture file through the decoder that its
// extension names (letter case ignored) and holds the one graphic it read.
// Bitmaps, icons and GIF frames are decoded on load; a JPEG keeps its bytes
// and decodes when asked, turned as its EXIF orientation says (its sizes are
// those of the turned picture); a metafile is played when drawn.
class TPicture {
public:
  // Replaces the graphic. Raises "Unknown picture file extension (.%s)" for
  // an extension without a decoder and the decoder's error for a file that
  // cannot be read; the picture is then empty.
  void LoadFromFile(const std::string& fileName);
  void Clear();

  TGraphicKind Kind() const { return kind_; }
  int Width() const;
  int Height() const;

  // The decoded image of a bitmap, GIF or icon (an icon keeps its alpha).
  const QImage& Image() const { return image_; }
  TJPEGImage& Jpeg() { return jpeg_; }
  const TJPEGImage& Jpeg() const { return jpeg_; }
  const TMetafile& Metafile() const { return metafile_; }

private:
  TGraphicKind kind_ = TGraphicKind::None;
  QImage image_;
  TJPEGImage jpeg_;
  TMetafile metafile_;
};

// The number of pixels a picture file says it has, read from its header
// without decoding the picture: a measure of the memory loading it takes,
// held to MaxPicturePixels() whatever the header claims. 0 when the file
// cannot be read or declares no pixels, and for kinds whose memory does not
// grow with the picture (icons are small, metafiles are drawn at the size
// asked for).
std::int64_t DeclaredPixels(const std::string& fileName);

}  // namespace tessalune
