// SPDX-License-Identifier: GPL-3.0-or-later
// The two passes of ResampleBitmap and the bilinear FastStretchBitmap.
//
// Both passes of the resampler run on line-contiguous data: the source is
// transposed first, so that the horizontal pass, like the vertical one, sums
// whole lines of bytes under one weight list. Each output byte still sees
// exactly the additions, in exactly the order, of the per-pixel definition.
#include "ImageResize.h"

#include "Errors.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace tessalune {
namespace resample {
namespace {

// Work below this many weighted additions is not worth a thread.
constexpr std::int64_t kWorkPerThread = std::int64_t{1} << 18;

unsigned ChooseThreads(unsigned requested, int count, std::int64_t work) {
  unsigned threads = requested ? requested : std::max(1u, std::thread::hardware_concurrency());
  threads = static_cast<unsigned>(std::min<std::int64_t>(threads, count));
  return static_cast<unsigned>(std::max<std::int64_t>(1, std::min<std::int64_t>(threads, work / kWorkPerThread + 1)));
}

// Runs fn(begin, end) over consecutive slices of 0 .. count - 1.
template <class Fn>
void ParallelFor(int count, unsigned threads, const Fn& fn) {
  if (threads <= 1) {
    fn(0, count);
    return;
  }
  const int chunk = static_cast<int>((count + threads - 1) / threads);
  std::vector<std::thread> pool;
  try {
    for (int begin = chunk; begin < count; begin += chunk) {
      pool.emplace_back(fn, begin, std::min(count, begin + chunk));
    }
  } catch (...) {
    for (auto& thread : pool) thread.join();
    throw;
  }
  fn(0, std::min(count, chunk));
  for (auto& thread : pool) thread.join();
}

// Copies columns [first, last) of a width x height image of 3-byte pixels
// into rows of dst, so that dst row x holds source column x top to bottom.
void TransposeColumns(const std::uint8_t* src, std::size_t srcStride, int height,
                      std::uint8_t* dst, std::size_t dstStride, int first, int last) {
  constexpr int kTile = 32;
  for (int x0 = first; x0 < last; x0 += kTile) {
    const int x1 = std::min(last, x0 + kTile);
    for (int y0 = 0; y0 < height; y0 += kTile) {
      const int y1 = std::min(height, y0 + kTile);
      for (int x = x0; x < x1; ++x) {
        std::uint8_t* out = dst + static_cast<std::size_t>(x) * dstStride;
        for (int y = y0; y < y1; ++y) {
          std::memcpy(out + 3 * static_cast<std::size_t>(y),
                      src + static_cast<std::size_t>(y) * srcStride + 3 * static_cast<std::size_t>(x), 3);
        }
      }
    }
  }
}

// The double-precision sum equals the rounded long double sum except when it
// lands exactly halfway between two floats: only then can the two roundings
// part. The low 29 of the 52 fraction bits of such a double are 1 followed by
// zeros. (Sums are never small enough to be denormal floats: the smallest
// weight is far above that.)
constexpr std::uint64_t kBelowFloatMask = (std::uint64_t{1} << 29) - 1;
constexpr std::uint64_t kFloatHalfway = std::uint64_t{1} << 28;

// acc[k] += src[k] * weight, rounded to float after the addition. Answers
// whether any addition needs the exact recomputation.
bool AddWeighted(float* acc, const std::uint8_t* src, float weight, std::size_t n) {
  const double w = weight;
  std::uint64_t halfway = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const double d = static_cast<double>(acc[k]) + static_cast<double>(src[k]) * w;
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    halfway |= static_cast<std::uint64_t>((bits & kBelowFloatMask) == kFloatHalfway);
    acc[k] = static_cast<float>(d);
  }
  return halfway != 0;
}

void AddWeightedExact(float* acc, const std::uint8_t* src, float weight, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k) {
    acc[k] = static_cast<float>(static_cast<long double>(acc[k]) +
                                static_cast<long double>(src[k]) * weight);
  }
}

// One output line: byte k is the clamped weighted sum of byte k of the
// source lines that the list names, added in list order.
void AccumulateLine(const TWeightList& list, const std::uint8_t* base, std::size_t stride,
                    std::uint8_t* out, std::size_t count) {
  constexpr std::size_t kBlock = 480;
  float acc[kBlock];
  for (std::size_t start = 0; start < count; start += kBlock) {
    const std::size_t n = std::min(kBlock, count - start);
    std::fill_n(acc, n, 0.0f);
    bool exact = false;
    for (const TSampleWeight& entry : list) {
      exact |= AddWeighted(acc, base + static_cast<std::size_t>(entry.index) * stride + start, entry.weight, n);
    }
    if (exact) {
      std::fill_n(acc, n, 0.0f);
      for (const TSampleWeight& entry : list) {
        AddWeightedExact(acc, base + static_cast<std::size_t>(entry.index) * stride + start, entry.weight, n);
      }
    }
    for (std::size_t k = 0; k < n; ++k) out[start + k] = ClampToByte(acc[k]);
  }
}

std::int64_t ListWork(const std::vector<TWeightList>& lists, std::size_t lineBytes) {
  std::int64_t entries = 0;
  for (const auto& list : lists) entries += static_cast<std::int64_t>(list.size());
  return entries * static_cast<std::int64_t>(lineBytes);
}

