// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailFixtures.h"

#include <chrono>
#include <thread>

#include <QTest>

#include "PicIcon.h"
#include "ThumbnailJob.h"

namespace tessalune::test {

namespace {
constexpr int kPatienceMs = 60000;
}

TBitmap ExpectedThumbnail(const std::string& fileName, QSize max, QSize canvas, const QColor& margin) {
  TPicIcon icon;
  icon.Fast = true;
  icon.MaxWidth = max.width();
  icon.MaxHeight = max.height();
  icon.LoadFromFile(fileName);
  TBitmap thumbnail = icon.Bitmap;
  if (canvas.isValid()) CenterBitmap(thumbnail, canvas, margin);
  return thumbnail;
}

::testing::AssertionResult SamePixels(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure() << "the size is " << actual.width() << " x " << actual.height() << ", not "
                                         << expected.width() << " x " << expected.height();
  }
  const QImage a = actual.convertToFormat(QImage::Format_RGB888);
  const QImage b = expected.convertToFormat(QImage::Format_RGB888);
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixelColor(x, y) != b.pixelColor(x, y)) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                             << a.pixelColor(x, y).name().toStdString() << ", not "
                                             << b.pixelColor(x, y).name().toStdString();
      }
    }
  }
  return ::testing::AssertionSuccess();
}

bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, kPatienceMs); }

bool WaitWithoutEvents(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

}  // namespace tessalune::test
