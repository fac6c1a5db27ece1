// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessalune {

// A colour value: $00BBGGRR for a plain colour, the high bit set for a system
// display colour (its low byte is the system colour's number).
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);

// The plain colour ($00BBGGRR) that color shows: a system colour gives what
// the running application's palette shows for its role, or the classic
// desktop's colour when no GUI application runs; an unknown system colour is
// black. A plain colour keeps its 24 colour bits. (tessalune_foundation_gui)
std::uint32_t ColorToRGB(TColor color);

}  // namespace tessalune
