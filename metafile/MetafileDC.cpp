// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileDC.h"

#include "MetafileLimits.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessalune::metafile {

namespace {

constexpr int kMapText = 1;
constexpr int kMapIsotropic = 7;
constexpr int kMapAnisotropic = 8;
constexpr double kPi = 3.14159265358979323846;

// Millimetres per logical unit of the fixed-scale mapping modes 2 to 6.
double MillimetresPerUnit(int mapMode) {
  switch (mapMode) {
    case 2: return 0.1;
    case 3: return 0.01;
    case 4: return 0.254;
    case 5: return 0.0254;
    case 6: return 25.4 / 1440;
    default: return 0;
  }
}

double SafeRatio(double numerator, double denominator) {
  return denominator == 0 ? 1 : numerator / denominator;
}

bool Finite(const QTransform& t) {
  return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
         std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

QPainterPath RectPath(const QRectF& rect) {
  QPainterPath path;
  path.addRect(rect.normalized());
  return path;
}

// A rectangle far larger than any target, standing for "no clipping".
QRegion Everything() {
  const int side = static_cast<int>(kMaxTargetCoordinate);
  return QRegion(-side, -side, 2 * side, 2 * side);
}

// The pixel rectangle that a polygon outlines, when it outlines one along
// the axes. Corners are rounded as Qt rounds polygons it makes regions of.
std::optional<QRect> PixelRectangleOf(const QPolygonF& polygon) {
  const QPolygon corners = polygon.toPolygon();
  const bool closed = corners.size() > 1 && corners.front() == corners.back();
  const qsizetype count = closed ? corners.size() - 1 : corners.size();
  if (count != 4) return std::nullopt;
  for (qsizetype i = 0; i < count; ++i) {
    const QPoint& a = corners[i];
    const QPoint& b = corners[(i + 1) % count];
    if (a.x() != b.x() && a.y() != b.y()) return std::nullopt;
  }
  const QRect box = corners.boundingRect();
  return QRect(box.topLeft(), QSize(box.width() - 1, box.height() - 1));
}

// About twice the number of rectangles that Qt makes of the other polygons
// within the rows of bounds: every edge adds one at each row it crosses.
// Qt's cost of making a region grows faster than its rectangles.
double Crossings(const QList<QPolygonF>& polygons, const QRectF& bounds) {
  double crossings = 0;
  for (const QPolygonF& polygon : polygons) {
    if (PixelRectangleOf(polygon)) continue;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
      const QPointF& a = polygon[i];
      const QPointF& b = polygon[(i + 1) % polygon.size()];
      const double top = std::max(std::min(a.y(), b.y()), bounds.top());
      const double bottom = std::min(std::max(a.y(), b.y()), bounds.bottom());
      crossings += std::max(bottom - top, 0.0) + 1;
    }
  }
  return crossings;
}

// The pixels of the polygons of an area within bounds, as GDI keeps
// clipping regions. Subpaths are united under the winding rule and
// exclusive-ored under the alternate rule.
QRegion RegionOf(const QList<QPolygonF>& polygons, Qt::FillRule rule, const QRectF& bounds) {
  QRegion region;
  for (QPolygonF polygon : polygons) {
    if (!bounds.contains(polygon.boundingRect())) polygon = polygon.intersected(QPolygonF(bounds));
    const std::optional<QRect> rectangle = PixelRectangleOf(polygon);
    const QRegion part = rectangle ? QRegion(*rectangle) : QRegion(polygon.toPolygon(), rule);
    region = rule == Qt::WindingFill ? region.united(part) : region.xored(part);
  }
  return region;
}

// How many times the reference cap a drawing into target may spend.
double WorkScale(const QRectF& target) {
  const double width = std::abs(target.width()) / kWorkReferenceWidth;
  const double height = std::abs(target.height()) / kWorkReferenceHeight;
  return std::clamp(std::max({width * height, width, height}), 1.0, kMaxWorkScale);
}

}  // namespace

double LengthScale(const QTransform& transform) {
  return std::sqrt(std::abs(transform.determinant()));
}

