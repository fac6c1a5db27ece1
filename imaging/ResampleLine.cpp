// SPDX-License-Identifier: GPL-3.0-or-later
// The resampler's inner loop. Each addition is done in double: the double sum
// rounds to the same float as the long double sum except when the double sum
// was itself rounded and landed exactly halfway between two floats. Such a
// block is summed again in long double. The AVX2 path and the plain path give
// the same bytes: both are plain IEEE double arithmetic without contraction.
#include "ResampleLine.h"

#include <algorithm>
#include <cstring>

#include <immintrin.h>

namespace tessalune::resample {
namespace {

// A double halfway between two floats has 1 followed by 28 zeros in the low
// 29 bits of its fraction. (Sums are never as small as denormal floats: the
// smallest weight is far above that.)
constexpr std::int64_t kBelowFloatMask = (std::int64_t{1} << 29) - 1;
constexpr std::int64_t kFloatHalfway = std::int64_t{1} << 28;

constexpr std::size_t kBlock = 480;

// acc[k] += src[k] * weight for k below n (a multiple of 4); answers whether
// a sum needs the long double recomputation.
inline bool AddWeightedPlain(float* acc, const std::uint8_t* src, float weight, std::size_t n) {
  bool hazard = false;
  for (std::size_t k = 0; k < n; ++k) {
    const double a = acc[k];
    const double p = static_cast<double>(src[k]) * weight;
    const double s = a + p;
    const double b = s - a;
    const double error = (a - (s - b)) + (p - b);  // exact rounding error of a + p
    std::int64_t bits;
    std::memcpy(&bits, &s, sizeof bits);
    hazard |= error != 0.0 && (bits & kBelowFloatMask) == kFloatHalfway;
    acc[k] = static_cast<float>(s);
  }
  return hazard;
}

[[gnu::target("avx2")]] inline bool AddWeightedAvx2(float* acc, const std::uint8_t* src, float weight, std::size_t n) {
  const __m256d w = _mm256_set1_pd(weight);
  const __m256i mask = _mm256_set1_epi64x(kBelowFloatMask);
  const __m256i halfway = _mm256_set1_epi64x(kFloatHalfway);
  __m256i hazard = _mm256_setzero_si256();
  for (std::size_t k = 0; k < n; k += 4) {
    std::int32_t bytes;
    std::memcpy(&bytes, src + k, sizeof bytes);
    const __m256d p = _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(bytes))), w);
    const __m256d a = _mm256_cvtps_pd(_mm_loadu_ps(acc + k));
    const __m256d s = _mm256_add_pd(a, p);
    const __m256d b = _mm256_sub_pd(s, a);
    const __m256d error = _mm256_add_pd(_mm256_sub_pd(a, _mm256_sub_pd(s, b)), _mm256_sub_pd(p, b));
    const __m256i onHalf = _mm256_cmpeq_epi64(_mm256_and_si256(_mm256_castpd_si256(s), mask), halfway);
    const __m256i inexact = _mm256_castpd_si256(_mm256_cmp_pd(error, _mm256_setzero_pd(), _CMP_NEQ_UQ));
    hazard = _mm256_or_si256(hazard, _mm256_and_si256(onHalf, inexact));
    _mm_storeu_ps(acc + k, _mm256_cvtpd_ps(s));
  }
  return !_mm256_testz_si256(hazard, hazard);
}

void AddWeightedExact(float* acc, const std::uint8_t* src, float weight, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k) {
    acc[k] = static_cast<float>(static_cast<long double>(acc[k]) + static_cast<long double>(src[k]) * weight);
  }
}

using TAddWeighted = bool (*)(float*, const std::uint8_t*, float, std::size_t);

template <TAddWeighted AddWeighted>
[[gnu::always_inline]] inline void AccumulateLineWith(const TWeightList& list, const std::uint8_t* base,
                                                      std::size_t stride, std::uint8_t* out, std::size_t count) {
  alignas(32) float acc[kBlock];
  for (std::size_t start = 0; start < count; start += kBlock) {
    const std::size_t n = std::min(kBlock, count - start);
    const std::size_t lanes = (n + 3) & ~std::size_t{3};  // reads up to kLinePadding past the line
    std::fill_n(acc, lanes, 0.0f);
    bool exact = false;
    for (const TSampleWeight& entry : list) {
      exact |= AddWeighted(acc, base + static_cast<std::size_t>(entry.index) * stride + start, entry.weight, lanes);
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

[[gnu::target("avx2")]] void AccumulateLineAvx2(const TWeightList& list, const std::uint8_t* base,
                                                std::size_t stride, std::uint8_t* out, std::size_t count) {
  AccumulateLineWith<AddWeightedAvx2>(list, base, stride, out, count);
}

void AccumulateLinePlain(const TWeightList& list, const std::uint8_t* base, std::size_t stride,
                         std::uint8_t* out, std::size_t count) {
  AccumulateLineWith<AddWeightedPlain>(list, base, stride, out, count);
}

using TAccumulateLine = void (*)(const TWeightList&, const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t);

}  // namespace

void AccumulateLine(const TWeightList& list, const std::uint8_t* base, std::size_t stride,
                    std::uint8_t* out, std::size_t count) {
  static const TAccumulateLine accumulate =
      __builtin_cpu_supports("avx2") ? AccumulateLineAvx2 : AccumulateLinePlain;
  accumulate(list, base, stride, out, count);
}

}  // namespace tessalune::resample
