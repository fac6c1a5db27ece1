// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublicDlgDraw.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

namespace tessalune {

QColor ToQColor(TColor color) {
  const std::uint32_t rgb = ColorToRGB(color);
  return QColor(int(rgb & 0xFFu), int((rgb >> 8) & 0xFFu), int((rgb >> 16) & 0xFFu));
}

void DrawStyleCell(QPainter& Canvas, TColor Fill, TColor Light, TColor Dark, int Width, int Height,
                   int Border, int Spacing) {
  int left = 20, top = 40, right = Width - 20, bottom = Height - 20;
  if (Border != 0) {
    Border = std::min(Border, 5);
    DrawBevelFrame(Canvas, QRect(QPoint(left, top), QPoint(right, bottom)), Light, Dark, Border);
    const int inset = Spacing + (Border + 1) / 2;
    left += inset;
    top += inset;
    right -= inset;
    bottom -= inset;
    DrawBevelFrame(Canvas, QRect(QPoint(left, top), QPoint(right, bottom)), Dark, Light, 1);
  }
  if (Fill != clNone) {
    ++left;
    ++top;
    Canvas.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(Fill));
  }
}

void DrawBevelFrame(QPainter& Canvas, const QRect& Rect, TColor TopLeft, TColor BottomRight, int Width) {
  QPen pen(ToQColor(TopLeft), Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  Canvas.setPen(pen);
  const QPoint topLeft[] = {Rect.bottomLeft(), Rect.topLeft(), Rect.topRight()};
  Canvas.drawPolyline(topLeft, 3);
  pen.setColor(ToQColor(BottomRight));
  Canvas.setPen(pen);
  const QPoint bottomRight[] = {Rect.topRight(), Rect.bottomRight(), Rect.bottomLeft()};
  Canvas.drawPolyline(bottomRight, 3);
}

void DrawCenteredText(QPainter& Canvas, int Top, int Width, const QString& Text, TColor Color) {
  Canvas.setPen(ToQColor(Color));
  const QFontMetrics metrics = Canvas.fontMetrics();
  const int x = (Width - metrics.horizontalAdvance(Text)) / 2;  // truncated toward zero
  Canvas.drawText(QPoint(x, Top + metrics.ascent()), Text);
}

}  // namespace tessalune