void TMetaDCState::Select(const TMetaObject& object) {
  if (const auto* selected = std::get_if<TMetaPen>(&object)) pen = *selected;
  if (const auto* selected = std::get_if<TMetaBrush>(&object)) brush = *selected;
  if (const auto* selected = std::get_if<TMetaFont>(&object)) font = *selected;
}

TMetafileDC::TMetafileDC(QPainter& painter, const TMetafileFrame& frame, const QRectF& target)
    : painter_(painter), frame_(frame), target_(target),
      workCap_(kMaxWorkUnits * WorkScale(target)) {
  const double sx = SafeRatio(target.width(), frame.frame.width());
  const double sy = SafeRatio(target.height(), frame.frame.height());
  deviceToTarget_ = QTransform(sx, 0, 0, sy, target.left() - frame.frame.left() * sx,
                               target.top() - frame.frame.top() * sy);
  painter_.setTransform(QTransform());
  painter_.setRenderHint(QPainter::Antialiasing, false);
  ApplyClip();
}

void TMetafileDC::SetMapMode(int mode) {
  if (mode >= kMapText && mode <= kMapAnisotropic) state_.mapMode = mode;
}

void TMetafileDC::SetWorldTransform(const QTransform& world) {
  if (Finite(world) && world.determinant() != 0 && std::isfinite(world.determinant()))
    state_.world = world;
}

QTransform TMetafileDC::LogicalToDevice() const {
  double sx = 1;
  double sy = 1;
  if (state_.mapMode == kMapIsotropic || state_.mapMode == kMapAnisotropic) {
    sx = SafeRatio(state_.viewportExt.width(), state_.windowExt.width());
    sy = SafeRatio(state_.viewportExt.height(), state_.windowExt.height());
    if (state_.mapMode == kMapIsotropic) {
      const double s = std::min(std::abs(sx), std::abs(sy));
      sx = std::copysign(s, sx);
      sy = std::copysign(s, sy);
    }
  } else if (state_.mapMode != kMapText) {
    sx = frame_.pixelsPerMmX * MillimetresPerUnit(state_.mapMode);
    sy = -frame_.pixelsPerMmY * MillimetresPerUnit(state_.mapMode);
  }
  const QTransform page(sx, 0, 0, sy, state_.viewportOrg.x() - state_.windowOrg.x() * sx,
                        state_.viewportOrg.y() - state_.windowOrg.y() * sy);
  return state_.world * page;
}

QTransform TMetafileDC::LogicalToTarget() const { return LogicalToDevice() * deviceToTarget_; }

void TMetafileDC::SaveDC() {
  if (saved_.size() < kMaxSavedStates) saved_.push_back(state_);
}

void TMetafileDC::RestoreDC(int relative) {
  const auto depth = static_cast<long long>(saved_.size());
  const long long level = relative < 0 ? depth + relative : static_cast<long long>(relative) - 1;
  if (relative == 0 || level < 0 || level >= depth) return;
  state_ = saved_[static_cast<std::size_t>(level)];
  saved_.resize(static_cast<std::size_t>(level));
  ApplyClip();
}

void TMetafileDC::IntersectClipRect(const QRectF& rect) {
  CombineClip(LogicalToTarget().map(RectPath(rect)), 1);
}

void TMetafileDC::ExcludeClipRect(const QRectF& rect) {
  CombineClip(LogicalToTarget().map(RectPath(rect)), 4);
}

void TMetafileDC::OffsetClip(const QPointF& offset) {
  if (!state_.clip) return;
  const QTransform toTarget = LogicalToTarget();
  const QPointF shift = toTarget.map(offset) - toTarget.map(QPointF());
  if (!Drawable(QRectF(shift, shift))) return;
  state_.clip->translate(shift.toPoint());
  ApplyClip();
}

