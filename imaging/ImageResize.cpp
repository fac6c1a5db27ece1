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
#include <exception>

namespace tessalune {
namespace resample {

// The weight lists of one pass, for one kernel, scale and pair of sizes, and
// their split for summing.
struct TPassLists {
  TResampleKernel kernel;
  float scale;
  int size;
  int count;
  std::vector<TWeightList> lists;
  std::vector<TSplitList> splits;  // views into lists
};

struct TResampleBuffers::TKept {
  std::vector<std::shared_ptr<const TPassLists>> passes;  // the most recent last
  std::vector<std::vector<std::uint8_t>> intermediates;    // one per destination
  std::vector<std::vector<std::uint8_t>> bands;            // one per thread
};

TResampleBuffers::TResampleBuffers() : kept_(std::make_unique<TKept>()) {}
TResampleBuffers::~TResampleBuffers() = default;
void TResampleBuffers::Clear() { *kept_ = TKept(); }

namespace {

// Both passes of two pictures: their lists stay while pictures of those
// sizes come one after another.
constexpr std::size_t kKeptPasses = 4;

std::int64_t ListWork(const TPassLists& pass, std::size_t lineBytes) {
  std::int64_t entries = 0;
  for (const auto& list : pass.lists) entries += static_cast<std::int64_t>(list.size());
  return entries * static_cast<std::int64_t>(lineBytes);
}

// The lists of a pass, from those kept when they were built before.
std::shared_ptr<const TPassLists> PassLists(TResampleBuffers::TKept& kept, TResampleKernel kernel, float scale,
                                            int size, int count, unsigned threads) {
  for (const auto& pass : kept.passes) {
    if (pass->kernel == kernel && pass->scale == scale && pass->size == size && pass->count == count) return pass;
  }
  auto pass = std::make_shared<TPassLists>(
      TPassLists{kernel, scale, size, count, BuildWeightLists(kernel, scale, size, count, threads), {}});
  pass->splits.reserve(pass->lists.size());
  for (const TWeightList& list : pass->lists) pass->splits.push_back(SplitAtFirstRounding(list));
  if (kept.passes.size() == kKeptPasses) kept.passes.erase(kept.passes.begin());
  kept.passes.push_back(pass);
  return pass;
}

// At least size bytes of a kept buffer; what they hold is left as it was.
std::uint8_t* Room(std::vector<std::uint8_t>& buffer, std::size_t size) {
  if (buffer.size() < size) buffer.resize(size);
  return buffer.data();
}

// One destination of a call: its lists and the intermediate image between
// its passes, or what a call of its own would have raised.
struct TTarget {
  TBitmap* dst;
  std::shared_ptr<const TPassLists> columns;
  std::uint8_t* intermediate = nullptr;
  std::size_t rowBytes = 0;
  std::exception_ptr error;
};

// Source rows go through the horizontal pass in bands: a band is transposed
// so that each source column becomes one contiguous line, summed into one
// line per destination column of every target, and transposed back into the
// targets' intermediate images. A band stays in the cache while all its
// columns are summed. Threads take the bands in order, so that a source
// still being decoded is worked on as its rows arrive.
constexpr int kBand = 64;

void HorizontalPass(const std::vector<TTarget*>& targets, const TBitmap& src, const TRowProgress* ready,
                    unsigned threads, TResampleBuffers::TKept& kept) {
  const int SW = src.width(), SH = src.height();
  const int band = std::min(kBand, SH);
  const int bands = (SH + band - 1) / band;
  std::int64_t work = 0;
  int widest = 0;
  for (const TTarget* target : targets) {
    work += ListWork(*target->columns, 3 * static_cast<std::size_t>(SH));
    widest = std::max(widest, target->columns->count);
  }
  const unsigned workers = ChooseThreads(threads, bands, work);
  const std::size_t bandBytes = 3 * static_cast<std::size_t>(band);
  const std::size_t columnsBytes = static_cast<std::size_t>(SW) * bandBytes + kLinePadding;
  if (kept.bands.size() < workers) kept.bands.resize(workers);
  std::atomic<int> nextBand{0};
  ParallelFor(static_cast<int>(workers), workers, [&](int slot, int) {
    std::uint8_t* columns = Room(kept.bands[static_cast<std::size_t>(slot)],
                                 columnsBytes + static_cast<std::size_t>(widest) * bandBytes);
    std::uint8_t* passed = columns + columnsBytes;
    for (int b = nextBand++; b < bands; b = nextBand++) {
      const int top = b * band;
      const int rows = std::min(band, SH - top);
      if (ready && !ready->WaitFor(top + rows)) throw Exception("The picture could not be decoded");
      const std::size_t lineBytes = 3 * static_cast<std::size_t>(rows);
      TransposePixels({src.constScanLine(top), static_cast<std::size_t>(src.bytesPerLine()), SW, rows, columns,
                       lineBytes});
      for (const TTarget* target : targets) {
        const int DW = target->columns->count;
        for (int i = 0; i < DW; ++i) {
          AccumulateLine(target->columns->splits[static_cast<std::size_t>(i)], columns, lineBytes,
                         passed + static_cast<std::size_t>(i) * lineBytes, lineBytes);
        }
        TransposePixels({passed, lineBytes, rows, DW,
                         target->intermediate + static_cast<std::size_t>(top) * target->rowBytes, target->rowBytes});
      }
    }
  });
}

// The vertical pass: one line of Dst per destination row.
void VerticalPass(const TPassLists& pass, const std::uint8_t* intermediate, std::size_t rowBytes, TBitmap& dst,
                  unsigned threads) {
  const int DH = pass.count;
  std::uint8_t* bits = dst.bits();
  const auto stride = static_cast<std::size_t>(dst.bytesPerLine());
  ParallelFor(DH, ChooseThreads(threads, DH, ListWork(pass, rowBytes)), [&](int first, int last) {
    for (int i = first; i < last; ++i) {
      AccumulateLine(pass.splits[static_cast<std::size_t>(i)], intermediate, rowBytes,
                     bits + static_cast<std::size_t>(i) * stride, rowBytes);
    }
  });
}

// Readies a destination for the horizontal pass: false when there is nothing
// to compute for it or a call of its own would raise here.
bool Prepare(TTarget& target, const TBitmap& src, TResampleKernel kernel, unsigned threads,
             TResampleBuffers::TKept& kept, std::size_t index) {
  TBitmap& dst = *target.dst;
  try {
    if (dst.format() != kBitmapFormat) dst = ToBitmap24(dst);
    const int DW = dst.width(), SH = src.height();
    if (DW < 1 || dst.height() < 1) return false;
    CheckPictureSize(DW, SH);
    target.columns = PassLists(kept, kernel, PassScale(DW, src.width()), src.width(), DW, threads);
    target.rowBytes = 3 * static_cast<std::size_t>(DW);
    target.intermediate = Room(kept.intermediates[index], static_cast<std::size_t>(SH) * target.rowBytes + kLinePadding);
    return true;
  } catch (...) {
    target.error = std::current_exception();
    return false;
  }
}

void FinishVertically(TTarget& target, int SH, TResampleKernel kernel, unsigned threads,
                      TResampleBuffers::TKept& kept) {
  try {
    const int DH = target.dst->height();
    const auto rows = PassLists(kept, kernel, PassScale(DH, SH), SH, DH, threads);
    VerticalPass(*rows, target.intermediate, target.rowBytes, *target.dst, threads);
  } catch (...) {
    target.error = std::current_exception();
  }
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

std::vector<std::exception_ptr> ResampleEachThreads(TBitmap& Src, const std::vector<TBitmap*>& Dsts,
                                                    TResampleKernel Kernel, unsigned threads,
                                                    const TRowProgress* ready, TResampleBuffers* buffers) {
  std::vector<TTarget> targets;
  for (TBitmap* dst : Dsts) targets.push_back({dst, nullptr, nullptr, 0, nullptr});
  if (Src.width() < 1 || Src.height() < 1) return std::vector<std::exception_ptr>(Dsts.size());
  if (Src.format() != kBitmapFormat) Src = ToBitmap24(Src);
  TResampleBuffers ownBuffers;
  TResampleBuffers::TKept& kept = (buffers ? *buffers : ownBuffers).Kept();
  if (kept.intermediates.size() < targets.size()) kept.intermediates.resize(targets.size());
  std::vector<TTarget*> live;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (Prepare(targets[i], Src, Kernel, threads, kept, i)) live.push_back(&targets[i]);
  }
  if (!live.empty()) HorizontalPass(live, Src, ready, threads, kept);
  for (TTarget* target : live) FinishVertically(*target, Src.height(), Kernel, threads, kept);
  std::vector<std::exception_ptr> errors;
  for (const TTarget& target : targets) errors.push_back(target.error);
  return errors;
}

void ResampleBitmapThreads(TBitmap& Src, TBitmap& Dst, TResampleKernel Kernel, unsigned threads,
                           const TRowProgress* ready, TResampleBuffers* buffers) {
  const auto errors = ResampleEachThreads(Src, {&Dst}, Kernel, threads, ready, buffers);
  if (errors.front()) std::rethrow_exception(errors.front());
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
