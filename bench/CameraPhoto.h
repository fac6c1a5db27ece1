// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace tessalune::bench {

// Photo number n of a series: 4000 x 3000 pixels of smooth colour fields
// with fine grain, so that its JPEG has the entropy of a camera photograph
// rather than of a flat test card. The same n always gives the same pixels.
QImage CameraPhoto(int n);

}  // namespace tessalune::bench