// mode: 1 intersect, 2 unite, 3 exclusive or, 4 subtract, 5 replace.
// Areas too intricate to make a region of in good time are taken by their
// bounding boxes.
void TMetafileDC::CombineClip(const QPainterPath& given, int mode) {
  if (!Spend(given.elementCount() * kClipWorkPerElement + 1) ||
      !Drawable(given.boundingRect()))
    return;
  // Only the target's pixels matter; a margin keeps its edges exact.
  const QRectF bounds = target_.adjusted(-2, -2, 2, 2);
  const QList<QPolygonF> polygons =
      given.elementCount() > kMaxClipElements ? QList<QPolygonF>() : given.toSubpathPolygons();
  const double crossings = Crossings(polygons, bounds);
  if (!Spend(crossings * kClipWorkPerCrossing)) return;
  const QRegion area =
      given.elementCount() > kMaxClipElements || crossings > kMaxClipCrossings
          ? QRegion(given.boundingRect().intersected(bounds).toAlignedRect())
          : RegionOf(polygons, given.fillRule(), bounds);
  const QRegion current = state_.clip.value_or(Everything());
  switch (mode) {
    case 1: state_.clip = current.intersected(area); break;
    case 2: state_.clip = current.united(area); break;
    case 3: state_.clip = current.xored(area); break;
    case 4: state_.clip = current.subtracted(area); break;
    case 5: state_.clip = area; break;
    default: return;
  }
  ApplyClip();
}

void TMetafileDC::ResetClip() {
  state_.clip.reset();
  ApplyClip();
}

void TMetafileDC::ApplyClip() {
  painter_.setTransform(QTransform());
  if (state_.clip)
    painter_.setClipRegion(*state_.clip);
  else
    painter_.setClipping(false);
}

bool TMetafileDC::Spend(double units) {
  if (work_ > workCap_) return false;
  if (units > 0) work_ += units;
  return work_ <= workCap_;
}

bool TMetafileDC::SpendOn(const QPainterPath& target) {
  const QRectF covered = target.boundingRect().intersected(target_);
  return Spend(target.elementCount() + 1 + covered.width() * covered.height() / kPixelsPerWorkUnit);
}

bool TMetafileDC::Drawable(const QRectF& bounds) {
  return std::isfinite(bounds.left()) && std::isfinite(bounds.top()) &&
         std::isfinite(bounds.right()) && std::isfinite(bounds.bottom()) &&
         std::abs(bounds.left()) <= kMaxTargetCoordinate &&
         std::abs(bounds.right()) <= kMaxTargetCoordinate &&
         std::abs(bounds.top()) <= kMaxTargetCoordinate &&
         std::abs(bounds.bottom()) <= kMaxTargetCoordinate;
}

void TMetafileDC::LineTo(const QPointF& point) {
  QPainterPath path(state_.position);
  path.lineTo(point);
  state_.position = point;
  if (inPath_) {
    const QTransform toDevice = LogicalToDevice();
    if (path_.elementCount() == 0 || path_.currentPosition() != toDevice.map(path.elementAt(0)))
      path_.moveTo(toDevice.map(QPointF(path.elementAt(0))));
    path_.lineTo(toDevice.map(point));
    return;
  }
  Draw(path, false, true);
}

void TMetafileDC::Polyline(const QPolygonF& points) {
  if (points.size() < 2) return;
  QPainterPath path;
  path.addPolygon(points);
  Draw(path, false, true);
}

void TMetafileDC::PolylineTo(const QPolygonF& points) {
  for (const QPointF& point : points) LineTo(point);
}

void TMetafileDC::PolyBezier(const QPolygonF& points, bool fromPosition) {
  QPolygonF all = points;
  if (fromPosition) all.prepend(state_.position);
  if (all.size() < 4 || (all.size() - 1) % 3 != 0) return;
  QPainterPath path(all[0]);
  for (qsizetype i = 1; i + 2 < all.size(); i += 3) path.cubicTo(all[i], all[i + 1], all[i + 2]);
  if (fromPosition) {
    state_.position = all.back();
    if (inPath_) {
      const QTransform toDevice = LogicalToDevice();
      if (path_.elementCount() == 0 || path_.currentPosition() != toDevice.map(all[0]))
        path_.moveTo(toDevice.map(all[0]));
      path_.connectPath(toDevice.map(path));
      return;
    }
  }
  Draw(path, false, true);
}

void TMetafileDC::Polygon(const QPolygonF& points) {
  if (points.size() < 2) return;
  QPainterPath path;
  path.addPolygon(points);
  path.closeSubpath();
  Draw(path, true, true);
}

