// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "Random.h"

namespace tessalune {
namespace {

std::vector<int> Draw(int count, int range) {
  std::vector<int> numbers;
  for (int i = 0; i < count; ++i) numbers.push_back(Random(range));
  return numbers;
}

TEST(Random, ASeedGivesTheSameSequenceEveryTime) {
  RandSeed(42);
  const std::vector<int> first = Draw(50, 5);
  RandSeed(42);
  EXPECT_EQ(Draw(50, 5), first);
  RandSeed(43);
  EXPECT_NE(Draw(50, 5), first);
}

TEST(Random, DrawsEveryValueOfTheRangeAboutEquallyOften) {
  RandSeed(7);
  std::array<int, 5> counts{};
  const int draws = 50000;
  for (int value : Draw(draws, 5)) {
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 5);
    ++counts[size_t(value)];
  }
  // 10000 expected each; the bounds lie more than seven standard deviations away.
  for (int count : counts) {
    EXPECT_GT(count, 9350);
    EXPECT_LT(count, 10650);
  }
}

TEST(Random, AnEmptyRangeGivesZero) {
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-3), 0);
  EXPECT_EQ(Random(1), 0);
}

}  // namespace
}  // namespace tessalune
