// SPDX-License-Identifier: GPL-3.0-or-later
// The painting half of the device context: pens, brushes, raster operations
// and bitmaps turned into QPainter calls in target pixels.
#include "MetafileDC.h"

#include "MetafileLimits.h"

#include <QLineF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessalune::metafile {

namespace {

constexpr std::uint32_t kPenStyleMask = 0x0F;
constexpr std::uint32_t kPenNull = 5;
constexpr std::uint32_t kBrushNull = 1;
constexpr std::uint32_t kBrushHatched = 2;
constexpr int kRopNop = 11;
constexpr int kRopBlack = 1;
constexpr int kRopWhite = 16;

QPainter::CompositionMode CompositionForRop2(int rop2) {
  switch (rop2) {
    case 4: return QPainter::RasterOp_NotSource;
    case 6: return QPainter::RasterOp_NotDestination;
    case 7: return QPainter::RasterOp_SourceXorDestination;
    case 9: return QPainter::RasterOp_SourceAndDestination;
    case 15: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

// Ternary raster operations that combine the source bitmap with the
// destination; anything else with a source is drawn as a plain copy.
QPainter::CompositionMode CompositionForSourceRop(std::uint32_t rop) {
  switch (rop) {
    case 0x00EE0086: return QPainter::RasterOp_SourceOrDestination;   // SRCPAINT
    case 0x008800C6: return QPainter::RasterOp_SourceAndDestination;  // SRCAND
    case 0x00660046: return QPainter::RasterOp_SourceXorDestination;  // SRCINVERT
    case 0x00330008: return QPainter::RasterOp_NotSource;             // NOTSRCCOPY
    case 0x00440328: return QPainter::RasterOp_SourceAndNotDestination;     // SRCERASE
    case 0x001100A6: return QPainter::RasterOp_NotSourceAndNotDestination;  // NOTSRCERASE
    case 0x00BB0226: return QPainter::RasterOp_NotSourceOrDestination;      // MERGEPAINT
    default: return QPainter::CompositionMode_SourceOver;
  }
}

// True when a ternary raster operation does not read the source: its truth
// table is the same for source bits 0 and 1.
bool IgnoresSource(std::uint32_t rop) {
  const std::uint32_t table = (rop >> 16) & 0xFF;
  return ((table >> 2) & 0x33) == (table & 0x33);
}

Qt::BrushStyle HatchStyle(std::uint32_t hatch) {
  switch (hatch) {
    case 0: return Qt::HorPattern;
    case 1: return Qt::VerPattern;
    case 2: return Qt::FDiagPattern;
    case 3: return Qt::BDiagPattern;
    case 4: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
  }
}

Qt::PenStyle DashStyle(std::uint32_t style) {
  switch (style & kPenStyleMask) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
  }
}

// The length of a path's segments in pixels, control points taken as corners.
double PathLength(const QPainterPath& path) {
  double length = 0;
  for (int i = 1; i < path.elementCount(); ++i) {
    const QPainterPath::Element& element = path.elementAt(i);
    if (!element.isMoveTo()) length += QLineF(path.elementAt(i - 1), element).length();
  }
  return length;
}

// Work units for stroking: wide pens cost by their width at every point, and
// dashes by the length they are laid along.
std::uint64_t StrokeCost(const QPainterPath& target, const QPen& pen) {
  if (pen.style() == Qt::NoPen) return 0;
  const double perPoint = std::max(1.0, pen.widthF());
  double cost = target.elementCount() * perPoint;
  if (pen.style() != Qt::SolidLine) cost += PathLength(target) / kDashPixelsPerWorkUnit;
  return cost < static_cast<double>(kMaxWorkUnits) ? static_cast<std::uint64_t>(cost)
                                                    : kMaxWorkUnits + 1;
}

}  // namespace

QBrush TMetafileDC::MakeBrush(const TMetaBrush& brush) const {
  if (brush.style == kBrushNull) return Qt::NoBrush;
  if (brush.style == kBrushHatched) return QBrush(brush.color, HatchStyle(brush.hatch));
  if (!brush.pattern.isNull()) return QBrush(brush.pattern);
  return QBrush(brush.color);
}

// A pen in target pixels; scale turns the pen's logical width into pixels.
// Thin pens draw one pixel and keep their dashes, as on the screen.
QPen TMetafileDC::MakePen(double scale) const {
  const TMetaPen& pen = state_.pen;
  if ((pen.style & kPenStyleMask) == kPenNull) return Qt::NoPen;
  const double width = pen.width * scale;
  QPen result(pen.color);
  if (!(width > 1.5)) {
    result.setWidth(0);
    result.setStyle(DashStyle(pen.style));
    return result;
  }
  result.setWidthF(std::min(width, MaxPenWidth()));
  const std::uint32_t cap = pen.style & 0x0F00;
  result.setCapStyle(cap == 0x0100 ? Qt::SquareCap : cap == 0x0200 ? Qt::FlatCap : Qt::RoundCap);
  const std::uint32_t join = pen.style & 0xF000;
  result.setJoinStyle(join == 0x1000   ? Qt::BevelJoin
                      : join == 0x2000 ? Qt::MiterJoin
                                       : Qt::RoundJoin);
  return result;
}

void TMetafileDC::StrokeDevicePath(const QPainterPath& device, bool fill, bool stroke) {
  if (state_.rop2 == kRopNop) return;
  QPainterPath target = deviceToTarget_.map(device);
  target.setFillRule(state_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
  TMetaBrush brush = state_.brush;
  QPen pen = MakePen(LengthScale(LogicalToDevice()) * LengthScale(deviceToTarget_));
  if (!Drawable(target.boundingRect()) || !SpendOn(target) ||
      (stroke && !Spend(StrokeCost(target, pen))))
    return;
  if (state_.rop2 == kRopBlack || state_.rop2 == kRopWhite) {
    const QColor forced = state_.rop2 == kRopBlack ? Qt::black : Qt::white;
    brush.color = forced;
    brush.pattern = QImage();
    pen.setColor(forced);
  }
  painter_.setTransform(QTransform());
  painter_.setCompositionMode(CompositionForRop2(state_.rop2));
  painter_.setBackgroundMode(state_.bkMode == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_.setBackground(state_.bkColor);
  if (fill && brush.style != kBrushNull) painter_.fillPath(target, MakeBrush(brush));
  if (stroke && pen.style() != Qt::NoPen) painter_.strokePath(target, pen);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TMetafileDC::PatBlt(const QRectF& destination, std::uint32_t rop) {
  QPainterPath area;
  area.addRect(destination.normalized());
  area = LogicalToTarget().map(area);
  if (!Drawable(area.boundingRect()) || !SpendOn(area)) return;
  QBrush brush;
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  switch (rop) {
    case 0x00000042: brush = QBrush(Qt::black); break;  // BLACKNESS
    case 0x00FF0062: brush = QBrush(Qt::white); break;  // WHITENESS
    case 0x00F00021: brush = MakeBrush(state_.brush); break;  // PATCOPY
    case 0x005A0049:  // PATINVERT
      brush = MakeBrush(state_.brush);
      mode = QPainter::RasterOp_SourceXorDestination;
      break;
    case 0x00550009:  // DSTINVERT
      brush = QBrush(Qt::black);
      mode = QPainter::RasterOp_NotDestination;
      break;
    default: return;
  }
  painter_.setTransform(QTransform());
  painter_.setCompositionMode(mode);
  painter_.fillPath(area, brush);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TMetafileDC::StretchBitmap(const QRectF& destination, const QImage& image,
                                const QRectF& source, std::uint32_t rop) {
  if (IgnoresSource(rop)) {
    PatBlt(destination, rop);
    return;
  }
  const QRectF from = source.intersected(QRectF(image.rect()));
  if (image.isNull() || from.isEmpty() || source.width() <= 0 || source.height() <= 0) return;
  // Image pixels to logical units: the source rectangle lands on destination.
  const double sx = destination.width() / source.width();
  const double sy = destination.height() / source.height();
  const QTransform imageToLogical(sx, 0, 0, sy, destination.left() - source.left() * sx,
                                  destination.top() - source.top() * sy);
  const QTransform toTarget = imageToLogical * LogicalToTarget();
  QPainterPath area;
  area.addRect(toTarget.mapRect(from));
  if (!Drawable(area.boundingRect()) || !SpendOn(area)) return;
  painter_.setTransform(toTarget);
  painter_.setCompositionMode(CompositionForSourceRop(rop));
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, state_.stretchMode == 4);
  painter_.drawImage(from, image, from);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.setTransform(QTransform());
}

}  // namespace tessalune::metafile
