// SPDX-License-Identifier: GPL-3.0-or-later
// The line sums with AVX-512. A chunk of lanes stays in registers through all
// the exact entries of a list, summed with fused multiply-adds in float,
// sixteen lanes per register. The rare entries after the split go on in
// double with the AVX2 kernel.
#include "ResampleLanes.h"
#include "ResampleLine.h"

#include <array>
#include <utility>

#include <immintrin.h>

namespace tessalune::resample {
namespace {

constexpr int kFloatLanes = 16;
constexpr int kMostVectors = kChunkLanes / kFloatLanes;
static_assert(kLinePadding >= kFloatLanes - 1);

// Conversions, minima and maxima go through the zero-masking forms with every
// lane selected: the same instructions, without the undefined source operand
// that GCC 12 warns about.
constexpr __mmask16 kAll16 = 0xffff;

[[gnu::target("avx512f")]] inline __m512 LoadFloats(const std::uint8_t* src) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
  return _mm512_maskz_cvtepi32_ps(kAll16, _mm512_maskz_cvtepu8_epi32(kAll16, bytes));
}

template <int V>
[[gnu::target("avx512f")]] void SumExact(std::span<const TSampleWeight> entries, const std::uint8_t* base,
                                         std::size_t stride, float* sums) {
  __m512 acc[V];
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) acc[v] = _mm512_setzero_ps();
  for (const TSampleWeight& entry : entries) {
    const std::uint8_t* src = base + static_cast<std::size_t>(entry.index) * stride;
    const __m512 weight = _mm512_set1_ps(entry.weight);
    #pragma GCC unroll 8
    for (int v = 0; v < V; ++v) acc[v] = _mm512_fmadd_ps(LoadFloats(src + kFloatLanes * v), weight, acc[v]);
  }
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) _mm512_store_ps(sums + kFloatLanes * v, acc[v]);
}

// ClampToByte of the first lanes sums.
template <int V>
[[gnu::target("avx512f")]] void WriteBytes(const float* sums, std::uint8_t* out, std::size_t lanes) {
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) {
    const __m512 sum = _mm512_load_ps(sums + kFloatLanes * v);
    const __m512 positive = _mm512_maskz_max_ps(kAll16, sum, _mm512_setzero_ps());
    const __m512 clamped = _mm512_maskz_min_ps(kAll16, positive, _mm512_set1_ps(255.0f));
    const std::size_t left = lanes - kFloatLanes * v;
    const auto mask = static_cast<__mmask16>(left >= kFloatLanes ? kAll16 : (1u << left) - 1);
    _mm512_mask_cvtepi32_storeu_epi8(out + kFloatLanes * v, mask, _mm512_maskz_cvttps_epi32(kAll16, clamped));
  }
}

template <int V>
[[gnu::target("avx512f")]] std::uint64_t SumChunk(const TSplitList& list, const std::uint8_t* base,
                                                  std::size_t stride, std::uint8_t* out, std::size_t lanes) {
  alignas(64) float sums[kFloatLanes * V];
  SumExact<V>(list.exact(), base, stride, sums);
  const std::uint64_t hazards = SumRestAvx2(list.rest(), base, stride, sums, kFloatLanes * V);
  WriteBytes<V>(sums, out, lanes);
  return hazards;
}

template <int... V>
constexpr std::array<TSumLanes, sizeof...(V)> SumChunkTable(std::integer_sequence<int, V...>) {
  return {SumChunk<V + 1>...};
}

}  // namespace

std::uint64_t SumLanesAvx512(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                             std::uint8_t* out, std::size_t lanes) {
  static constexpr auto kSumChunk = SumChunkTable(std::make_integer_sequence<int, kMostVectors>());
  return kSumChunk[(lanes + kFloatLanes - 1) / kFloatLanes - 1](list, base, stride, out, lanes);
}

}  // namespace tessalune::resample
