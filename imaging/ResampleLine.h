// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageResize.h"

#include <cstddef>
#include <cstdint>

namespace tessalune::resample {

// Bytes that must be readable past the end of the last source line.
constexpr std::size_t kLinePadding = 4;

// One output line of a resampling pass: byte k is the clamped weighted sum of
// byte k of the source lines (base + index * stride) that the list names,
// added in list order with the sum rounded to float after every addition, as
// if each addition were carried out in long double.
void AccumulateLine(const TWeightList& list, const std::uint8_t* base, std::size_t stride,
                    std::uint8_t* out, std::size_t count);

}  // namespace tessalune::resample
