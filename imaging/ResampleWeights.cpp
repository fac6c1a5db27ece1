// SPDX-License-Identifier: GPL-3.0-or-later
// The kernels and weight lists of ResampleBitmap. Every expression is
// evaluated in long double from single-precision inputs and rounded to float
// where it is stored, so the weights do not depend on the compiler's choice
// of floating-point registers.
#include "ImageResize.h"

#include "Errors.h"
#include "ParallelFor.h"

#include <algorithm>
#include <cmath>

namespace tessalune::resample {
namespace {

constexpr long double kPi = 3.14159265358979323851L;
// Beyond this the sine has no meaningful value and counts as 0.
constexpr long double kLargestSineArgument = 0x1p63L;

using TKernel = float (*)(float);

struct TKernelInfo {
  TKernel kernel;
  float support;
};

TKernelInfo KernelInfo(TResampleKernel kernel) {
  switch (kernel) {
    case rkHermite: return {HermiteKernel, 1.0f};
    case rkBSpline: return {BSplineKernel, 2.0f};
    case rkLanczos3: break;
  }
  return {LanczosKernel, 3.0f};
}

// A candidate outside the source reads its mirror image, reflected once:
// about the first pixel (not repeated) on the left, about the outer edge of
// the last pixel (repeated) on the right. A support wider than the source can
// leave the source even so; such an index reads the nearest edge pixel.
std::int32_t Reflect(std::int64_t j, int n) {
  if (j < 0) j = -j;
  else if (j >= n) j = 2 * std::int64_t{n} - 1 - j;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(j, 0, n - 1));
}

TWeightList BuildWeightList(TKernel kernel, float R, float f, float c, int n) {
  const auto a = static_cast<std::int64_t>(std::floor(static_cast<long double>(c) - R));
  const auto b = static_cast<std::int64_t>(std::ceil(static_cast<long double>(c) + R));
  TWeightList list;
  list.reserve(static_cast<std::size_t>(2.0f * R + 1.0f));
  for (std::int64_t j = a; j <= b; ++j) {
    const auto argument = static_cast<float>((c - static_cast<long double>(j)) / f);
    const auto weight = static_cast<float>(static_cast<long double>(kernel(argument)) / f);
    if (weight == 0.0f) continue;
    list.push_back({Reflect(j, n), weight});
  }
  return list;
}

}  // namespace

// The long double sine is slow, and sin(p) / p only has to be right to the
// float. The double sine lies within 2^-52 of the true sine, as the long
// double one does within 2^-63; so where the double quotient rounds to the
// same float after moving it by 2^-40 either way, the long double quotient
// rounds to that float too. Only quotients that close to a point halfway
// between two floats, about one in 30000, take the long double sine.
float NormalizedSinc(float y) {
  if (y == 0.0f) return 1.0f;
  const auto p = static_cast<float>(kPi * y);
  if (!(std::fabs(static_cast<long double>(p)) < kLargestSineArgument)) return static_cast<float>(0.0L / p);
  const long double quotient = std::sin(static_cast<double>(p)) / static_cast<long double>(p);
  const auto below = static_cast<float>(quotient * (1.0L - 0x1p-40L));
  if (below == static_cast<float>(quotient * (1.0L + 0x1p-40L))) return below;
  return static_cast<float>(std::sin(static_cast<long double>(p)) / p);
}

float LanczosKernel(float x) {
  const float t = std::fabs(x);
  if (!(t < 3.0f)) return 0.0f;
  const auto third = static_cast<float>(t / 3.0L);
  return static_cast<float>(static_cast<long double>(NormalizedSinc(t)) * NormalizedSinc(third));
}

float HermiteKernel(float x) {
  const long double t = std::fabs(x);
  if (!(t < 1.0L)) return 0.0f;
  return static_cast<float>((t * t) * (2.0L * t - 3.0L) + 1.0L);
}

float BSplineKernel(float x) {
  const float t = std::fabs(x);
  if (t < 1.0f) {
    const auto s = static_cast<float>(static_cast<long double>(t) * t);
    return static_cast<float>(0.5L * s * t - s + 2.0L / 3.0L);
  }
  if (t < 2.0f) {
    const auto u = static_cast<float>(2.0L - t);
    return static_cast<float>(static_cast<long double>(u) * u * (1.0L / 6.0L) * u);
  }
  return 0.0f;
}

float PassScale(int dstSize, int srcSize) {
  if (srcSize == 1) return static_cast<float>(static_cast<long double>(dstSize) / srcSize);
  return static_cast<float>(static_cast<long double>(dstSize - 1) / (srcSize - 1));
}

std::vector<TWeightList> BuildWeightLists(TResampleKernel kernel, float scale, int size, int count,
                                          unsigned threads) {
  const TKernelInfo info = KernelInfo(kernel);
  float R = info.support;
  float f = 1.0f;
  if (scale < 1.0f) {
    if (scale == 0.0f) throw EMathError("Floating point division by zero");
    R = static_cast<float>(info.support / static_cast<long double>(scale));
    f = static_cast<float>(1.0L / scale);
  }
  std::vector<TWeightList> lists(static_cast<std::size_t>(count));
  // A kernel value costs about as much as a few hundred weighted additions.
  const std::int64_t work = static_cast<std::int64_t>(count) * static_cast<std::int64_t>(2.0f * R + 1.0f) * 256;
  ParallelFor(count, ChooseThreads(threads, count, work), [&](int first, int last) {
    for (int i = first; i < last; ++i) {
      const auto c = static_cast<float>(static_cast<long double>(i) / scale);
      lists[static_cast<std::size_t>(i)] = BuildWeightList(info.kernel, R, f, c, size);
    }
  });
  return lists;
}
}  // namespace tessalune::resample
