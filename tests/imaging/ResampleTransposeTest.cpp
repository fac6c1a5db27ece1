// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResampleLine.h"

#include "InstructionSets.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tessalune::resample {
namespace {

// Guard bytes around both images: the transposition must leave them alone.
constexpr std::size_t kGuard = 32;
constexpr std::uint8_t kGuardByte = 0xa5;

struct TTransposeCase {
  int width, height;
  std::size_t srcPadding, dstPadding;  // bytes after each row and line
};

class TransposePixelsTest : public ::testing::TestWithParam<std::tuple<TInstructionSet, TTransposeCase>> {};

TEST_P(TransposePixelsTest, LineXHoldsColumnXAndNothingElseChanges) {
  const auto [set, c] = GetParam();
  if (!test::ProcessorHas(set)) GTEST_SKIP() << "the processor lacks " << test::InstructionSetName(set);
  const test::ScopedInstructionSet use(set);
  const std::size_t srcStride = 3 * static_cast<std::size_t>(c.width) + c.srcPadding;
  const std::size_t dstStride = 3 * static_cast<std::size_t>(c.height) + c.dstPadding;
  std::vector<std::uint8_t> src(kGuard + srcStride * static_cast<std::size_t>(c.height) + kGuard);
  std::mt19937 random(static_cast<unsigned>(c.width * 1000 + c.height));
  for (auto& byte : src) byte = static_cast<std::uint8_t>(random());
  std::vector<std::uint8_t> dst(kGuard + dstStride * static_cast<std::size_t>(c.width) + kGuard, kGuardByte);
  TransposePixels({src.data() + kGuard, srcStride, c.width, c.height, dst.data() + kGuard, dstStride});
  std::vector<std::uint8_t> expected(dst.size(), kGuardByte);
  for (int x = 0; x < c.width; ++x) {
    for (int y = 0; y < c.height; ++y) {
      for (int channel = 0; channel < 3; ++channel) {
        expected[kGuard + static_cast<std::size_t>(x) * dstStride + 3 * static_cast<std::size_t>(y) + channel] =
            src[kGuard + static_cast<std::size_t>(y) * srcStride + 3 * static_cast<std::size_t>(x) + channel];
      }
    }
  }
  EXPECT_EQ(expected, dst);
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<TInstructionSet, TTransposeCase>>& test) {
  const auto& [set, c] = test.param;
  return test::InstructionSetName(set) + "_" + std::to_string(c.width) + "x" + std::to_string(c.height) + "_" +
         std::to_string(c.srcPadding) + "_" + std::to_string(c.dstPadding);
}

// Whole tiles, partial tiles on either side, single rows and columns, rows
// with and without padding after them.
INSTANTIATE_TEST_SUITE_P(Sizes, TransposePixelsTest,
                         ::testing::Combine(::testing::ValuesIn(test::kInstructionSets),
                                            ::testing::Values(TTransposeCase{1, 1, 0, 0}, TTransposeCase{1, 9, 1, 0},
                                                              TTransposeCase{9, 1, 0, 3}, TTransposeCase{8, 8, 0, 0},
                                                              TTransposeCase{16, 24, 0, 0},
                                                              TTransposeCase{17, 11, 3, 2},
                                                              TTransposeCase{40, 64, 0, 5},
                                                              TTransposeCase{7, 33, 2, 0})),
                         CaseName);

}  // namespace
}  // namespace tessalune::resample
