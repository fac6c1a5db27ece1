// SPDX-License-Identifier: GPL-3.0-or-later
// The two passes of ResampleBitmap and the bilinear FastStretchBitmap.
//
// Both passes of the resampler run on line-contiguous data: the source is
// transposed first, so that the horizontal pass, like the vertical one, sums
// whole lines of bytes under one weight list. Each output byte still sees
// exactly the additions, in exactly the order, of the per-pixel definition.
#include "ImageResize.h"

#include "Errors.h"
#include "ParallelFor.h"
#include "ResampleLine.h"

#include <algorithm>
#include <atomic>

namespace tessalune {
namespace resample {
namespace {

std::int64_t ListWork(const std::vector<TWeightList>& lists, std::size_t lineBytes) {
  std::int64_t entries = 0;
  for (const auto& list : lists) entries += static_cast<std::int64_t>(list.size());
  return entries * static_cast<std::int64_t>(lineBytes);
}

std::vector<TSplitList> SplitLists(const std::vector<TWeightList>& lists) {
  std::vector<TSplitList> splits;
  splits.reserve(lists.size());
  for (const TWeightList& list : lists) splits.push_back(SplitAtFirstRounding(list));
  return splits;
}

// Source rows go through the horizontal pass in bands: a band is transposed
// so that each source column becomes one contiguous line, summed into one
// line per destination column, and transposed back into the intermediate
// image. A band stays in the cache while all its columns are summed. Threads
// take the bands in order, so that a source still being decoded is worked on
// as its rows arrive.
constexpr int kBand = 64;

void HorizontalPass(const std::vector<TWeightList>& lists, const TBitmap& src, const TRowProgress* ready,
                    std::uint8_t* intermediate, std::size_t rowBytes, unsigned threads) {
  const int SW = src.width(), SH = src.height(), DW = static_cast<int>(lists.size());
  const int band = std::min(kBand, SH);
  const int bands = (SH + band - 1) / band;
  const unsigned workers = ChooseThreads(threads, bands, ListWork(lists, 3 * static_cast<std::size_t>(SH)));
  const std::vector<TSplitList> splits = SplitLists(lists);
  std::atomic<int> nextBand{0};
  ParallelFor(static_cast<int>(workers), workers, [&](int, int) {
    const std::size_t bandBytes = 3 * static_cast<std::size_t>(band);
    std::vector<std::uint8_t> columns(static_cast<std::size_t>(SW) * bandBytes + kLinePadding);
    std::vector<std::uint8_t> passed(static_cast<std::size_t>(DW) * bandBytes);
    for (int b = nextBand++; b < bands; b = nextBand++) {
      const int top = b * band;
      const int rows = std::min(band, SH - top);
      if (ready && !ready->WaitFor(top + rows)) throw Exception("The picture could not be decoded");
      const std::size_t lineBytes = 3 * static_cast<std::size_t>(rows);
      TransposePixels({src.constScanLine(top), static_cast<std::size_t>(src.bytesPerLine()), SW, rows, columns.data(),
                       lineBytes});
      for (int i = 0; i < DW; ++i) {
        AccumulateLine(splits[static_cast<std::size_t>(i)], columns.data(), lineBytes,
                       passed.data() + static_cast<std::size_t>(i) * lineBytes, lineBytes);
      }
      TransposePixels({passed.data(), lineBytes, rows, DW, intermediate + static_cast<std::size_t>(top) * rowBytes,
                       rowBytes});
    }
  });
}

// The vertical pass: one line of Dst per destination row.
void VerticalPass(const std::vector<TWeightList>& lists, const std::uint8_t* intermediate, std::size_t rowBytes,
                  TBitmap& dst, unsigned threads) {
  const int DH = static_cast<int>(lists.size());
  std::uint8_t* bits = dst.bits();
  const auto stride = static_cast<std::size_t>(dst.bytesPerLine());
  const std::vector<TSplitList> splits = SplitLists(lists);
  ParallelFor(DH, ChooseThreads(threads, DH, ListWork(lists, rowBytes)), [&](int first, int last) {
    for (int i = first; i < last; ++i) {
      AccumulateLine(splits[static_cast<std::size_t>(i)], intermediate, rowBytes,
                     bits + static_cast<std::size_t>(i) * stride, rowBytes);
    }
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

void ResampleBitmapThreads(TBitmap& Src, TBitmap& Dst, TResampleKernel Kernel, unsigned threads,
                           const TRowProgress* ready) {
  const int DW = Dst.width(), DH = Dst.height(), SW = Src.width(), SH = Src.height();
  if (SW < 1 || SH < 1) return;
  const float sx = PassScale(DW, SW);
  const float sy = PassScale(DH, SH);
  if (Src.format() != kBitmapFormat) Src = ToBitmap24(Src);
  if (Dst.format() != kBitmapFormat) Dst = ToBitmap24(Dst);
  if (DW < 1 || DH < 1) return;
  CheckPictureSize(DW, SH);

  const std::size_t rowBytes = 3 * static_cast<std::size_t>(DW);
  std::vector<std::uint8_t> intermediate;
  {
    const std::vector<TWeightList> lists = BuildWeightLists(Kernel, sx, SW, DW, threads);
    intermediate.resize(static_cast<std::size_t>(SH) * rowBytes + kLinePadding);
    HorizontalPass(lists, Src, ready, intermediate.data(), rowBytes, threads);
  }
  const std::vector<TWeightList> lists = BuildWeightLists(Kernel, sy, SH, DH, threads);
  VerticalPass(lists, intermediate.data(), rowBytes, Dst, threads);
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