void TMetafileDC::PolyPolygon(const std::vector<QPolygonF>& polygons) {
  QPainterPath path;
  for (const QPolygonF& polygon : polygons) {
    path.addPolygon(polygon);
    path.closeSubpath();
  }
  Draw(path, true, true);
}

void TMetafileDC::PolyPolyline(const std::vector<QPolygonF>& polylines) {
  QPainterPath path;
  for (const QPolygonF& polyline : polylines) path.addPolygon(polyline);
  Draw(path, false, true);
}

// GDI puts a rectangle's, ellipse's, chord's or pie's bounding box on whole
// device pixels and leaves out its right column and bottom row; the box is
// treated so in target pixels (outside paths, and when nothing turns the
// drawing).
QRectF TMetafileDC::ExcludingEdges(const QRectF& box) const {
  const QTransform toTarget = LogicalToTarget();
  if (inPath_ || toTarget.type() > QTransform::TxScale || !toTarget.isInvertible())
    return box.normalized();
  const QRectF pixels = toTarget.mapRect(box.normalized());
  if (!Drawable(pixels)) return box.normalized();
  const QRectF whole(QPointF(std::round(pixels.left()), std::round(pixels.top())),
                     QPointF(std::round(pixels.right()) - 1, std::round(pixels.bottom()) - 1));
  if (whole.width() < 0 || whole.height() < 0) return box.normalized();
  return toTarget.inverted().mapRect(whole);
}

void TMetafileDC::Rectangle(const QRectF& box) { Draw(RectPath(ExcludingEdges(box)), true, true); }

void TMetafileDC::RoundRect(const QRectF& box, const QSizeF& corner) {
  QPainterPath path;
  path.addRoundedRect(ExcludingEdges(box), std::abs(corner.width()) / 2,
                      std::abs(corner.height()) / 2);
  Draw(path, true, true);
}

void TMetafileDC::Ellipse(const QRectF& box) {
  QPainterPath path;
  path.addEllipse(ExcludingEdges(box));
  Draw(path, true, true);
}

// GDI measures the arc's ends by rays from the centre through the given
// points; QPainterPath wants the ellipse's parametric angles, counted
// counter-clockwise as seen on the device.
QPainterPath TMetafileDC::ArcPath(TArcKind kind, const QRectF& box, const QPointF& start,
                                  const QPointF& end) const {
  QPainterPath path;
  const QRectF rect = kind == TArcKind::Chord || kind == TArcKind::Pie ? ExcludingEdges(box)
                                                                       : box.normalized();
  const double rx = rect.width() / 2;
  const double ry = rect.height() / 2;
  if (rx <= 0 || ry <= 0) return path;
  const QPointF c = rect.center();
  const auto angle = [&](const QPointF& p) {
    return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / kPi;
  };
  const double a = angle(start);
  double sweep = std::fmod(angle(end) - a + 720, 360.0);
  if (sweep == 0) sweep = 360;
  const bool flipped = LogicalToDevice().determinant() < 0;
  const bool clockwise = (state_.arcDirection == 2) != flipped;
  if (clockwise) sweep -= 360;
  if (kind == TArcKind::Pie) {
    path.moveTo(c);
    path.arcTo(rect, a, sweep);
  } else {
    path.arcMoveTo(rect, a);
    path.arcTo(rect, a, sweep);
  }
  if (kind == TArcKind::Pie || kind == TArcKind::Chord) path.closeSubpath();
  return path;
}

void TMetafileDC::Arc(TArcKind kind, const QRectF& box, const QPointF& start,
                      const QPointF& end) {
  QPainterPath path = ArcPath(kind, box, start, end);
  if (path.isEmpty()) return;
  if (kind == TArcKind::ArcTo) {
    QPainterPath joined(state_.position);
    joined.lineTo(path.elementAt(0));
    joined.connectPath(path);
    state_.position = path.currentPosition();
    path = joined;
  }
  const bool closed = kind == TArcKind::Chord || kind == TArcKind::Pie;
  Draw(path, closed, true);
}

