// SPDX-License-Identifier: GPL-3.0-or-later
#include "Random.h"

#include <chrono>
#include <random>

namespace tessalune {
namespace {

std::mt19937& Generator() {
  static std::mt19937 generator(0);
  return generator;
}

}  // namespace

void Randomize() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  RandSeed(std::uint32_t(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void RandSeed(std::uint32_t seed) { Generator().seed(seed); }

int Random(int range) {
  if (range <= 0) return 0;
  // Draws above the largest multiple of range are thrown away, so that every
  // remainder is equally likely (std::uniform_int_distribution would do the
  // same, but its sequence differs between standard libraries).
  const std::uint64_t span = std::uint64_t(std::mt19937::max()) + 1;
  const std::uint64_t limit = span - span % std::uint64_t(range);
  std::uint64_t draw;
  do {
    draw = Generator()();
  } while (draw >= limit);
  return int(draw % std::uint64_t(range));
}

}  // namespace tessalune
