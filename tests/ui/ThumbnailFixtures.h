// SPDX-License-Identifier: GPL-3.0-or-later
// What the screen thumbnail tests compare against: the thumbnail maker run
// directly, and a pixel-by-pixel comparison that says where two differ.
#pragma once

#include <functional>
#include <string>

#include <QColor>
#include <QSize>
#include <gtest/gtest.h>

#include "Bitmap.h"

namespace tessalune::test {

// TPicIcon in fast mode within max, centred on canvas when it is valid.
TBitmap ExpectedThumbnail(const std::string& fileName, QSize max, QSize canvas = QSize(), const QColor& margin = Qt::black);

// Equal size and equal colour at every pixel, whatever the two formats.
::testing::AssertionResult SamePixels(const QImage& actual, const QImage& expected);

// Waits for condition while letting events run, for up to a minute (pictures
// are decoded on worker threads, slowly under the sanitizers).
bool WaitFor(const std::function<bool()>& condition);

// Waits for condition without letting any event run, for up to a minute.
bool WaitWithoutEvents(const std::function<bool()>& condition);

}  // namespace tessalune::test
