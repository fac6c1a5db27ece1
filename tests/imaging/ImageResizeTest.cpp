// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageResize.h"

#include "Errors.h"
#include "InstructionSets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace tessalune {
namespace {

using resample::BuildWeightLists;
using resample::ClampToByte;
using resample::PassScale;
using resample::TWeightList;

TBitmap RandomBitmap(int width, int height, unsigned seed) {
  TBitmap bitmap = NewBitmap(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* line = bitmap.scanLine(y);
    for (int x = 0; x < 3 * width; ++x) line[x] = static_cast<std::uint8_t>(random() & 255);
  }
  return bitmap;
}

TBitmap GreyRow(std::initializer_list<int> values) {
  TBitmap bitmap = NewBitmap(static_cast<int>(values.size()), 1);
  int x = 0;
  for (int value : values) std::memset(bitmap.scanLine(0) + 3 * x++, value, 3);
  return bitmap;
}

// One pass exactly as defined pixel by pixel: sums in list order, each
// rounded to float after every addition, from long double arithmetic.
std::uint8_t ReferenceSum(const TWeightList& list, const std::uint8_t* first, std::size_t step) {
  float sum = 0.0f;
  for (const auto& entry : list) {
    sum = static_cast<float>(static_cast<long double>(sum) +
                             static_cast<long double>(first[static_cast<std::size_t>(entry.index) * step]) * entry.weight);
  }
  return ClampToByte(sum);
}

TBitmap ReferenceResample(const TBitmap& src, int DW, int DH, TResampleKernel kernel) {
  const int SW = src.width(), SH = src.height();
  const auto columns = BuildWeightLists(kernel, PassScale(DW, SW), SW, DW);
  TBitmap intermediate = NewBitmap(DW, SH);
  for (int y = 0; y < SH; ++y) {
    for (int i = 0; i < DW; ++i) {
      for (int c = 0; c < 3; ++c) {
        intermediate.scanLine(y)[3 * i + c] = ReferenceSum(columns[i], src.constScanLine(y) + c, 3);
      }
    }
  }
  const auto rows = BuildWeightLists(kernel, PassScale(DH, SH), SH, DH);
  TBitmap dst = NewBitmap(DW, DH);
  for (int x = 0; x < DW; ++x) {
    for (int i = 0; i < DH; ++i) {
      for (int c = 0; c < 3; ++c) {
        dst.scanLine(i)[3 * x + c] = ReferenceSum(rows[i], intermediate.constScanLine(0) + 3 * x + c,
                                                  static_cast<std::size_t>(intermediate.bytesPerLine()));
      }
    }
  }
  return dst;
}

::testing::AssertionResult SamePixels(const TBitmap& expected, const TBitmap& actual) {
  if (expected.size() != actual.size()) return ::testing::AssertionFailure() << "sizes differ";
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < 3 * expected.width(); ++x) {
      if (expected.constScanLine(y)[x] != actual.constScanLine(y)[x]) {
        return ::testing::AssertionFailure() << "byte " << x << " of row " << y << ": expected "
               << int(expected.constScanLine(y)[x]) << ", got " << int(actual.constScanLine(y)[x]);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<int> Indexes(const TWeightList& list) {
  std::vector<int> indexes;
  for (const auto& entry : list) indexes.push_back(entry.index);
  return indexes;
}

TEST(ResampleWeightsTest, HalvingFiveColumnsGivesTheWorkedExampleList) {
  EXPECT_EQ(0.5f, PassScale(3, 5));
  const auto lists = BuildWeightLists(rkLanczos3, 0.5f, 5, 3);
  ASSERT_EQ(3u, lists.size());
  const TWeightList& list = lists[1];
  EXPECT_EQ((std::vector<int>{3, 2, 1, 0, 1, 2, 3, 4, 4, 3, 2}), Indexes(list));
  for (int j = -3; j <= 7; ++j) {
    const float expected = resample::LanczosKernel(static_cast<float>(2 - j) / 2.0f) / 2.0f;
    EXPECT_EQ(expected, list[static_cast<std::size_t>(j + 3)].weight) << "candidate " << j;
  }
  EXPECT_EQ(0.5f, list[5].weight);
}

TEST(ResampleWeightsTest, EnlargementReflectsAtBothEdges) {
  // Scale 2 over 4 pixels: support 3, centre 0 reaches -3..3, centre 3.5 reaches 1..6.
  const auto lists = BuildWeightLists(rkLanczos3, 2.0f, 4, 8);
  EXPECT_EQ((std::vector<int>{2, 1, 0, 1, 2}), Indexes(lists[0]));
  EXPECT_EQ((std::vector<int>{1, 2, 3, 3, 2, 1}), Indexes(lists[7]));
}

TEST(ResampleWeightsTest, IndexesLeftAfterOneReflectionClampToTheEdge) {
  // Two source pixels squeezed hard: candidates far beyond both edges.
  const auto lists = BuildWeightLists(rkBSpline, 0.25f, 2, 1);
  for (const auto& entry : lists[0]) {
    EXPECT_GE(entry.index, 0);
    EXPECT_LE(entry.index, 1);
  }
  // Candidates -7 .. 7 with support 8: -3 reads 1 after clamping, 3 reads 0.
  EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0}), Indexes(lists[0]));
}

