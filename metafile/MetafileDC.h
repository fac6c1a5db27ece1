// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MetafileCharset.h"
#include "MetafileObjects.h"

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QRegion>
#include <QSizeF>
#include <QTransform>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class QPainter;

namespace tessalune::metafile {

// Where a metafile's device space lies and how large its device units are:
// frame is the part of device space that is stretched onto the target, and
// the pixels per millimetre serve the metric mapping modes.
struct TMetafileFrame {
  QRectF frame;
  double pixelsPerMmX = 96.0 / 25.4;
  double pixelsPerMmY = 96.0 / 25.4;
};

// What loading learns about a metafile: its size in pixels at 96 pixels per
// inch, where its device space lies, and how large its object table is.
struct TMetafileInfo {
  TMetafileFrame frame;
  int width = 0;
  int height = 0;
  std::uint32_t objects = 0;
};

struct TTextLine;

// How much a transform stretches lengths, on average.
double LengthScale(const QTransform& transform);

// Everything SaveDC keeps and RestoreDC brings back, starting as a new GDI
// device context does: MM_TEXT, black pen, white brush, opaque background,
// alternate filling, R2_COPYPEN, counter-clockwise arcs, BLACKONWHITE.
struct TMetaDCState {
  int mapMode = 1;
  QPointF windowOrg;
  QSizeF windowExt{1, 1};
  QPointF viewportOrg;
  QSizeF viewportExt{1, 1};
  QTransform world;
  QPointF position;
  TMetaPen pen;
  TMetaBrush brush;
  TMetaFont font;
  QColor textColor = Qt::black;
  std::uint32_t textAlign = 0;
  QColor bkColor = Qt::white;
  int bkMode = 2;
  int polyFillMode = 1;
  int rop2 = 13;
  int arcDirection = 1;
  int stretchMode = 1;
  // The clipping region in target pixels; none means unclipped.
  std::optional<QRegion> clip;

  // Makes a pen, brush or font the selected one; other objects change nothing.
  void Select(const TMetaObject& object);
};

// The device context that both players draw through: it keeps the state,
// turns logical coordinates into target pixels and draws GDI's primitives
// with QPainter. Shapes drawn between BeginPath and EndPath go into the
// current path instead.
class TMetafileDC {
public:
  TMetafileDC(QPainter& painter, const TMetafileFrame& frame, const QRectF& target);

  TMetaDCState& State() { return state_; }
  const TMetaDCState& State() const { return state_; }

  // Mapping.
  void SetMapMode(int mode);
  void SetWorldTransform(const QTransform& world);
  // Logical coordinates to target pixels, and a logical length to pixels.
  QTransform LogicalToTarget() const;
  QTransform LogicalToDevice() const;
  const QTransform& DeviceToTarget() const { return deviceToTarget_; }

  void SaveDC();
  void RestoreDC(int relative);

  // Clipping; rectangles are logical, areas are in target pixels.
  void IntersectClipRect(const QRectF& rect);
  void ExcludeClipRect(const QRectF& rect);
  void OffsetClip(const QPointF& offset);
  void CombineClip(const QPainterPath& area, int mode);
  void ResetClip();

  // Drawing, in logical coordinates.
  void MoveTo(const QPointF& point) { state_.position = point; }
  void LineTo(const QPointF& point);
  void Polyline(const QPolygonF& points);
  void PolylineTo(const QPolygonF& points);
  void PolyBezier(const QPolygonF& points, bool fromPosition);
  void Polygon(const QPolygonF& points);
  void PolyPolygon(const std::vector<QPolygonF>& polygons);
  void PolyPolyline(const std::vector<QPolygonF>& polylines);
  void Rectangle(const QRectF& box);
  void RoundRect(const QRectF& box, const QSizeF& corner);
  void Ellipse(const QRectF& box);
  enum class TArcKind { Arc, ArcTo, Chord, Pie };
  void Arc(TArcKind kind, const QRectF& box, const QPointF& start, const QPointF& end);
  // Points with PT_MOVETO, PT_LINETO, PT_BEZIERTO and PT_CLOSEFIGURE types.
  void PolyDraw(const QPolygonF& points, const std::vector<std::uint8_t>& types);
  void AngleArc(const QPointF& center, double radius, double startAngle, double sweepAngle);
  void SetPixel(const QPointF& point, const QColor& color);
  void FillArea(const QPainterPath& logical, const TMetaBrush& brush);
  void FrameArea(const QPainterPath& logical, const TMetaBrush& brush, const QSizeF& stroke);

  // Text at a logical reference point; dx holds the logical advance of each
  // byte or UTF-16 unit (empty: the font's own); rect is the
  // ETO_OPAQUE/ETO_CLIPPED box. 8-bit text is in the selected font's
  // character set.
  void TextOutA(const QPointF& reference, std::string_view bytes, const std::vector<double>& dx,
                std::uint32_t options, const std::optional<QRectF>& rect);
  void TextOutW(const QPointF& reference, const QString& text, const std::vector<double>& dx,
                std::uint32_t options, const std::optional<QRectF>& rect);
  TCharsetDecoder& Charsets() { return charsets_; }

  // Bitmaps: source is in the image's pixels, destination logical; rop is a
  // ternary raster operation. PatBlt fills with the brush alone.
  void StretchBitmap(const QRectF& destination, const QImage& image, const QRectF& source,
                     std::uint32_t rop);
  void PatBlt(const QRectF& destination, std::uint32_t rop);

  // Paths.
  void BeginPath();
  void EndPath() { inPath_ = false; }
  void AbortPath();
  void CloseFigure();
  void FillPath();
  void StrokePath();
  void StrokeAndFillPath();
  void SelectClipPath(int mode);

  // Counts work against the cap of this drawing; false once it is spent.
  bool Spend(double units);
  QPainter& Painter() { return painter_; }
  // Sets the painter's clip from the state (after a change of clip or state).
  void ApplyClip();
  // A brush for QPainter, with patterns aligned to target pixels.
  QBrush MakeBrush(const TMetaBrush& brush) const;
  // True when a target-pixel rectangle is small enough to draw.
  static bool Drawable(const QRectF& targetBounds);

private:
  void Draw(const QPainterPath& logical, bool fill, bool stroke);
  void StrokeDevicePath(const QPainterPath& device, bool fill, bool stroke);
  QPen MakePen(double scale) const;
  void TextOut(const QPointF& reference, const QString& text, const std::vector<double>& dx,
               std::uint32_t options, const std::optional<QRectF>& rect);
  // Draws a laid-out line at anchor (target pixels), turned by the
  // escapement; whole draws the string at once, else character by character.
  void PaintText(const QString& text, const TTextLine& line, const QPointF& anchor,
                 bool background, bool whole);
  QRectF ExcludingEdges(const QRectF& box) const;
  QPainterPath ArcPath(TArcKind kind, const QRectF& box, const QPointF& start, const QPointF& end) const;

  // Counts a drawing's points and the target pixels it may cover.
  bool SpendOn(const QPainterPath& target);
  // Wider pens than this cover the whole target anyway.
  double MaxPenWidth() const { return 2 * std::max(target_.width(), target_.height()) + 16; }

  QPainter& painter_;
  TMetafileFrame frame_;
  QRectF target_;
  QTransform deviceToTarget_;
  TMetaDCState state_;
  std::vector<TMetaDCState> saved_;
  bool inPath_ = false;
  QPainterPath path_;  // in device coordinates
  TCharsetDecoder charsets_;
  double work_ = 0;
  double workCap_;
};

}  // namespace tessalune::metafile
