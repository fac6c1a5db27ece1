// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessalune {

// The program's pseudo-random generator: one Mersenne Twister (std::mt19937,
// whose sequence the C++ standard fixes), so a given seed gives the same
// numbers on every platform and compiler. Until seeded it starts from seed 0.

// Seeds the generator from the time of day; start-up calls it once.
void Randomize();

// Seeds the generator with a fixed value, for a reproducible sequence.
void RandSeed(std::uint32_t seed);

// A whole number from 0 to range - 1, every value equally likely; 0 when
// range is 0 or negative.
int Random(int range);

}  // namespace tessalune