TEST(ResampleWeightsTest, KernelsAtTheirKnownPoints) {
  EXPECT_EQ(1.0f, resample::LanczosKernel(0.0f));
  EXPECT_EQ(0.0f, resample::LanczosKernel(3.0f));
  EXPECT_EQ(0.0f, resample::LanczosKernel(-3.5f));
  EXPECT_NE(0.0f, resample::LanczosKernel(1.0f));  // sin of a rounded pi is not 0
  EXPECT_EQ(1.0f, resample::HermiteKernel(0.0f));
  EXPECT_EQ(0.5f, resample::HermiteKernel(-0.5f));
  EXPECT_EQ(0.0f, resample::HermiteKernel(1.0f));
  EXPECT_EQ(static_cast<float>(2.0L / 3.0L), resample::BSplineKernel(0.0f));
  EXPECT_EQ(static_cast<float>(1.0L / 6.0L), resample::BSplineKernel(1.0f));
  EXPECT_EQ(0.0f, resample::BSplineKernel(2.0f));
}

// The definition: the sine taken in long double.
float LongDoubleSinc(float y) {
  if (y == 0.0f) return 1.0f;
  const auto p = static_cast<float>(3.14159265358979323851L * y);
  return static_cast<float>(std::sin(static_cast<long double>(p)) / p);
}

float FloatsAway(float y, int steps) {
  std::int32_t bits;
  std::memcpy(&bits, &y, sizeof bits);
  bits += steps;
  std::memcpy(&y, &bits, sizeof y);
  return y;
}

// Spread over the Lanczos kernel's arguments, and closely around the zeros
// of the sine and the thirds, where the quotient is hardest to get right.
TEST(ResampleWeightsTest, NormalizedSincEqualsTheLongDoubleDefinition) {
  std::vector<float> arguments;
  for (float y = 0x1p-20f; y < 3.0f; y = FloatsAway(y, 4099)) arguments.push_back(y);
  for (const float centre : {1.0f / 3.0f, 2.0f / 3.0f, 1.0f, 2.0f, 3.0f}) {
    for (int steps = -3000; steps <= 3000; ++steps) arguments.push_back(FloatsAway(centre, steps));
  }
  // Quotients within 2^-40 of a point halfway between two floats.
  for (const float y : {0x1.00f28p-2f, 0x1.cc5712p-2f, 0x1.796ebap-1f, 0x1.5a60e6p+0f, 0x1.40aa44p+1f}) {
    arguments.push_back(y);
  }
  for (const float y : arguments) {
    ASSERT_EQ(LongDoubleSinc(y), resample::NormalizedSinc(y)) << y;
    ASSERT_EQ(LongDoubleSinc(-y), resample::NormalizedSinc(-y)) << -y;
  }
}

