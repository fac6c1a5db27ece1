// SPDX-License-Identifier: GPL-3.0-or-later
// The line sums with AVX2 and FMA. A chunk of lanes stays in registers through
// all the entries of a list: the exact entries are summed with fused
// multiply-adds in float, eight lanes per register. The rest, which the
// AVX-512 kernel hands over here too, go on in double, four lanes per register
// and up to half a chunk at a time; there the product byte * weight is exact,
// so that a fused multiply-add rounds as the addition alone would.
#include "ResampleLanes.h"
#include "ResampleLine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include <immintrin.h>

namespace tessalune::resample {
namespace {

constexpr int kFloatLanes = 8;
constexpr int kDoubleLanes = 4;
constexpr int kMostVectors = kChunkLanes / kFloatLanes;
static_assert(kLinePadding >= kFloatLanes - 1);

[[gnu::target("avx2,fma")]] inline __m256 LoadFloats(const std::uint8_t* src) {
  return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src))));
}

[[gnu::target("avx2,fma")]] inline __m256d LoadDoubles(const std::uint8_t* src) {
  std::int32_t bytes;
  std::memcpy(&bytes, src, sizeof bytes);
  return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(bytes)));
}

[[gnu::target("avx2,fma")]] inline __m256d RoundToFloat(__m256d s) {
  return _mm256_cvtps_pd(_mm256_cvtpd_ps(s));
}

// The lanes (all bits set) where the double s lies halfway between two floats.
[[gnu::target("avx2,fma")]] inline __m256i OnFloatHalfway(__m256d s) {
  return _mm256_cmpeq_epi64(_mm256_and_si256(_mm256_castpd_si256(s), _mm256_set1_epi64x(kBelowFloatMask)),
                            _mm256_set1_epi64x(kFloatHalfway));
}

// The lanes (all bits set) where a + p was rounded to give s.
[[gnu::target("avx2,fma")]] inline __m256i Inexact(__m256d a, __m256d p, __m256d s) {
  const __m256d b = _mm256_sub_pd(s, a);
  const __m256d error = _mm256_add_pd(_mm256_sub_pd(a, _mm256_sub_pd(s, b)), _mm256_sub_pd(p, b));
  return _mm256_castpd_si256(_mm256_cmp_pd(error, _mm256_setzero_pd(), _CMP_NEQ_UQ));
}

template <int V>
[[gnu::target("avx2,fma")]] void SumExact(std::span<const TSampleWeight> entries, const std::uint8_t* base,
                                          std::size_t stride, float* sums) {
  __m256 acc[V];
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) acc[v] = _mm256_setzero_ps();
  for (const TSampleWeight& entry : entries) {
    const std::uint8_t* src = base + static_cast<std::size_t>(entry.index) * stride;
    const __m256 weight = _mm256_set1_ps(entry.weight);
    #pragma GCC unroll 8
    for (int v = 0; v < V; ++v) acc[v] = _mm256_fmadd_ps(LoadFloats(src + kFloatLanes * v), weight, acc[v]);
  }
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) _mm256_store_ps(sums + kFloatLanes * v, acc[v]);
}

// Continues the sums in double; answers the lanes to redo in long double.
template <int V>
[[gnu::target("avx2,fma")]] std::uint64_t SumChecked(std::span<const TSampleWeight> entries, const std::uint8_t* base,
                                                     std::size_t stride, float* sums) {
  __m256d acc[V];
  __m256i hazard[V];
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) {
    acc[v] = _mm256_cvtps_pd(_mm_load_ps(sums + kDoubleLanes * v));
    hazard[v] = _mm256_setzero_si256();
  }
  for (const TSampleWeight& entry : entries) {
    const std::uint8_t* src = base + static_cast<std::size_t>(entry.index) * stride;
    const __m256d weight = _mm256_set1_pd(entry.weight);
    __m256d s[V];
    __m256i onHalf[V];
    __m256i any = _mm256_setzero_si256();
    #pragma GCC unroll 8
    for (int v = 0; v < V; ++v) {
      s[v] = _mm256_fmadd_pd(LoadDoubles(src + kDoubleLanes * v), weight, acc[v]);
      onHalf[v] = OnFloatHalfway(s[v]);
      any = _mm256_or_si256(any, onHalf[v]);
    }
    if (!_mm256_testz_si256(any, any)) [[unlikely]] {
      #pragma GCC unroll 8
      for (int v = 0; v < V; ++v) {
        const __m256i inexact = Inexact(acc[v], _mm256_mul_pd(LoadDoubles(src + kDoubleLanes * v), weight), s[v]);
        hazard[v] = _mm256_or_si256(hazard[v], _mm256_and_si256(onHalf[v], inexact));
      }
    }
    #pragma GCC unroll 8
    for (int v = 0; v < V; ++v) acc[v] = RoundToFloat(s[v]);
  }
  std::uint64_t hazards = 0;
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) {
    _mm_store_ps(sums + kDoubleLanes * v, _mm256_cvtpd_ps(acc[v]));
    const auto bits = static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(hazard[v])));
    hazards |= std::uint64_t{bits} << (kDoubleLanes * v);
  }
  return hazards;
}

