// SPDX-License-Identifier: GPL-3.0-or-later
// The painting half of the device context: pens, brushes, raster operations
// and bitmaps turned into QPainter calls in target pixels.
#include "MetafileDC.h"

#include "MetafileLimits.h"

#include <QLineF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace tessalune::metafile {

namespace {

constexpr std::uint32_t kPenStyleMask = 0x0F;
constexpr std::uint32_t kPenNull = 5;
constexpr std::uint32_t kPenUserStyle = 7;
constexpr std::uint32_t kPenCapMask = 0x0F00;
constexpr std::uint32_t kPenCapSquare = 0x0100;
constexpr std::uint32_t kPenCapFlat = 0x0200;
constexpr std::uint32_t kPenJoinMask = 0xF000;
constexpr std::uint32_t kPenJoinBevel = 0x1000;
constexpr std::uint32_t kPenJoinMiter = 0x2000;
constexpr std::uint32_t kPenTypeMask = 0x000F0000;
constexpr std::uint32_t kPenGeometric = 0x00010000;
// The shortest dash or gap handed to Qt, in pen widths: a capped dash of
// this length draws as a dot.
constexpr double kShortestDash = 1.0 / 64;
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

// The dashes and gaps of a geometric pen's dash style in pen widths, as
// Windows lays them.
std::vector<double> GeometricPattern(std::uint32_t style) {
  switch (style & kPenStyleMask) {
    case 1: return {3, 1};
    case 2: return {1, 1};
    case 3: return {3, 1, 1, 1};
    case 4: return {3, 1, 1, 1, 1, 1};
    default: return {};
  }
}

// Gives pen the dashes and gaps of pixels (target pixels, from a dash); an
// empty or zero pattern leaves it solid. Patterns finer than the shortest
// period are stretched to it. Qt counts dashes in pen widths and puts caps
// beyond a dash's ends, where GDI keeps a dash's caps within its length: a
// capped pen's dashes give their caps' length to the gaps, and the pattern
// starts half a cap early.
void SetDashes(QPen& pen, std::vector<double> pixels, double width, bool capped) {
  if (pixels.size() % 2 != 0) pixels.insert(pixels.end(), pixels.begin(), pixels.end());
  const double period = std::accumulate(pixels.begin(), pixels.end(), 0.0);
  if (!(period > 0) || !std::isfinite(period)) return;
  const double stretch = std::max(1.0, kMinDashPeriod / period);
  const double cap = capped ? width : 0;
  QList<qreal> pattern;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const double length = pixels[i] * stretch + (i % 2 == 0 ? -cap : cap);
    pattern.append(std::max(length / width, kShortestDash));
  }
  pen.setDashPattern(pattern);
  if (capped) pen.setDashOffset(std::accumulate(pattern.begin(), pattern.end(), 0.0) - 0.5);
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
// dashes by the length they are laid along and by their number.
double StrokeCost(const QPainterPath& target, const QPen& pen) {
  if (pen.style() == Qt::NoPen) return 0;
  const double width = std::max(1.0, pen.widthF());
  double cost = target.elementCount() * width;
  if (pen.style() == Qt::SolidLine) return cost;
  const QList<qreal> pattern = pen.dashPattern();
  const double period = std::accumulate(pattern.begin(), pattern.end(), 0.0) * width;
  const double length = PathLength(target);
  cost += length / kDashPixelsPerWorkUnit;
  if (period > 0) cost += length / period * static_cast<double>(pattern.size()) / 2;
  return cost;
}

}  // namespace

QBrush TMetafileDC::MakeBrush(const TMetaBrush& brush) const {
  if (brush.style == kBrushNull) return Qt::NoBrush;
  if (brush.style == kBrushHatched) return QBrush(brush.color, HatchStyle(brush.hatch));
  if (!brush.pattern.isNull()) return QBrush(brush.pattern);
  return QBrush(brush.color);
}

// A pen in target pixels; scale turns the pen's logical width into pixels.
// Thin pens draw one pixel and keep their dashes, as on the screen; wide
// geometric pens lay their dashes by their width, and user-styled pens lay
// their own.
QPen TMetafileDC::MakePen(double scale) const {
  const TMetaPen& pen = state_.pen;
  const std::uint32_t kind = pen.style & kPenStyleMask;
  if (kind == kPenNull) return Qt::NoPen;
  const bool geometric = (pen.style & kPenTypeMask) == kPenGeometric;
  std::vector<double> dashes;
  if (kind == kPenUserStyle)
    for (const double length : pen.dashes) dashes.push_back(length * (geometric ? scale : 1));
  const double width = pen.width * scale;
  QPen result(pen.color);
  if (!(width > 1.5)) {
    result.setWidth(0);
    if (kind == kPenUserStyle)
      SetDashes(result, dashes, 1, false);
    else
      result.setStyle(DashStyle(pen.style));
    return result;
  }
  const double drawn = std::min(width, MaxPenWidth());
  result.setWidthF(drawn);
  const std::uint32_t cap = pen.style & kPenCapMask;
  result.setCapStyle(cap == kPenCapSquare ? Qt::SquareCap
                     : cap == kPenCapFlat ? Qt::FlatCap
                                          : Qt::RoundCap);
  const std::uint32_t join = pen.style & kPenJoinMask;
  result.setJoinStyle(join == kPenJoinBevel   ? Qt::BevelJoin
                      : join == kPenJoinMiter ? Qt::MiterJoin
                                              : Qt::RoundJoin);
  if (geometric && kind != kPenUserStyle)
    for (const double length : GeometricPattern(pen.style)) dashes.push_back(length * drawn);
  SetDashes(result, dashes, drawn, cap != kPenCapFlat);
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
  const QRectF covered = area.boundingRect().intersected(target_);
  if (!Drawable(area.boundingRect()) || !SpendOn(area) ||
      !Spend(covered.width() * covered.height() / kImagePixelsPerWorkUnit))
    return;
  painter_.setTransform(toTarget);
  painter_.setCompositionMode(CompositionForSourceRop(rop));
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, state_.stretchMode == 4);
  painter_.drawImage(from, image, from);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.setTransform(QTransform());
}

}  // namespace tessalune::metafile
