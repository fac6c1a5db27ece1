// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tessalune {

// Picture descriptions as HTML text: "&", "<" and ">" become entities (an
// entity already in the text is escaped again) and every line break (CR LF,
// as the gallery keeps descriptions) becomes "<br>". Quotes, a lone CR or LF
// and everything else stay as they are.
std::string TextToHtml(const std::string& text);

// The colour (a TColor: $00BBGGRR, or a system colour with the high bit
// set) as six upper-case hexadecimal digits, red first, no "#". A system
// colour gives the colour the running application's palette shows for it, or
// the classic default when no GUI application runs. Bits above the 24 colour
// bits of a plain colour are ignored.
std::string ColorToHtml(std::int32_t color);

}  // namespace tessalune