void TMetafileDC::PolyDraw(const QPolygonF& points, const std::vector<std::uint8_t>& types) {
  constexpr std::uint8_t kClose = 0x01;
  constexpr std::uint8_t kLine = 0x02;
  constexpr std::uint8_t kBezier = 0x04;
  constexpr std::uint8_t kMove = 0x06;
  QPainterPath path(state_.position);
  const qsizetype count = std::min(points.size(), static_cast<qsizetype>(types.size()));
  for (qsizetype i = 0; i < count; ++i) {
    const std::uint8_t type = types[static_cast<std::size_t>(i)];
    if ((type & ~kClose) == kMove) {
      path.moveTo(points[i]);
    } else if ((type & ~kClose) == kLine) {
      path.lineTo(points[i]);
    } else if ((type & ~kClose) == kBezier && i + 2 < count) {
      path.cubicTo(points[i], points[i + 1], points[i + 2]);
      i += 2;
    } else {
      break;
    }
    if (types[static_cast<std::size_t>(i)] & kClose) path.closeSubpath();
  }
  state_.position = path.currentPosition();
  Draw(path, false, true);
}

void TMetafileDC::AngleArc(const QPointF& center, double radius, double startAngle,
                           double sweepAngle) {
  if (!(radius > 0) || !std::isfinite(startAngle) || !std::isfinite(sweepAngle)) return;
  const QRectF rect(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
  QPainterPath arc;
  arc.arcMoveTo(rect, startAngle);
  arc.arcTo(rect, startAngle, std::clamp(sweepAngle, -3600.0, 3600.0));
  QPainterPath path(state_.position);
  path.lineTo(arc.elementAt(0));
  path.connectPath(arc);
  state_.position = path.currentPosition();
  Draw(path, false, true);
}

void TMetafileDC::SetPixel(const QPointF& point, const QColor& color) {
  const QPointF at = LogicalToTarget().map(point);
  if (!Drawable(QRectF(at, at))) return;
  painter_.fillRect(QRectF(std::floor(at.x()), std::floor(at.y()), 1, 1), color);
}

void TMetafileDC::FillArea(const QPainterPath& logical, const TMetaBrush& brush) {
  const QPainterPath target = LogicalToTarget().map(logical);
  if (!Drawable(target.boundingRect()) || !SpendOn(target)) return;
  painter_.fillPath(target, MakeBrush(brush));
}

void TMetafileDC::FrameArea(const QPainterPath& logical, const TMetaBrush& brush,
                            const QSizeF& stroke) {
  const QPainterPath target = LogicalToTarget().map(logical);
  const double width = std::max(1.0, (std::abs(stroke.width()) + std::abs(stroke.height())) *
                                         LengthScale(LogicalToTarget()));
  if (!Drawable(target.boundingRect()) || !SpendOn(target)) return;
  QPen pen(MakeBrush(brush), std::min(width, MaxPenWidth()));
  painter_.strokePath(target, pen);
}

void TMetafileDC::BeginPath() {
  inPath_ = true;
  path_ = QPainterPath();
}

void TMetafileDC::AbortPath() {
  inPath_ = false;
  path_ = QPainterPath();
}

void TMetafileDC::CloseFigure() {
  if (inPath_) path_.closeSubpath();
}

void TMetafileDC::FillPath() {
  StrokeDevicePath(path_, true, false);
  path_ = QPainterPath();
}

void TMetafileDC::StrokePath() {
  StrokeDevicePath(path_, false, true);
  path_ = QPainterPath();
}

void TMetafileDC::StrokeAndFillPath() {
  StrokeDevicePath(path_, true, true);
  path_ = QPainterPath();
}

void TMetafileDC::SelectClipPath(int mode) {
  QPainterPath area = deviceToTarget_.map(path_);
  area.setFillRule(state_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
  path_ = QPainterPath();
  CombineClip(area, mode);
}

void TMetafileDC::Draw(const QPainterPath& logical, bool fill, bool stroke) {
  const QPainterPath device = LogicalToDevice().map(logical);
  if (inPath_) {
    if (Spend(device.elementCount())) path_.addPath(device);
    return;
  }
  StrokeDevicePath(device, fill, stroke);
}

}  // namespace tessalune::metafile
