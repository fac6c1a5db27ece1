// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <string>

namespace tessalune {

// The first frame of a GIF stream on a 24-bit bitmap of the logical-screen
// size. Pixels the frame leaves uncovered or marks transparent stay white,
// the colour every picture is shown on. Raises an Exception carrying
// giflib's error text on malformed data.
TBitmap DecodeGif(const std::string& bytes);

}  // namespace tessalune
