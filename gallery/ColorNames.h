// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "GallerySettings.h"

namespace tessalune {

// The named colours of the gallery file: the sixteen plain colours, the
// system display colours and clNone.

// The name of color, or false when the table has none.
bool ColorToIdent(TColor color, std::string& name);

// The colour of a name in any letter case, or false when it is not a colour
// name.
bool IdentToColor(std::string_view name, TColor& color);

}  // namespace tessalune
