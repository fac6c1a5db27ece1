// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "ImageResize.h"
#include "Picture.h"

#include <QSize>

#include <exception>
#include <string>
#include <vector>

namespace tessalune {

// A bitmap that a load made, and whether it is the error mark: the picture
// could not be read, or not scaled to that size.
struct TIconBitmap {
  TBitmap Bitmap;
  bool ErrorMark = false;
};

// The thumbnail maker and JPEG writer: loads a picture, scales it into the
// largest size within MaxWidth x MaxHeight without enlarging it (fast
// preview or publishing quality), draws an error mark for a picture it
// cannot read, and writes the result as a progressive JPEG. Users set the
// settings before each use and copy Bitmap before the next load. It keeps
// its decode and scaling buffers from one load to the next, so that a run
// of pictures of one size reuses the same memory.
class TPicIcon {
public:
  bool Fast = false;
  int MaxHeight = 96;
  int MaxWidth = 128;
  TPicture Picture;
  TBitmap Bitmap;
  int Quality = 80;
  int PictureHeight = 0;
  int PictureWidth = 0;
  int ThumbWidth = 0;
  int ThumbHeight = 0;
  TBitmap SourceBitmap;
  // How many threads a load may use: 0 for one per core.
  unsigned Threads = 0;

  // Makes Bitmap from the file; never raises. A picture that cannot be read
  // or scaled gives the error mark and a picture size of 0 x 0.
  void LoadFromFile(const std::string& FileName);
  // Makes what LoadFromFile makes at each of the maxima in turn, each marked
  // when it is the error mark, from one read of the file: in publishing
  // quality a picture is decoded once at full scale and scaled to all of
  // them in one pass over its rows. Bitmap, the maxima and the size fields
  // are left as the last of them leaves them; without maxima, nothing is
  // made. Never raises.
  std::vector<TIconBitmap> LoadFromFile(const std::string& FileName, const std::vector<QSize>& maxima);
  // Writes Bitmap as a progressive JPEG of Quality; a bitmap without pixels
  // gives an empty file. An existing file is replaced only once the new one
  // is complete. Raises "Cannot create file %s", "JPEG error #%d", or the
  // file system's message for a write that fails part-way.
  void SaveToFile(const std::string& FileName) const;
  // The bytes SaveToFile writes. Raises "JPEG error #%d".
  std::string SaveToStream() const;
  // Lets go of the picture, the bitmaps and the memory kept for the next
  // load; the settings stay.
  void ReleaseBuffers();

  // The steps of LoadFromFile.
  void CalcThumbSize();
  void MakeThumbnail();
  void PrepareJpeg();
  void DrawErrorMark();

private:
  void MakeOrPlan(TIconBitmap& made, std::vector<TIconBitmap*>& scaled);
  TBitmap ErrorMark();
  bool ScalesFullPicture() const;
  // Resamples the full picture into every target at once; what that raised
  // for each of them.
  std::vector<std::exception_ptr> ScaleFullPicture(const std::vector<TBitmap*>& targets);
  // The picture at full scale and best quality, 24-bit, from SourceBitmap
  // when it holds that decode already.
  const TBitmap& FullPicture();
  bool HasFullPicture() const;
  // Decodes an upright JPEG alongside the resampler.
  bool DecodesWhileResampling() const;

  // SourceBitmap's cache key while it holds the full picture; 0 otherwise.
  // A bitmap's key changes whenever its pixels may have been written.
  qint64 fullPictureKey_ = 0;
  resample::TResampleBuffers resampleBuffers_;
};

}  // namespace tessalune
