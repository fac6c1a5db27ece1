// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResampleLine.h"

#include "InstructionSets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tessalune::resample {
namespace {

using test::InstructionSetTest;

// Two source lines of width bytes each, plus the padding the summing may read.
std::vector<std::uint8_t> TwoLines(std::size_t width, std::uint8_t first, std::uint8_t second) {
  std::vector<std::uint8_t> lines(2 * width + kLinePadding, 0);
  std::fill_n(lines.begin(), width, first);
  std::fill_n(lines.begin() + static_cast<std::ptrdiff_t>(width), width, second);
  return lines;
}

void Accumulate(const TWeightList& list, const std::vector<std::uint8_t>& lines, std::size_t width,
                std::vector<std::uint8_t>& out) {
  out.assign(width, 0);
  AccumulateLine(SplitAtFirstRounding(list), lines.data(), width, out.data(), width);
}

// The definition: each addition in long double, rounded to float.
float LongDoubleSum(const TWeightList& list, const std::vector<std::uint8_t>& lines, std::size_t width, std::size_t k) {
  float sum = 0.0f;
  for (const TSampleWeight& entry : list) {
    const std::uint8_t byte = lines[static_cast<std::size_t>(entry.index) * width + k];
    sum = static_cast<float>(static_cast<long double>(sum) + static_cast<long double>(byte) * entry.weight);
  }
  return sum;
}

class ResampleLineTest : public InstructionSetTest {};

TEST_P(ResampleLineTest, SumsInListOrderWithFloatRounding) {
  constexpr std::size_t kWidth = 11;
  const auto lines = TwoLines(kWidth, 200, 100);
  std::vector<std::uint8_t> out;
  Accumulate({{1, 0.75f}, {0, 0.625f}, {1, -0.5f}}, lines, kWidth, out);
  for (std::uint8_t byte : out) EXPECT_EQ(150, byte);  // 75 + 125 - 50
}

TEST_P(ResampleLineTest, SumsClampToBytes) {
  constexpr std::size_t kWidth = 5;
  const auto lines = TwoLines(kWidth, 255, 10);
  std::vector<std::uint8_t> out;
  Accumulate({{0, 1.5f}}, lines, kWidth, out);
  EXPECT_EQ(255, out[4]);
  Accumulate({{1, -2.0f}}, lines, kWidth, out);
  EXPECT_EQ(0, out[0]);
}

// 1 + (1 - 2^-24) is exactly halfway between 2 - 2^-23 and 2: it rounds to
// the even float 2.0, as long double arithmetic rounds it.
TEST_P(ResampleLineTest, SumsExactlyHalfwayBetweenFloatsRoundToEven) {
  constexpr std::size_t kWidth = 70;
  const auto lines = TwoLines(kWidth, 1, 1);
  const TWeightList list = {{0, 1.0f}, {1, 1.0f - std::ldexp(1.0f, -24)}};
  ASSERT_EQ(list.size(), SplitAtFirstRounding(list).exactCount);
  std::vector<std::uint8_t> out;
  Accumulate(list, lines, kWidth, out);
  for (std::uint8_t byte : out) EXPECT_EQ(2, byte);
}

// -2^-56 + 31 * (1082401 * 2^-24) is 2 - 2^-24 - 2^-56: just below the float
// halfway point 2 - 2^-24, so it rounds to 2 - 2^-23 and truncates to 1. A
// double sum first rounds to the halfway point itself, which then rounds to
// the even float 2.0: the long double recomputation must catch this.
TEST_P(ResampleLineTest, SumsLandingOnAFloatHalfwayPointInDoubleAreRedoneExactly) {
  constexpr std::size_t kWidth = 37;
  const auto lines = TwoLines(kWidth, 1, 31);
  const TWeightList list = {{0, -std::ldexp(1.0f, -56)}, {1, std::ldexp(1082401.0f, -24)}};
  std::vector<std::uint8_t> out;
  Accumulate(list, lines, kWidth, out);
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

TEST_P(ResampleLineTest, RandomSumsMatchLongDoubleArithmeticByteForByte) {
  const std::vector<THalfwayProduct> products = HalfwayProducts();
  std::mt19937 random(2026);
  std::uniform_real_distribution<float> ordinary(-1.0f, 1.0f);
  constexpr int kLines = 3;
  int doubleWouldMiss = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const std::size_t width = 1 + random() % 1100;  // chunks of every length, and several chunks
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
    std::vector<std::uint8_t> out;
    Accumulate(list, lines, width, out);
    for (std::size_t k = 0; k < width; ++k) {
      const float exact = LongDoubleSum(list, lines, width, k);
      float inDouble = 0.0f;
      for (const TSampleWeight& entry : list) {
        const std::uint8_t byte = lines[static_cast<std::size_t>(entry.index) * width + k];
        inDouble = static_cast<float>(static_cast<double>(inDouble) + static_cast<double>(byte) * entry.weight);
      }
      ASSERT_EQ(ClampToByte(exact), out[k]) << "trial " << trial << ", byte " << k;
      doubleWouldMiss += ClampToByte(exact) != ClampToByte(inDouble);
    }
  }
  EXPECT_GT(doubleWouldMiss, 0);  // the trials did reach the trap
}

// Lists of the resampler's own kind, long and mostly exact: the float
// shortcut over many entries, then a tail summed in double.
TEST_P(ResampleLineTest, LanczosListsMatchLongDoubleArithmeticByteForByte) {
  std::mt19937 random(17);
  constexpr std::size_t kWidth = 200;
  constexpr int kLines = 300;
  std::vector<std::uint8_t> lines(kLines * kWidth + kLinePadding);
  for (auto& byte : lines) byte = static_cast<std::uint8_t>(random());
  const auto lists = BuildWeightLists(rkLanczos3, PassScale(9, kLines), kLines, 9);
  std::vector<std::uint8_t> out;
  for (const TWeightList& list : lists) {
    Accumulate(list, lines, kWidth, out);
    for (std::size_t k = 0; k < kWidth; ++k) ASSERT_EQ(ClampToByte(LongDoubleSum(list, lines, kWidth, k)), out[k]);
  }
}

INSTANTIATE_TEST_SUITE_P(InstructionSets, ResampleLineTest, ::testing::ValuesIn(test::kInstructionSets),
                         test::InstructionSetTestName);

// Whether acc + p is exact in long double (the rounding error of the sum).
bool ExactInLongDouble(long double acc, long double p) {
  const long double s = acc + p;
  const long double b = s - acc;
  return (acc - (s - b)) + (p - b) == 0.0L;
}

struct TSplitCase {
  std::vector<float> weights;
  std::size_t exactCount;
};

TEST(SplitAtFirstRoundingTest, CutsAtTheFirstEntryWhoseSumsMayNotFit64Bits) {
  const float tiny = std::ldexp(1.0f, -60);
  for (const TSplitCase& c : {TSplitCase{{}, 0}, TSplitCase{{1.0f, 0.5f, -0.25f}, 3}, TSplitCase{{0.5f, tiny, 0.5f}, 1},
                              TSplitCase{{tiny, 0.5f}, 1}, TSplitCase{{tiny, tiny, tiny}, 3},
                              TSplitCase{{std::ldexp(1.0f, -40), std::ldexp(1.0f, -20)}, 2},
                              TSplitCase{{std::ldexp(1.0f, -40), 1.0f}, 1}}) {
    TWeightList list;
    for (float weight : c.weights) list.push_back({0, weight});
    EXPECT_EQ(c.exactCount, SplitAtFirstRounding(list).exactCount) << ::testing::PrintToString(c.weights);
  }
}

// The promise the float shortcut relies on, tried with the largest bytes and
// with random ones on lists of weights of every size.
TEST(SplitAtFirstRoundingTest, EverySumBeforeTheCutIsExactInLongDouble) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 2000; ++trial) {
    TWeightList list(1 + random() % 40);
    for (TSampleWeight& entry : list) {
      const auto significand = static_cast<float>(1 + random() % (1 << 24)) * (random() % 2 ? 1.0f : -1.0f);
      entry.weight = std::ldexp(significand, -24 - static_cast<int>(random() % 48));
    }
    const std::size_t exactCount = SplitAtFirstRounding(list).exactCount;
    float largest = 0.0f, mixed = 0.0f;
    for (std::size_t j = 0; j < exactCount; ++j) {
      const float weight = list[j].weight;
      const long double byte = 1 + random() % 255;
      ASSERT_TRUE(ExactInLongDouble(largest, 255.0L * weight)) << "trial " << trial << ", entry " << j;
      ASSERT_TRUE(ExactInLongDouble(mixed, byte * weight)) << "trial " << trial << ", entry " << j;
      largest = static_cast<float>(largest + 255.0L * weight);
      mixed = static_cast<float>(mixed + byte * weight);
    }
  }
}

}  // namespace
}  // namespace tessalune::resample
