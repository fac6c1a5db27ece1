// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "RowProgress.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

namespace tessalune {

enum TResampleKernel { rkLanczos3 = 0, rkHermite = 1, rkBSpline = 2 };

// Separable filtered resampling: all rows horizontally into an intermediate
// image, then all columns vertically. Converts Src to 24 bits in place, gives
// Dst the same format and fills Dst at the size it already has. A source
// side below 1 changes neither bitmap; a destination side below 1 returns
// after the conversion, with nothing to compute. Raises
// EMathError "Floating point division by zero" when a destination side of 1
// meets a longer source side.
void ResampleBitmap(TBitmap& Src, TBitmap& Dst, TResampleKernel Kernel);

// Bilinear stretch of a 24-bit Src into Dst at Dst's size, in 16.16 fixed
// point. Raises EMathError "Division by zero" when Dst has a side of 0.
void FastStretchBitmap(const TBitmap& Src, TBitmap& Dst);

// The parts of the two routines, for their tests and the benchmarks.
namespace resample {

// One source pixel of a destination column or row and its weight (never 0).
struct TSampleWeight {
  std::int32_t index;
  float weight;
};
using TWeightList = std::vector<TSampleWeight>;

float NormalizedSinc(float y);
float LanczosKernel(float x);
float HermiteKernel(float x);
float BSplineKernel(float x);

// The scale of one pass: DstSize / SrcSize for a source of 1 pixel, else
// (DstSize - 1) / (SrcSize - 1).
float PassScale(int dstSize, int srcSize);

// The weight list of every destination position 0 .. count - 1 of a pass
// with the given scale over a source of size pixels, built on up to the given
// number of threads (0: one per core).
std::vector<TWeightList> BuildWeightLists(TResampleKernel kernel, float scale, int size, int count,
                                          unsigned threads = 1);

// A channel sum as a byte: 255 from 255 on, 0 below 0, else truncated.
inline std::uint8_t ClampToByte(double v) {
  if (v >= 255.0) return 255;
  if (!(v >= 0.0)) return 0;
  return static_cast<std::uint8_t>(v);
}

// Blends the pixels c1 and c2 (3 bytes each) with the weight w of c1, 0..255.
void BlendPixel(const std::uint8_t* c1, const std::uint8_t* c2, int w, std::uint8_t* out);

// What the resampler keeps from one call to the next: its working memory and
// the weight lists of the last few passes. A run of pictures of one size
// then neither faults in fresh pages nor computes the same kernel values
// again for each. One object serves one call at a time.
class TResampleBuffers {
public:
  TResampleBuffers();
  ~TResampleBuffers();
  TResampleBuffers(const TResampleBuffers&) = delete;
  TResampleBuffers& operator=(const TResampleBuffers&) = delete;

  // Lets go of everything kept.
  void Clear();

  struct TKept;
  TKept& Kept() { return *kept_; }

private:
  std::unique_ptr<TKept> kept_;
};

// ResampleBitmap with the passes split over the given number of threads
// (0: one per core). The result does not depend on the number of threads.
// With ready, Src is being filled on another thread and each band of rows is
// read once ready reports it complete; a failed fill raises an Exception.
// Src must then be 24-bit already and must not be detached meanwhile. With
// buffers, the call works in their memory and keeps its weight lists there.
void ResampleBitmapThreads(TBitmap& Src, TBitmap& Dst, TResampleKernel Kernel, unsigned threads,
                           const TRowProgress* ready = nullptr, TResampleBuffers* buffers = nullptr);

// ResampleBitmapThreads into each of Dsts at once: the source is read, and
// its rows transposed, once for all of them. Each destination gets what a
// call of its own gives it; the result holds, in the destinations' order,
// what such a call would have raised (null where nothing). A source being
// filled that fails raises here.
std::vector<std::exception_ptr> ResampleEachThreads(TBitmap& Src, const std::vector<TBitmap*>& Dsts,
                                                    TResampleKernel Kernel, unsigned threads,
                                                    const TRowProgress* ready = nullptr,
                                                    TResampleBuffers* buffers = nullptr);

}  // namespace resample
}  // namespace tessalune
