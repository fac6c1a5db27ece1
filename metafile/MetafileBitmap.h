// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <string_view>

namespace tessalune::metafile {

// Asked for the pixel count of a bitmap before it is decoded; false refuses.
using TAfford = std::function<bool(std::uint64_t pixels)>;

// Decodes a device-independent bitmap from its BITMAPINFO (header and colour
// table) and its pixel bytes. The header is checked against the named size
// caps and the pixel bytes before anything is allocated; a bitmap that fails
// a check, that afford refuses, or whose colours index a palette, gives a
// null image.
QImage DecodeDib(std::string_view info, std::string_view bits, std::uint32_t usage,
                 const TAfford& afford);

// The same for a packed bitmap: the BITMAPINFO directly followed by the pixels.
QImage DecodePackedDib(std::string_view dib, std::uint32_t usage, const TAfford& afford);

}  // namespace tessalune::metafile
