// SPDX-License-Identifier: GPL-3.0-or-later
// Runs resampler tests once per instruction set, each forced in turn.
#pragma once

#include "ResampleLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>

namespace tessalune {
namespace resample {

// How a failing test names its instruction set.
void PrintTo(TInstructionSet set, std::ostream* out);

}  // namespace resample

namespace test {

using resample::TInstructionSet;

constexpr TInstructionSet kInstructionSets[] = {TInstructionSet::Plain, TInstructionSet::Avx2,
                                                TInstructionSet::Avx512};

inline std::string InstructionSetName(TInstructionSet set) {
  switch (set) {
    case TInstructionSet::Avx512: return "Avx512";
    case TInstructionSet::Avx2: return "Avx2";
    case TInstructionSet::Plain: break;
  }
  return "Plain";
}

inline std::string InstructionSetTestName(const ::testing::TestParamInfo<TInstructionSet>& test) {
  return InstructionSetName(test.param);
}

inline bool ProcessorHas(TInstructionSet set) {
  const auto sets = resample::AvailableInstructionSets();
  return std::find(sets.begin(), sets.end(), set) != sets.end();
}

// Makes the resampler use one instruction set while it lives.
class ScopedInstructionSet {
 public:
  explicit ScopedInstructionSet(TInstructionSet set) { resample::UseInstructionSet(set); }
  ~ScopedInstructionSet() { resample::UseInstructionSet(resample::AvailableInstructionSets().back()); }
  ScopedInstructionSet(const ScopedInstructionSet&) = delete;
  ScopedInstructionSet& operator=(const ScopedInstructionSet&) = delete;
};

// A test run once per instruction set; a set the processor lacks is skipped.
class InstructionSetTest : public ::testing::TestWithParam<TInstructionSet> {
 protected:
  void SetUp() override {
    if (!ProcessorHas(GetParam())) GTEST_SKIP() << "the processor lacks " << InstructionSetName(GetParam());
    use_.emplace(GetParam());
  }

 private:
  std::optional<ScopedInstructionSet> use_;
};

}  // namespace test

inline void resample::PrintTo(TInstructionSet set, std::ostream* out) { *out << test::InstructionSetName(set); }

}  // namespace tessalune
