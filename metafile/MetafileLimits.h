// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessalune::metafile {

// Caps that keep a hostile metafile from costing unbounded memory or time.
// Real pictures stay far below each of them.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;
inline constexpr std::size_t kMaxRecords = 1u << 20;
// The work one drawing of a file may cost, all counted together: records,
// points (times the pen width when stroked), characters (by their height),
// bitmap pixels, target pixels covered, the length and the dashes of dashed
// lines and clipping arithmetic, each at its own rate.
inline constexpr double kMaxWorkUnits = 1 << 23;
// The cap holds for targets up to the reference size and grows with the
// target's area (or a side's ratio, when larger) up to the largest scale.
// No cost grows faster than the target's area, text too small to draw is
// counted all the same and dashes too fine to draw count as drawn
// stretched, so a drawing that completes at the reference size completes at
// every size up to that scale.
inline constexpr double kWorkReferenceWidth = 800;
inline constexpr double kWorkReferenceHeight = 600;
inline constexpr double kMaxWorkScale = 25;
inline constexpr double kPixelsPerWorkUnit = 64;
inline constexpr double kBitmapPixelsPerWorkUnit = 4;
// Bitmaps drawn, and glyphs, cost their target pixels at this rate besides:
// Qt draws them more than ten times slower than it fills shapes.
inline constexpr double kImagePixelsPerWorkUnit = 4;
inline constexpr double kDashPixelsPerWorkUnit = 16;
// Dash patterns finer than this many target pixels are drawn stretched to it.
inline constexpr double kMinDashPeriod = 2;
// More entries than this make a user-styled pen solid, as Windows refuses it.
inline constexpr std::uint32_t kMaxDashEntries = 16;
// Region arithmetic costs this much per path element of the area combined,
// and this much per row that a slanted edge of it crosses.
inline constexpr double kClipWorkPerElement = 16;
inline constexpr double kClipWorkPerCrossing = 16;
// A character costs this plus its height in pixels, plus its em square's
// pixels at the image rate.
inline constexpr double kTextWorkPerCharacter = 16;
inline constexpr std::uint32_t kMaxRegionRects = 10000;
// Clipping areas with more path elements than this, or whose edges cross
// rows more often than this, are taken by their bounding boxes.
inline constexpr int kMaxClipElements = 20000;
inline constexpr double kMaxClipCrossings = 20000;
inline constexpr int kMaxPictureSide = 32767;
inline constexpr std::uint32_t kMaxObjects = 65535;
inline constexpr std::size_t kMaxSavedStates = 1024;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 24;
inline constexpr int kMaxBitmapSide = 1 << 15;
inline constexpr int kMaxTextLength = 4096;
// Text taller than this many times the target's larger side is not drawn.
inline constexpr double kMaxFontToTarget = 4;
// Shapes reaching beyond this many target pixels from the origin are skipped:
// they are lies, and stroking or dashing them would cost without bound.
inline constexpr double kMaxTargetCoordinate = 1 << 20;

}  // namespace tessalune::metafile