TEST(ResampleWeightsTest, ClampToByteTruncatesAndClamps) {
  EXPECT_EQ(255, ClampToByte(255.0));
  EXPECT_EQ(255, ClampToByte(1e9));
  EXPECT_EQ(254, ClampToByte(254.99));
  EXPECT_EQ(127, ClampToByte(127.9));
  EXPECT_EQ(0, ClampToByte(-0.5));
  EXPECT_EQ(0, ClampToByte(0.99));
}

struct ResampleCase {
  int sw, sh, dw, dh;
  TResampleKernel kernel;
};

class ResampleBitmapTest : public ::testing::TestWithParam<std::tuple<resample::TInstructionSet, ResampleCase>> {};

TEST_P(ResampleBitmapTest, MatchesThePixelByPixelDefinition) {
  const auto [set, c] = GetParam();
  if (!test::ProcessorHas(set)) GTEST_SKIP() << "the processor lacks " << test::InstructionSetName(set);
  const test::ScopedInstructionSet use(set);
  TBitmap src = RandomBitmap(c.sw, c.sh, static_cast<unsigned>(c.sw * 131 + c.dh));
  TBitmap dst = NewBitmap(c.dw, c.dh);
  ResampleBitmap(src, dst, c.kernel);
  EXPECT_TRUE(SamePixels(ReferenceResample(src, c.dw, c.dh, c.kernel), dst));
}

std::string ResampleName(const ::testing::TestParamInfo<ResampleBitmapTest::ParamType>& tested) {
  const auto& [set, c] = tested.param;
  const char* const kernels[] = {"Lanczos3", "Hermite", "BSpline"};
  return test::InstructionSetName(set) + "_" + std::to_string(c.sw) + "x" + std::to_string(c.sh) + "_to_" +
         std::to_string(c.dw) + "x" + std::to_string(c.dh) + "_" + kernels[c.kernel];
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResampleBitmapTest,
                         ::testing::Combine(::testing::ValuesIn(test::kInstructionSets),
                                            ::testing::Values(ResampleCase{5, 4, 3, 2, rkLanczos3},
                                                              ResampleCase{40, 30, 13, 9, rkLanczos3},
                                                              ResampleCase{7, 9, 20, 25, rkLanczos3},
                                                              ResampleCase{33, 17, 8, 40, rkHermite},
                                                              ResampleCase{12, 31, 29, 5, rkBSpline},
                                                              ResampleCase{1, 6, 4, 3, rkLanczos3},
                                                              ResampleCase{6, 1, 3, 4, rkLanczos3},
                                                              ResampleCase{3, 3, 3, 3, rkLanczos3},
                                                              ResampleCase{150, 99, 31, 23, rkLanczos3},
                                                              ResampleCase{64, 48, 127, 95, rkLanczos3})),
                         ResampleName);

// A reduction of a picture's size on every instruction set, against the
// plain one: long lists, several chunks per line, whole transposition tiles.
TEST(ResampleBitmapTest, EveryInstructionSetGivesThePlainBytes) {
  TBitmap src = RandomBitmap(640, 480, 11);
  for (const TResampleKernel kernel : {rkLanczos3, rkHermite, rkBSpline}) {
    TBitmap plain = NewBitmap(127, 95);
    {
      const test::ScopedInstructionSet use(resample::TInstructionSet::Plain);
      resample::ResampleBitmapThreads(src, plain, kernel, 1);
    }
    for (const resample::TInstructionSet set : resample::AvailableInstructionSets()) {
      const test::ScopedInstructionSet use(set);
      TBitmap dst = NewBitmap(127, 95);
      resample::ResampleBitmapThreads(src, dst, kernel, 1);
      EXPECT_TRUE(SamePixels(plain, dst)) << test::InstructionSetName(set) << ", kernel " << kernel;
    }
  }
}

TEST(ResampleBitmapTest, ThreadsGiveTheSameBytesAsOneThread) {
  TBitmap src = RandomBitmap(640, 480, 7);
  TBitmap single = NewBitmap(127, 95);
  TBitmap parallel = NewBitmap(127, 95);
  resample::ResampleBitmapThreads(src, single, rkLanczos3, 1);
  resample::ResampleBitmapThreads(src, parallel, rkLanczos3, 7);
  EXPECT_TRUE(SamePixels(single, parallel));
}

