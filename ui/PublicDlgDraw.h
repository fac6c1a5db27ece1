// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include "Colors.h"

class QPainter;

namespace tessalune {

// The drawing routines of the page style preview. Rectangles are given as
// QRect(QPoint(left, top), QPoint(right, bottom)): lines run along these four
// coordinates, and a filled rectangle leaves out its right and bottom edges.

// No colour, where a colour argument is optional.
inline constexpr TColor clNone = 0x1FFFFFFF;

// The colour that color shows on screen.
QColor ToQColor(TColor color);

// The sample table cell of a preview width x height: a bevelled frame of
// border (at most 5) pixels around (20, 40) to (width - 20, height - 20), an
// inner one-pixel frame spacing + ceil(border / 2) further in, and the
// inside filled with fill. A border of 0 draws no frame and ignores spacing;
// fill clNone leaves the inside as it is.
void DrawStyleCell(QPainter& Canvas, TColor Fill, TColor Light, TColor Dark, int Width, int Height,
                   int Border, int Spacing);

// A frame of pen width Width: the left and top edges in TopLeft, the right
// and bottom edges in BottomRight.
void DrawBevelFrame(QPainter& Canvas, const QRect& Rect, TColor TopLeft, TColor BottomRight, int Width);

// One line of text in the painter's font and Color, centred across Width
// (starting left of 0 when wider), its top at Top.
void DrawCenteredText(QPainter& Canvas, int Top, int Width, const QString& Text, TColor Color);

}  // namespace tessalune
