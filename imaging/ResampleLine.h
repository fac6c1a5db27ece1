// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageResize.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessalune::resample {

// Bytes that must be readable past the end of the last source line.
constexpr std::size_t kLinePadding = 16;

// A weight list cut in two for summing: the leading entries, over which
// every sum fits 64 bits exactly whatever the bytes, and the rest.
struct TSplitList {
  std::span<const TSampleWeight> entries;
  std::size_t exactCount;

  std::span<const TSampleWeight> exact() const { return entries.first(exactCount); }
  std::span<const TSampleWeight> rest() const { return entries.subspan(exactCount); }
};

// The split of list, which must outlive it.
TSplitList SplitAtFirstRounding(const TWeightList& list);

// One output line of a resampling pass: byte k is the clamped weighted sum of
// byte k of the source lines (base + index * stride) that the list names,
// added in list order with the sum rounded to float after every addition, as
// if each addition were carried out in long double.
void AccumulateLine(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                    std::uint8_t* out, std::size_t count);

// A width x height image of 3-byte pixels at src, and the place its
// transposition goes: width lines of height pixels at dst.
struct TPixelBlock {
  const std::uint8_t* src;
  std::size_t srcStride;
  int width;
  int height;
  std::uint8_t* dst;
  std::size_t dstStride;
};

// Copies the block so that line x at dst holds column x of src from top to
// bottom. Touches no byte outside the two images.
void TransposePixels(const TPixelBlock& block);

// The instruction sets the resampler's inner loops can use. Every one gives
// the same bytes; the widest the processor has is used unless another one is
// chosen.
enum class TInstructionSet { Plain, Avx2, Avx512 };

// The instruction sets this processor can run, plainest first.
std::vector<TInstructionSet> AvailableInstructionSets();

// Makes every later AccumulateLine and TransposePixels, on any thread, use
// set, so that tests and benchmarks can compare them. Raises
// std::invalid_argument when the processor lacks it.
void UseInstructionSet(TInstructionSet set);

}  // namespace tessalune::resample
