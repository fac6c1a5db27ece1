// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResampleLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
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

// Weights w and bytes b whose product lies exactly halfway between an
// integer and the float just below it: with something tiny added before, a
// double sum lands on that halfway point and rounds the wrong way.
struct THalfwayProduct {
  std::uint8_t byte;
  float weight;
};

std::vector<THalfwayProduct> HalfwayProducts() {
  std::vector<THalfwayProduct> found;
  for (int n = 2; n < 256; ++n) {
    const int e = std::ilogb(n - 1);  // 2^e < n <= 2^(e + 1)
    const std::int64_t halfway = (std::int64_t{n} << (24 - e)) - 1;  // n - 2^(e - 24), scaled
    for (int b = 3; b < 256; b += 2) {
      if (halfway % b != 0) continue;
      found.push_back({static_cast<std::uint8_t>(b), std::ldexp(static_cast<float>(halfway / b), e - 24)});
    }
  }
  return found;
}

TEST(ResampleLineTest, RandomSumsMatchLongDoubleArithmeticByteForByte) {
  const std::vector<THalfwayProduct> products = HalfwayProducts();
  std::mt19937 random(2026);
  std::uniform_real_distribution<float> ordinary(-1.0f, 1.0f);
  constexpr int kLines = 3;
  int doubleWouldMiss = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const std::size_t width = 1 + random() % 1100;  // blocks of every length, and several blocks
    const THalfwayProduct product = products[random() % products.size()];
    std::vector<std::uint8_t> lines(kLines * width + kLinePadding);
    for (auto& byte : lines) byte = random() % 2 ? product.byte : static_cast<std::uint8_t>(random());
    TWeightList list(1 + random() % 4);
    for (TSampleWeight& entry : list) {
      const unsigned kind = random() % 3;
      entry.index = static_cast<std::int32_t>(random() % kLines);
      entry.weight = kind == 0   ? std::ldexp(random() % 2 ? -1.0f : 1.0f, -50 - static_cast<int>(random() % 17))
                     : kind == 1 ? product.weight
                                 : ordinary(random);
    }
    std::vector<std::uint8_t> out(width);
    AccumulateLine(list, lines.data(), width, out.data(), width);
    for (std::size_t k = 0; k < width; ++k) {
      float exact = 0.0f, inDouble = 0.0f;
      for (const TSampleWeight& entry : list) {
        const std::uint8_t byte = lines[static_cast<std::size_t>(entry.index) * width + k];
        exact = static_cast<float>(static_cast<long double>(exact) + static_cast<long double>(byte) * entry.weight);
        inDouble = static_cast<float>(static_cast<double>(inDouble) + static_cast<double>(byte) * entry.weight);
      }
      ASSERT_EQ(ClampToByte(exact), out[k]) << "trial " << trial << ", byte " << k;
      doubleWouldMiss += ClampToByte(exact) != ClampToByte(inDouble);
    }
  }
  EXPECT_GT(doubleWouldMiss, 0);  // the trials did reach the trap
}

}  // namespace
}  // namespace tessalune::resample