// Buffers kept from call to call, through more passes than they keep lists
// for and back, give what a call of its own gives.
TEST(ResampleBitmapTest, KeptBuffersGiveTheBytesOfACallOfItsOwn) {
  const struct {
    int SW, SH, DW, DH;
  } sizes[] = {{200, 150, 40, 30}, {200, 150, 90, 60}, {150, 200, 40, 53}, {90, 60, 33, 22},
               {200, 150, 40, 30}, {31, 17, 62, 34}, {200, 150, 90, 60}};
  resample::TResampleBuffers buffers;
  for (const unsigned threads : {1u, 3u}) {
    for (unsigned seed = 0; seed < 7; ++seed) {
      const auto& size = sizes[seed];
      TBitmap src = RandomBitmap(size.SW, size.SH, seed);
      TBitmap own = NewBitmap(size.DW, size.DH);
      TBitmap kept = NewBitmap(size.DW, size.DH);
      resample::ResampleBitmapThreads(src, own, rkLanczos3, threads);
      resample::ResampleBitmapThreads(src, kept, rkLanczos3, threads, nullptr, &buffers);
      EXPECT_TRUE(SamePixels(own, kept)) << seed << " on " << threads << " threads";
    }
    buffers.Clear();
  }
}

// Destinations filled in one pass over the source: each as a call of its
// own fills it, and one that such a call would fail for fails alone.
TEST(ResampleBitmapTest, EachDestinationOfOnePassGetsWhatACallOfItsOwnGives) {
  TBitmap src = RandomBitmap(300, 200, 5);
  const QSize sizes[] = {{127, 85}, {1, 40}, {0, 9}, {300, 200}, {450, 17}, {40, 1}};
  std::vector<TBitmap> together, alone;
  for (const QSize size : sizes) {
    together.push_back(NewBitmap(size.width(), size.height()));
    alone.push_back(NewBitmap(size.width(), size.height()));
  }
  std::vector<TBitmap*> targets;
  for (TBitmap& dst : together) targets.push_back(&dst);
  const auto errors = resample::ResampleEachThreads(src, targets, rkLanczos3, 2);
  ASSERT_EQ(errors.size(), std::size(sizes));
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    bool raised = false;
    try {
      resample::ResampleBitmapThreads(src, alone[i], rkLanczos3, 1);
    } catch (const EMathError&) {
      raised = true;
    }
    EXPECT_EQ(bool(errors[i]), raised) << i;
    EXPECT_TRUE(SamePixels(together[i], alone[i])) << i;
  }
}

TEST(ResampleBitmapTest, ConvertsOtherFormats) {
  QImage src(4, 4, QImage::Format_ARGB32);
  src.fill(QColor(10, 20, 30));
  TBitmap dst(2, 2, QImage::Format_Grayscale8);
  ResampleBitmap(src, dst, rkHermite);
  EXPECT_EQ(kBitmapFormat, src.format());
  EXPECT_EQ(kBitmapFormat, dst.format());
  EXPECT_EQ(QSize(2, 2), dst.size());
}

TEST(ResampleBitmapTest, DestinationSideOfOneFromALongerSourceIsADivisionByZero) {
  TBitmap src = RandomBitmap(8, 8, 1);
  TBitmap narrow = NewBitmap(1, 4);
  narrow.fill(Qt::black);
  try {
    ResampleBitmap(src, narrow, rkLanczos3);
    FAIL() << "no error";
  } catch (const EMathError& error) {
    EXPECT_STREQ("Floating point division by zero", error.what());
  }
  EXPECT_EQ(0, narrow.constScanLine(2)[0]);  // not a pixel written
  TBitmap low = NewBitmap(4, 1);
  EXPECT_THROW(ResampleBitmap(src, low, rkLanczos3), EMathError);
}

TEST(ResampleBitmapTest, EmptySidesReturnQuietly) {
  TBitmap src = RandomBitmap(8, 8, 1);
  TBitmap empty;
  EXPECT_NO_THROW(ResampleBitmap(src, empty, rkLanczos3));
  EXPECT_TRUE(empty.isNull());
  TBitmap none;
  TBitmap dst = NewBitmap(3, 3);
  EXPECT_NO_THROW(ResampleBitmap(none, dst, rkLanczos3));
}