// Fills count lines of out (one per list) from the lines of base.
void RunPass(const std::vector<TWeightList>& lists, const std::uint8_t* base, std::size_t baseStride,
             std::uint8_t* out, std::size_t outStride, std::size_t lineBytes, unsigned threads) {
  const int count = static_cast<int>(lists.size());
  ParallelFor(count, ChooseThreads(threads, count, ListWork(lists, lineBytes)), [&](int begin, int end) {
    for (int i = begin; i < end; ++i) {
      AccumulateLine(lists[static_cast<std::size_t>(i)], base, baseStride,
                     out + static_cast<std::size_t>(i) * outStride, lineBytes);
    }
  });
}

void Transpose(const std::uint8_t* src, std::size_t srcStride, int width, int height,
               std::uint8_t* dst, std::size_t dstStride, unsigned threads) {
  const std::int64_t work = std::int64_t{width} * height;
  ParallelFor(width, ChooseThreads(threads, width, work), [&](int first, int last) {
    TransposeColumns(src, srcStride, height, dst, dstStride, first, last);
  });
}

}  // namespace

void BlendPixel(const std::uint8_t* c1, const std::uint8_t* c2, int w, std::uint8_t* out) {
  for (int channel = 0; channel < 3; ++channel) {
    if (w == 0) {
      out[channel] = c2[channel];
    } else if (w == 255) {
      out[channel] = c1[channel];
    } else {
      out[channel] = static_cast<std::uint8_t>((((255 - w) * c2[channel]) >> 8) + ((w * c1[channel]) >> 8));
    }
  }
}

void ResampleBitmapThreads(TBitmap& Src, TBitmap& Dst, TResampleKernel Kernel, unsigned threads) {
  const int DW = Dst.width(), DH = Dst.height(), SW = Src.width(), SH = Src.height();
  if (SW < 1 || SH < 1) return;
  const float sx = PassScale(DW, SW);
  const float sy = PassScale(DH, SH);
  Src = ToBitmap24(Src);
  if (Dst.format() != kBitmapFormat) Dst = ToBitmap24(Dst);
  if (DW < 1 || DH < 1) return;
  CheckPictureSize(DW, SH);

  const std::size_t columnBytes = 3 * static_cast<std::size_t>(SH);
  const std::size_t rowBytes = 3 * static_cast<std::size_t>(DW);
  std::vector<std::uint8_t> intermediate;
  {
    const std::vector<TWeightList> lists = BuildWeightLists(Kernel, sx, SW, DW);
    std::vector<std::uint8_t> columns(static_cast<std::size_t>(SW) * columnBytes);
    Transpose(Src.constBits(), static_cast<std::size_t>(Src.bytesPerLine()), SW, SH, columns.data(),
              columnBytes, threads);
    std::vector<std::uint8_t> passed(static_cast<std::size_t>(DW) * columnBytes);
    RunPass(lists, columns.data(), columnBytes, passed.data(), columnBytes, columnBytes, threads);
    columns = {};
    intermediate.resize(static_cast<std::size_t>(SH) * rowBytes);
    Transpose(passed.data(), columnBytes, SH, DW, intermediate.data(), rowBytes, threads);
  }
  const std::vector<TWeightList> lists = BuildWeightLists(Kernel, sy, SH, DH);
  RunPass(lists, intermediate.data(), rowBytes, Dst.bits(), static_cast<std::size_t>(Dst.bytesPerLine()),
          rowBytes, threads);
}

}  // namespace resample

void ResampleBitmap(TBitmap& Src, TBitmap& Dst, TResampleKernel Kernel) {
  resample::ResampleBitmapThreads(Src, Dst, Kernel, 0);
}

void FastStretchBitmap(const TBitmap& Src, TBitmap& Dst) {
  const int DW = Dst.width(), DH = Dst.height(), SW = Src.width(), SH = Src.height();
  if (DW == 0 || DH == 0) throw EMathError("Division by zero");
  if (SW < 1 || SH < 1) return;
  const TBitmap source = ToBitmap24(Src);
  if (Dst.format() != kBitmapFormat) Dst = ToBitmap24(Dst);
  // 64-bit positions: the same values as 16.16 in 32 bits wherever those do
  // not overflow, and correct for sources above 32768 pixels too.
  const std::int64_t xstep = (std::int64_t{SW - 1} * 65536) / DW;
  const std::int64_t ystep = (std::int64_t{SH - 1} * 65536) / DH;
  std::int64_t ypos = 0;
  for (int y = 0; y < DH; ++y) {
    const auto yi = static_cast<int>(ypos >> 16);
    const std::uint8_t* upper = source.constScanLine(yi);
    const std::uint8_t* lower = yi < SH - 1 ? source.constScanLine(yi + 1) : upper;
    const int wy = 255 - static_cast<int>((ypos >> 8) & 255);
    std::uint8_t* out = Dst.scanLine(y);
    std::int64_t xpos = 0;
    for (int x = 0; x < DW; ++x) {
      const auto xi = static_cast<int>(xpos >> 16);
      // Only a source one column wide has no column xi + 1; then wx is 255
      // and b does not count.
      const int xn = std::min(xi + 1, SW - 1);
      const int wx = 255 - static_cast<int>((xpos >> 8) & 255);
      std::uint8_t a[3], b[3];
      resample::BlendPixel(upper + 3 * xi, lower + 3 * xi, wy, a);
      resample::BlendPixel(upper + 3 * xn, lower + 3 * xn, wy, b);
      resample::BlendPixel(a, b, wx, out + 3 * x);
      xpos += xstep;
    }
    ypos += ystep;
  }
}

}  // namespace tessalune
