// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResampleLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tessalune::resample {
namespace {

// Two source lines of width bytes each, plus the padding the summing may read.
std::vector<std::uint8_t> TwoLines(std::size_t width, std::uint8_t first, std::uint8_t second) {
  std::vector<std::uint8_t> lines(2 * width + kLinePadding, 0);
  std::fill_n(lines.begin(), width, first);
  std::fill_n(lines.begin() + static_cast<std::ptrdiff_t>(width), width, second);
  return lines;
}

TEST(ResampleLineTest, SumsInListOrderWithFloatRounding) {
  constexpr std::size_t kWidth = 11;
  const auto lines = TwoLines(kWidth, 200, 100);
  const TWeightList list = {{1, 0.75f}, {0, 0.625f}, {1, -0.5f}};
  std::vector<std::uint8_t> out(kWidth);
  AccumulateLine(list, lines.data(), kWidth, out.data(), kWidth);
  for (std::uint8_t byte : out) EXPECT_EQ(150, byte);  // 75 + 125 - 50
}

TEST(ResampleLineTest, SumsClampToBytes) {
  constexpr std::size_t kWidth = 5;
  const auto lines = TwoLines(kWidth, 255, 10);
  std::vector<std::uint8_t> out(kWidth);
  AccumulateLine({{0, 1.5f}}, lines.data(), kWidth, out.data(), kWidth);
  EXPECT_EQ(255, out[4]);
  AccumulateLine({{1, -2.0f}}, lines.data(), kWidth, out.data(), kWidth);
  EXPECT_EQ(0, out[0]);
}

// -2^-56 + 31 * (1082401 * 2^-24) is 2 - 2^-24 - 2^-56: just below the float
// halfway point 2 - 2^-24, so it rounds to 2 - 2^-23 and truncates to 1. A
// double sum first rounds to the halfway point itself, which then rounds to
// the even float 2.0: the long double recomputation must catch this.
TEST(ResampleLineTest, SumsLandingOnAFloatHalfwayPointInDoubleAreRedoneExactly) {
  constexpr std::size_t kWidth = 37;
  const auto lines = TwoLines(kWidth, 1, 31);
  const TWeightList list = {{0, -std::ldexp(1.0f, -56)}, {1, std::ldexp(1082401.0f, -24)}};
  std::vector<std::uint8_t> out(kWidth);
  AccumulateLine(list, lines.data(), kWidth, out.data(), kWidth);
  const double doubleSum = -std::ldexp(1.0, -56) + 31.0 * std::ldexp(1082401.0, -24);
  ASSERT_EQ(2.0f, static_cast<float>(doubleSum));  // the trap is real
  for (std::uint8_t byte : out) EXPECT_EQ(1, byte);
}

}  // namespace
}  // namespace tessalune::resample