TEST(BlendPixelTest, HalfWeightsTruncateEachProductOnItsOwn) {
  struct Row { int c1, c2, w, expected; };
  for (const Row& row : {Row{255, 0, 128, 127}, Row{0, 255, 128, 126}, Row{255, 0, 127, 126},
                         Row{0, 255, 127, 127}, Row{17, 200, 255, 17}, Row{17, 200, 0, 200},
                         Row{255, 255, 1, 253}}) {
    const std::uint8_t c1[3] = {std::uint8_t(row.c1), 0, 255};
    const std::uint8_t c2[3] = {std::uint8_t(row.c2), 0, 255};
    std::uint8_t out[3];
    resample::BlendPixel(c1, c2, row.w, out);
    EXPECT_EQ(row.expected, out[0]) << row.c1 << "/" << row.c2 << " at " << row.w;
  }
}

TEST(FastStretchBitmapTest, TwoGreysToThreeColumns) {
  const TBitmap src = GreyRow({0, 255});
  TBitmap dst = NewBitmap(3, 1);
  FastStretchBitmap(src, dst);
  EXPECT_EQ(0, dst.constScanLine(0)[0]);
  EXPECT_EQ(84, dst.constScanLine(0)[3]);
  EXPECT_EQ(169, dst.constScanLine(0)[6]);
  EXPECT_EQ(169, dst.constScanLine(0)[8]);
}

TEST(FastStretchBitmapTest, LastColumnOfAThousandFallsNearColumn991) {
  TBitmap src = NewBitmap(1000, 1);
  std::memset(src.scanLine(0) + 3 * 991, 100, 3);
  std::memset(src.scanLine(0) + 3 * 992, 200, 3);
  TBitmap dst = NewBitmap(128, 1);
  FastStretchBitmap(src, dst);
  // xpos = 127 * 511488: column 991, fraction 50 / 256, so wx = 205.
  EXPECT_EQ((50 * 200 >> 8) + (205 * 100 >> 8), dst.constScanLine(0)[3 * 127]);
}

TEST(FastStretchBitmapTest, OneColumnAndOneRowSourcesAreNotBlendedAcross) {
  TBitmap column = NewBitmap(1, 2);
  std::memset(column.scanLine(0), 0, 3);
  std::memset(column.scanLine(1), 255, 3);
  TBitmap tall = NewBitmap(4, 3);
  FastStretchBitmap(column, tall);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(0, tall.constScanLine(0)[3 * x]);
    EXPECT_EQ(84, tall.constScanLine(1)[3 * x]);
    EXPECT_EQ(169, tall.constScanLine(2)[3 * x]);
  }
  TBitmap wide = NewBitmap(3, 2);
  FastStretchBitmap(GreyRow({0, 255}), wide);
  EXPECT_EQ(84, wide.constScanLine(1)[3]);
}

TEST(FastStretchBitmapTest, EmptyDestinationIsADivisionByZero) {
  TBitmap dst;
  try {
    FastStretchBitmap(GreyRow({1, 2}), dst);
    FAIL() << "no error";
  } catch (const EMathError& error) {
    EXPECT_STREQ("Division by zero", error.what());
  }
}

TEST(FastStretchBitmapTest, SourcesWiderThan32768PixelsStillReachTheRightColumns) {
  TBitmap src = NewBitmap(40000, 1);
  src.fill(Qt::black);
  std::memset(src.scanLine(0) + 3 * 39000, 255, 3);
  TBitmap dst = NewBitmap(40, 1);
  FastStretchBitmap(src, dst);
  // xstep = 39999 * 65536 div 40: destination 39 samples column 38999 at
  // the fraction 6 / 256 (wx = 249), so column 39000 adds 6 * 255 >> 8.
  EXPECT_EQ(5, dst.constScanLine(0)[3 * 39]);
}

}  // namespace
}  // namespace tessalune
