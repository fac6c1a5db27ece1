// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <cstddef>

namespace tessalune {

// How a camera says its picture is to be shown: the EXIF orientation, from 1
// (as stored) to 8. 2 mirrors left and right, 3 turns half round, 4 mirrors
// top and bottom, 5 mirrors along the main diagonal, 6 turns a quarter
// clockwise, 7 mirrors along the other diagonal, 8 turns a quarter
// anticlockwise.
using TOrientation = int;

constexpr TOrientation kUpright = 1;

// The orientation that an EXIF block gives (the body of a JPEG APP1 segment,
// beginning with "Exif"). A missing or malformed tag, or a value outside 1
// to 8, gives kUpright.
TOrientation ExifOrientation(const unsigned char* exif, std::size_t size);

// Whether the orientation exchanges width and height (5 to 8).
inline bool SwapsSides(TOrientation orientation) { return orientation >= 5 && orientation <= 8; }

// The bitmap as a viewer shows a picture of that orientation, turned on up
// to threads threads (0: one per core). Raises an Exception when the memory
// for a turned copy cannot be had.
TBitmap TurnBitmap(TBitmap bitmap, TOrientation orientation, unsigned threads = 0);

}  // namespace tessalune
