// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraPhoto.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessalune::bench {

QImage CameraPhoto(int n) {
  QImage image(4000, 3000, QImage::Format_RGB888);
  std::uint32_t noise = 2463534242u + std::uint32_t(n);
  for (int y = 0; y < image.height(); ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      noise ^= noise << 13;
      noise ^= noise >> 17;
      noise ^= noise << 5;
      const int grain = int(noise & 15) - 8;
      const double wave = std::sin((x + n * 100) / 180.0) * std::cos(y / 140.0);
      line[3 * x] = uchar(std::clamp(int(120 + 80 * wave) + grain, 0, 255));
      line[3 * x + 1] = uchar(std::clamp(int(x * 255 / 4000) + grain, 0, 255));
      line[3 * x + 2] = uchar(std::clamp(int(y * 255 / 3000) + grain, 0, 255));
    }
  }
  return image;
}

}  // namespace tessalune::bench
