// SPDX-License-Identifier: GPL-3.0-or-later
// The kernels behind AccumulateLine, one per instruction set.
//
// Exactness: each addition a + p (a a float sum, p = byte * weight, exact in
// 32 bits) must give the float that long double arithmetic gives: the exact
// sum rounded to 64 bits and then to float. Two ways get there:
// - While every sum of a list is known to fit 64 bits (see TSplitList), long
//   double rounds only once, from the exact sum to float, and so does a fused
//   multiply-add in float.
// - Otherwise the addition is done in double and rounded to float. That float
//   is the long double one unless the double sum was itself rounded and landed
//   exactly halfway between two floats (a long double sum that lands there
//   makes the double sum land there too). A kernel reports the lanes where
//   this happened, and those lanes are summed again in long double.
#pragma once

#include "ImageResize.h"
#include "ResampleLine.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessalune::resample {

// A double halfway between two floats has 1 followed by 28 zeros in the low
// 29 bits of its fraction. (Sums are never as small as denormal floats: the
// smallest weight is far above that.)
constexpr std::int64_t kBelowFloatMask = (std::int64_t{1} << 29) - 1;
constexpr std::int64_t kFloatHalfway = std::int64_t{1} << 28;

// The most lanes (bytes of a line) one kernel call sums: one bit each in the
// hazard mask.
constexpr std::size_t kChunkLanes = 64;

// Sums byte k of the lines that list names (base + index * stride), for k
// below lanes (1 .. kChunkLanes), in list order with the sum rounded to float
// after every addition, and writes ClampToByte of each sum to out[k]. Answers
// the lanes (bit k for lane k, possibly with bits at and above lanes) whose
// byte may differ from long double arithmetic. May read up to kLinePadding
// bytes past the lanes.
using TSumLanes = std::uint64_t (*)(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                                    std::uint8_t* out, std::size_t lanes);

std::uint64_t SumLanesPlain(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                            std::uint8_t* out, std::size_t lanes);
std::uint64_t SumLanesAvx2(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                           std::uint8_t* out, std::size_t lanes);
std::uint64_t SumLanesAvx512(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                             std::uint8_t* out, std::size_t lanes);

// Goes on with the float sums of lanes (1 .. kChunkLanes) over the entries
// after the split, in double; answers the lanes to redo in long double.
std::uint64_t SumRestAvx2(std::span<const TSampleWeight> rest, const std::uint8_t* base, std::size_t stride,
                          float* sums, std::size_t lanes);

void TransposePlain(const TPixelBlock& block);
void TransposeAvx2(const TPixelBlock& block);

}  // namespace tessalune::resample