// ClampToByte of the first lanes sums.
template <int V>
[[gnu::target("avx2,fma")]] void WriteBytes(const float* sums, std::uint8_t* out, std::size_t lanes) {
  #pragma GCC unroll 8
  for (int v = 0; v < V; ++v) {
    const __m256 sum = _mm256_load_ps(sums + kFloatLanes * v);
    const __m256 clamped = _mm256_min_ps(_mm256_max_ps(sum, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
    const __m256i words = _mm256_cvttps_epi32(clamped);
    const __m128i halves = _mm_packus_epi32(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
    alignas(16) std::uint8_t bytes[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(bytes), _mm_packus_epi16(halves, halves));
    std::memcpy(out + kFloatLanes * v, bytes, std::min<std::size_t>(kFloatLanes, lanes - kFloatLanes * v));
  }
}

template <int V>
[[gnu::target("avx2,fma")]] std::uint64_t SumChunk(const TSplitList& list, const std::uint8_t* base,
                                                   std::size_t stride, std::uint8_t* out, std::size_t lanes) {
  alignas(32) float sums[kFloatLanes * V];
  SumExact<V>(list.exact(), base, stride, sums);
  const std::uint64_t hazards = SumRestAvx2(list.rest(), base, stride, sums, kFloatLanes * V);
  WriteBytes<V>(sums, out, lanes);
  return hazards;
}

using TSumChecked = std::uint64_t (*)(std::span<const TSampleWeight>, const std::uint8_t*, std::size_t, float*);

template <int... V>
constexpr std::array<TSumChecked, sizeof...(V)> SumCheckedTable(std::integer_sequence<int, V...>) {
  return {SumChecked<V + 1>...};
}

template <int... V>
constexpr std::array<TSumLanes, sizeof...(V)> SumChunkTable(std::integer_sequence<int, V...>) {
  return {SumChunk<V + 1>...};
}

}  // namespace

// Sixteen registers hold eight vectors of double sums besides the weight, the
// products and the masks, so that lanes go in pieces of 32.
std::uint64_t SumRestAvx2(std::span<const TSampleWeight> rest, const std::uint8_t* base, std::size_t stride,
                          float* sums, std::size_t lanes) {
  static constexpr auto kSumChecked = SumCheckedTable(std::make_integer_sequence<int, kMostVectors>());
  constexpr std::size_t kPiece = kDoubleLanes * kMostVectors;
  std::uint64_t hazards = 0;
  if (rest.empty()) return hazards;
  for (std::size_t start = 0; start < lanes; start += kPiece) {
    const std::size_t vectors = (std::min(kPiece, lanes - start) + kDoubleLanes - 1) / kDoubleLanes;
    hazards |= kSumChecked[vectors - 1](rest, base + start, stride, sums + start) << start;
  }
  return hazards;
}

std::uint64_t SumLanesAvx2(const TSplitList& list, const std::uint8_t* base, std::size_t stride,
                           std::uint8_t* out, std::size_t lanes) {
  static constexpr auto kSumChunk = SumChunkTable(std::make_integer_sequence<int, kMostVectors>());
  return kSumChunk[(lanes + kFloatLanes - 1) / kFloatLanes - 1](list, base, stride, out, lanes);
}

}  // namespace tessalune::resample
