// SPDX-License-Identifier: GPL-3.0-or-later
// The resampler's inner loop: lines are summed in chunks of lanes by the
// kernel of the chosen instruction set, and the rare lanes whose double sum
// may be off are summed again in long double. The plain kernel sums every
// entry in double; the others use the single-rounding float shortcut where
// the list allows it (ResampleLanes.h).
#include "ResampleLine.h"

#include "ResampleLanes.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace tessalune::resample {
namespace {

bool LandsOnFloatHalfway(double s) {
  std::int64_t bits;
  std::memcpy(&bits, &s, sizeof bits);
  return (bits & kBelowFloatMask) == kFloatHalfway;
}

// Whether a + p, rounded to the double s, was rounded at all (the exact
// rounding error of a sum of two doubles).
bool Inexact(double a, double p, double s) {
  const double b = s - a;
  return (a - (s - b)) + (p - b) != 0.0;
}

// 2^64 times the value of the lowest bit of the float weight's significand.
double Span64OfLowestBit(float weight) {
  std::uint32_t bits;
  std::memcpy(&bits, &weight, sizeof bits);
  const std::int64_t exponent = std::max<std::int64_t>((bits >> 23) & 0xff, 1) - 150 + 64;  // denormals: 2^-149
  const std::uint64_t span = static_cast<std::uint64_t>(exponent + 1023) << 52;
  double value;
  std::memcpy(&value, &span, sizeof value);
  return value;
}

// Writes the bytes of the given lanes from sums done in long double.
void SumInLongDouble(std::span<const TSampleWeight> list, const std::uint8_t* base, std::size_t stride,
                     std::uint8_t* out, std::uint64_t lanes) {
  for (std::size_t k = 0; lanes != 0; ++k, lanes >>= 1) {
    if (!(lanes & 1)) continue;
    float sum = 0.0f;
    for (const TSampleWeight& entry : list) {
      const std::uint8_t byte = base[static_cast<std::size_t>(entry.index) * stride + k];
      sum = static_cast<float>(static_cast<long double>(sum) + static_cast<long double>(byte) * entry.weight);
    }
    out[k] = ClampToByte(sum);
  }
}

std::uint64_t LowLanes(std::size_t n) {
  return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
}

std::atomic<TInstructionSet>& ChosenSet() {
  static std::atomic<TInstructionSet> set{AvailableInstructionSets().back()};
  return set;
}

TSumLanes SumLanesOf(TInstructionSet set) {
  switch (set) {
    case TInstructionSet::Avx512: return SumLanesAvx512;
    case TInstructionSet::Avx2: return SumLanesAvx2;
    case TInstructionSet::Plain: break;
  }
  return SumLanesPlain;
}

}  // namespace

// After entry j every sum is a whole multiple of the finest lowest weight bit
// so far: a byte times a weight is one, and rounding such a sum to a float
// either leaves it alone or puts it on a coarser grid of powers of two. Its
// size stays below the bound: 255 times the sizes of the weights, grown by
// more than the roundings to float can add. While the bound is below 2^64
// finest bits, every sum fits 64 bits exactly.
TSplitList SplitAtFirstRounding(const TWeightList& list) {
  double bound = 0.0;
  double limit = std::numeric_limits<double>::infinity();
  std::size_t j = 0;
  for (; j < list.size(); ++j) {
    const float weight = list[j].weight;
    limit = std::min(limit, Span64OfLowestBit(weight));
    bound = (bound + 255.0 * std::fabs(weight)) * (1.0 + 0x1p-22);
    if (!(bound < limit)) break;
  }
  return {list, j};
}

std::uint64_t SumLanesPlain(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                            std::uint8_t* out, std::size_t lanes) {
  float sums[kChunkLanes] = {};
  std::uint64_t hazards = 0;
  for (const TSampleWeight& entry : list.entries) {
    const std::uint8_t* src = base + static_cast<std::size_t>(entry.index) * stride;
    for (std::size_t k = 0; k < lanes; ++k) {
      const double a = sums[k];
      const double p = static_cast<double>(src[k]) * entry.weight;
      const double s = a + p;
      if (LandsOnFloatHalfway(s) && Inexact(a, p, s)) hazards |= std::uint64_t{1} << k;
      sums[k] = static_cast<float>(s);
    }
  }
  for (std::size_t k = 0; k < lanes; ++k) out[k] = ClampToByte(sums[k]);
  return hazards;
}

std::vector<TInstructionSet> AvailableInstructionSets() {
  std::vector<TInstructionSet> sets{TInstructionSet::Plain};
  if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma")) return sets;
  sets.push_back(TInstructionSet::Avx2);
  // The AVX-512 kernel leaves the transposition and the rare double sums to AVX2.
  if (__builtin_cpu_supports("avx512f")) sets.push_back(TInstructionSet::Avx512);
  return sets;
}

void UseInstructionSet(TInstructionSet set) {
  const std::vector<TInstructionSet> sets = AvailableInstructionSets();
  if (std::find(sets.begin(), sets.end(), set) == sets.end()) {
    throw std::invalid_argument("The processor lacks this instruction set");
  }
  ChosenSet() = set;
}

void TransposePixels(const TPixelBlock& block) {
  if (ChosenSet().load(std::memory_order_relaxed) == TInstructionSet::Plain) {
    TransposePlain(block);
  } else {
    TransposeAvx2(block);
  }
}

void AccumulateLine(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                    std::uint8_t* out, std::size_t count) {
  const TSumLanes sumLanes = SumLanesOf(ChosenSet().load(std::memory_order_relaxed));
  for (std::size_t start = 0; start < count; start += kChunkLanes) {
    const std::size_t n = std::min(kChunkLanes, count - start);
    const std::uint64_t hazards = sumLanes(list, base + start, stride, out + start, n) & LowLanes(n);
    if (hazards) SumInLongDouble(list.entries, base + start, stride, out + start, hazards);
  }
}

}  // namespace tessalune::resample
