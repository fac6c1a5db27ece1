// SPDX-License-Identifier: GPL-3.0-or-later
#include "PicIcon.h"

#include "Errors.h"
#include "FileLib.h"
#include "ImageResize.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <thread>

namespace tessalune {
namespace {

constexpr int kErrorMarkSize = 30;

// Pixels whose centre lies within 1.5 of the segment: a round-capped line
// 3 pixels wide.
bool OnWideLine(int x, int y, int x0, int y0, int x1, int y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  const double ex = x0 + t * dx - x, ey = y0 + t * dy - y;
  return ex * ex + ey * ey <= 1.5 * 1.5;
}

void SetPixel(TBitmap& bitmap, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::uint8_t* pixel = bitmap.scanLine(y) + 3 * x;
  pixel[0] = r;
  pixel[1] = g;
  pixel[2] = b;
}

// Metafiles are drawn stretched on white into a bitmap one pixel narrower
// and lower than the thumb size.
TBitmap DrawMetafile(const TMetafile& metafile, int thumbWidth, int thumbHeight) {
  TBitmap bitmap = NewBitmap(std::max(thumbWidth - 1, 0), std::max(thumbHeight - 1, 0));
  if (bitmap.isNull()) return bitmap;
  QPainter painter(&bitmap);
  metafile.Draw(painter, QRectF(0, 0, thumbWidth - 1, thumbHeight - 1));
  return bitmap;
}

// Icons are drawn stretched over white with their transparency.
TBitmap DrawIcon(const QImage& icon, int thumbWidth, int thumbHeight) {
  TBitmap bitmap = NewBitmap(thumbWidth, thumbHeight);
  if (bitmap.isNull()) return bitmap;
  QPainter painter(&bitmap);
  painter.drawImage(QRectF(0, 0, thumbWidth, thumbHeight), icon);
  return bitmap;
}

// Publishing decodes the full-size JPEG on a thread of its own while the
// resampler works through the rows already decoded, on threads - 1 more:
// the bytes are those of decoding first and resampling after, in less time.
std::vector<std::exception_ptr> DecodeWhileResampling(const TJPEGImage& jpeg, TBitmap& source,
                                                      const std::vector<TBitmap*>& targets, unsigned threads,
                                                      resample::TResampleBuffers& buffers) {
  ReuseBitmap(source, jpeg.ScaledWidth(), jpeg.ScaledHeight());
  const TPixelRows rows = PixelRows(source);
  TRowProgress progress;
  std::exception_ptr decodeError;
  std::thread decoder([&jpeg, &rows, &progress, &decodeError] {
    try {
      jpeg.DecodeInto(rows, &progress);
    } catch (...) {
      decodeError = std::current_exception();
      progress.Fail();
    }
  });
  std::vector<std::exception_ptr> errors;
  std::exception_ptr resampleError;
  try {
    errors = resample::ResampleEachThreads(source, targets, rkLanczos3, threads - 1, &progress, &buffers);
  } catch (...) {
    resampleError = std::current_exception();
  }
  decoder.join();
  if (decodeError) std::rethrow_exception(decodeError);
  if (resampleError) std::rethrow_exception(resampleError);
  return errors;
}

// The threads a load may use: the decoder is the slower side and keeps a
// core of its own when it runs alongside the resampler.
unsigned LoadThreads(unsigned requested) {
  return requested ? requested : std::max(2u, std::thread::hardware_concurrency());
}

}  // namespace

void TPicIcon::LoadFromFile(const std::string& FileName) { LoadFromFile(FileName, {QSize(MaxWidth, MaxHeight)}); }

std::vector<TIconBitmap> TPicIcon::LoadFromFile(const std::string& FileName, const std::vector<QSize>& maxima) {
  Bitmap = TBitmap();
  fullPictureKey_ = 0;
  try {
    Picture.LoadFromFile(FileName);
  } catch (...) {
    // An empty picture gives the error mark below.
    Picture.Clear();
  }
  std::vector<TIconBitmap> made(maxima.size());
  if (made.empty()) return made;
  std::vector<TIconBitmap*> scaled;  // made from the full picture, all in one pass
  for (std::size_t i = 0; i < maxima.size(); ++i) {
    MaxWidth = maxima[i].width();
    MaxHeight = maxima[i].height();
    MakeOrPlan(made[i], scaled);
  }
  std::vector<TBitmap*> targets;
  for (TIconBitmap* target : scaled) targets.push_back(&target->Bitmap);
  const std::vector<std::exception_ptr> errors = ScaleFullPicture(targets);
  for (std::size_t k = 0; k < scaled.size(); ++k) {
    if (errors[k]) *scaled[k] = {ErrorMark(), true};
  }
  Bitmap = made.back().Bitmap;
  PictureWidth = made.back().ErrorMark ? 0 : Picture.Width();
  PictureHeight = made.back().ErrorMark ? 0 : Picture.Height();
  return made;
}

// Makes the bitmap at the current maxima, or only a blank of its size where
// the full picture is to be scaled into it; the error mark when neither can
// be had.
void TPicIcon::MakeOrPlan(TIconBitmap& made, std::vector<TIconBitmap*>& scaled) {
  Bitmap = TBitmap();
  try {
    PictureWidth = Picture.Width();
    PictureHeight = Picture.Height();
    CalcThumbSize();
    const bool scales = ScalesFullPicture();
    if (scales) {
      made.Bitmap = NewBitmap(ThumbWidth, ThumbHeight);
    } else {
      MakeThumbnail();
      made.Bitmap = Bitmap;
    }
    // A thumb side truncated to 0 leaves nothing to show: that is a picture
    // that could not be scaled, not an empty success.
    if (made.Bitmap.isNull()) throw Exception("Picture too small to scale");
    if (scales) scaled.push_back(&made);
  } catch (...) {
    made = {ErrorMark(), true};
  }
}

TBitmap TPicIcon::ErrorMark() {
  Bitmap = TBitmap();
  DrawErrorMark();
  return Bitmap;
}

void TPicIcon::CalcThumbSize() {
  const int W = Picture.Width();
  const int H = Picture.Height();
  if (W == 0 || H == 0) throw EMathError("Floating point division by zero");
  const long double fx = static_cast<long double>(MaxWidth) / W;
  const long double fy = static_cast<long double>(MaxHeight) / H;
  long double factor = fx < fy ? fx : fy;
  if (factor > 1.0L) factor = 1.0L;
  ThumbWidth = static_cast<int>(std::trunc(W * factor));
  ThumbHeight = static_cast<int>(std::trunc(H * factor));
}

// A thumbnail made without the resampler: a metafile or an icon drawn at its
// size, a picture that has that size already, or the fast stretch.
// Publishing quality scales every other picture in ScaleFullPicture.
void TPicIcon::MakeThumbnail() {
  switch (Picture.Kind()) {
    case TGraphicKind::Metafile:
      Bitmap = DrawMetafile(Picture.Metafile(), ThumbWidth, ThumbHeight);
      return;
    case TGraphicKind::Icon:
      Bitmap = DrawIcon(Picture.Image(), ThumbWidth, ThumbHeight);
      return;
    case TGraphicKind::None: throw Exception("No picture loaded");
    default: break;
  }
  if (Picture.Width() == ThumbWidth && Picture.Height() == ThumbHeight) {
    Bitmap = FullPicture();
    return;
  }
  if (Picture.Kind() == TGraphicKind::Jpeg) {
    PrepareJpeg();
  } else {
    SourceBitmap = ToBitmap24(Picture.Image());
  }
  Bitmap = TBitmap();
  Bitmap = NewBitmap(ThumbWidth, ThumbHeight);
  FastStretchBitmap(SourceBitmap, Bitmap);
}

void TPicIcon::PrepareJpeg() {
  TJPEGImage& jpeg = Picture.Jpeg();
  jpeg.Performance = jpBestQuality;
  jpeg.Scale = jsFullSize;
  if (Fast) {
    jpeg.Performance = jpBestSpeed;
    const std::int64_t widthLimit = 2 * std::int64_t{MaxWidth};
    const std::int64_t heightLimit = 2 * std::int64_t{MaxHeight};
    for (TJPEGScale scale : {jsHalf, jsQuarter, jsEighth}) {
      if (jpeg.ScaledWidth() > widthLimit || jpeg.ScaledHeight() > heightLimit) jpeg.Scale = scale;
    }
    SourceBitmap = jpeg.Decode();
  }
}

// The stored rows of a turned picture are not the rows shown, so it is
// decoded and turned whole before the resampler starts; so is a picture
// decoded already, and every picture on a single thread.
bool TPicIcon::DecodesWhileResampling() const {
  return Picture.Kind() == TGraphicKind::Jpeg && !HasFullPicture() &&
         Picture.Jpeg().Orientation() == kUpright && LoadThreads(Threads) > 1;
}

// Publishing quality scales a bitmap, JPEG or GIF picture that does not fit
// already from its decode at full scale.
bool TPicIcon::ScalesFullPicture() const {
  const TGraphicKind kind = Picture.Kind();
  const bool decoded = kind == TGraphicKind::Jpeg || kind == TGraphicKind::Bitmap || kind == TGraphicKind::Gif;
  return !Fast && decoded && (Picture.Width() != ThumbWidth || Picture.Height() != ThumbHeight);
}

std::vector<std::exception_ptr> TPicIcon::ScaleFullPicture(const std::vector<TBitmap*>& targets) {
  if (targets.empty()) return {};
  try {
    if (Picture.Kind() == TGraphicKind::Jpeg) PrepareJpeg();
    if (DecodesWhileResampling()) {
      auto errors = DecodeWhileResampling(Picture.Jpeg(), SourceBitmap, targets, LoadThreads(Threads),
                                          resampleBuffers_);
      fullPictureKey_ = SourceBitmap.cacheKey();
      return errors;
    }
    FullPicture();
    return resample::ResampleEachThreads(SourceBitmap, targets, rkLanczos3, Threads, nullptr, &resampleBuffers_);
  } catch (...) {
    // The picture could not be decoded: nothing can be made of it.
    return std::vector<std::exception_ptr>(targets.size(), std::current_exception());
  }
}

bool TPicIcon::HasFullPicture() const {
  return fullPictureKey_ != 0 && SourceBitmap.cacheKey() == fullPictureKey_;
}

const TBitmap& TPicIcon::FullPicture() {
  if (HasFullPicture()) return SourceBitmap;
  fullPictureKey_ = 0;
  if (Picture.Kind() == TGraphicKind::Jpeg) {
    TJPEGImage& jpeg = Picture.Jpeg();
    jpeg.Scale = jsFullSize;
    jpeg.Performance = jpBestQuality;
    jpeg.DecodeTo(SourceBitmap, Threads);
  } else {
    SourceBitmap = ToBitmap24(Picture.Image());
  }
  fullPictureKey_ = SourceBitmap.cacheKey();
  return SourceBitmap;
}

void TPicIcon::DrawErrorMark() {
  Bitmap = NewBitmap(kErrorMarkSize, kErrorMarkSize);
  for (int y = 0; y < kErrorMarkSize; ++y) {
    for (int x = 0; x < kErrorMarkSize; ++x) {
      if (x == 0 || y == 0 || x == kErrorMarkSize - 1 || y == kErrorMarkSize - 1) {
        SetPixel(Bitmap, x, y, 0, 0, 0);
      } else if (OnWideLine(x, y, 10, 10, 20, 20) || OnWideLine(x, y, 20, 10, 10, 20)) {
        SetPixel(Bitmap, x, y, 255, 0, 0);
      }
    }
  }
}

void TPicIcon::SaveToFile(const std::string& FileName) const { WriteFileBytes(FileName, SaveToStream()); }

void TPicIcon::ReleaseBuffers() {
  Picture.Clear();
  Bitmap = TBitmap();
  SourceBitmap = TBitmap();
  fullPictureKey_ = 0;
  resampleBuffers_.Clear();
}

std::string TPicIcon::SaveToStream() const {
  const bool empty = Bitmap.width() == 0 || Bitmap.height() == 0;
  return empty ? std::string() : EncodeProgressiveJpeg(Bitmap, static_cast<std::uint8_t>(Quality));
}

}  // namespace tessalune
