// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessalune::metafile {

// Caps that keep a hostile metafile from costing unbounded memory or time.
// Real pictures stay far below each of them.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;
inline constexpr std::size_t kMaxRecords = 1u << 20;
// The work one file may cost, all counted together: records, points (times
// the pen width when stroked), characters (by their height), bitmap pixels,
// target pixels covered, the length of dashed lines and clipping arithmetic,
// each at its own rate.
inline constexpr std::uint64_t kMaxWorkUnits = std::uint64_t{1} << 23;
inline constexpr double kPixelsPerWorkUnit = 64;
inline constexpr std::uint64_t kBitmapPixelsPerWorkUnit = 4;
inline constexpr double kDashPixelsPerWorkUnit = 16;
// Region arithmetic costs this much per path element of the area combined.
inline constexpr std::uint64_t kClipWorkPerElement = 16;
// A character costs this plus its height in pixels.
inline constexpr double kTextWorkPerCharacter = 16;
inline constexpr std::uint32_t kMaxRegionRects = 10000;
// Clipping areas with more path elements than this are taken by their
// bounding boxes.
inline constexpr int kMaxClipElements = 20000;
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
