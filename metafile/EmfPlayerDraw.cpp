// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing records of enhanced metafiles: shapes, point lists, paths,
// regions, bitmaps and text.
#include "EmfPlayer.h"

#include "MetafileLimits.h"

#include <uemf.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace tessalune::metafile {

namespace {

constexpr std::size_t kRecordHeader = sizeof(U_EMR);
constexpr std::size_t kRegionHeader = sizeof(U_RGNDATAHEADER);

QRectF RectOf(const U_RECTL& r) { return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)); }
QPointF PointOf(const U_POINTL& p) { return QPointF(p.x, p.y); }

// A source rectangle counted from a bitmap's bottom row, in image rows.
QRectF FromBottom(const QImage& image, const U_POINTL& corner, const U_POINTL& size) {
  return QRectF(corner.x, static_cast<double>(image.height()) - corner.y - size.y, size.x, size.y);
}

// The rectangles of a RGNDATA at offset, as one path; nothing when the
// rectangles do not fit the record.
std::optional<QPainterPath> RegionAt(const TRecordView& record, std::size_t offset,
                                     std::uint32_t bytes) {
  const auto header = record.Get<U_RGNDATAHEADER>(offset);
  if (bytes < kRegionHeader || header.nCount > (bytes - kRegionHeader) / sizeof(U_RECTL) ||
      header.nCount > kMaxRegionRects || !record.Has(offset, bytes))
    return std::nullopt;
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  for (std::uint32_t i = 0; i < header.nCount; ++i)
    path.addRect(RectOf(record.Get<U_RECTL>(offset + kRegionHeader + i * sizeof(U_RECTL)))
                     .normalized());
  return path;
}

// The UTF-16 text of ExtTextOutW.
QString WideText(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  std::memcpy(units.data(), bytes.data(), units.size() * 2);
  return QString::fromStdU16String(units);
}

}  // namespace

bool TEmfPlayer::PlayShape(std::uint32_t type, const TRecordView& record) {
  const auto box = RectOf(record.Get<U_RECTL>(kRecordHeader));
  const auto start = PointOf(record.Get<U_POINTL>(kRecordHeader + sizeof(U_RECTL)));
  const auto end = PointOf(record.Get<U_POINTL>(kRecordHeader + sizeof(U_RECTL) + sizeof(U_POINTL)));
  switch (type) {
    case U_EMR_RECTANGLE: dc_.Rectangle(box); return true;
    case U_EMR_ELLIPSE: dc_.Ellipse(box); return true;
    case U_EMR_ROUNDRECT: {
      const auto corner = record.Get<U_SIZEL>(kRecordHeader + sizeof(U_RECTL));
      dc_.RoundRect(box, QSizeF(corner.cx, corner.cy));
      return true;
    }
    case U_EMR_ARC: dc_.Arc(TMetafileDC::TArcKind::Arc, box, start, end); return true;
    case U_EMR_ARCTO: dc_.Arc(TMetafileDC::TArcKind::ArcTo, box, start, end); return true;
    case U_EMR_CHORD: dc_.Arc(TMetafileDC::TArcKind::Chord, box, start, end); return true;
    case U_EMR_PIE: dc_.Arc(TMetafileDC::TArcKind::Pie, box, start, end); return true;
    case U_EMR_LINETO: dc_.LineTo(PointOf(record.Get<U_POINTL>(kRecordHeader))); return true;
    case U_EMR_ANGLEARC: {
      const auto arc = record.Get<U_EMRANGLEARC>(0);
      dc_.AngleArc(PointOf(arc.ptlCenter), arc.nRadius, arc.eStartAngle, arc.eSweepAngle);
      return true;
    }
    case U_EMR_SETPIXELV: {
      const auto pixel = record.Get<U_EMRSETPIXELV>(0);
      dc_.SetPixel(PointOf(pixel.ptlPixel),
                   QColor(pixel.crColor.Red, pixel.crColor.Green, pixel.crColor.Blue));
      return true;
    }
    default: return false;
  }
}

// Records of one point list: a count at offset 24, the points after it.
bool TEmfPlayer::PlayPoly(std::uint32_t type, const TRecordView& record) {
  const std::size_t countAt = kRecordHeader + sizeof(U_RECTL);
  const auto count = record.Get<std::uint32_t>(countAt);
  const bool wide = type >= U_EMR_POLYBEZIER && type <= U_EMR_POLYLINETO;
  const bool narrow = type >= U_EMR_POLYBEZIER16 && type <= U_EMR_POLYLINETO16;
  const bool draw = type == U_EMR_POLYDRAW || type == U_EMR_POLYDRAW16;
  if (!wide && !narrow && !draw) return false;
  const bool points32 = wide || type == U_EMR_POLYDRAW;
  const auto points = points32 ? record.Points<std::int32_t>(countAt + 4, count)
                               : record.Points<std::int16_t>(countAt + 4, count);
  if (!points) return true;
  if (draw) {
    const auto types = record.Bytes(countAt + 4 + count * (points32 ? 8 : 4), count);
    if (types) dc_.PolyDraw(*points, std::vector<std::uint8_t>(types->begin(), types->end()));
    return true;
  }
  switch (wide ? type : type - (U_EMR_POLYBEZIER16 - U_EMR_POLYBEZIER)) {
    case U_EMR_POLYBEZIER: dc_.PolyBezier(*points, false); break;
    case U_EMR_POLYGON: dc_.Polygon(*points); break;
    case U_EMR_POLYLINE: dc_.Polyline(*points); break;
    case U_EMR_POLYBEZIERTO: dc_.PolyBezier(*points, true); break;
    default: dc_.PolylineTo(*points); break;
  }
  return true;
}

// Records of several point lists: the list lengths, then all points.
bool TEmfPlayer::PlayPolyPoly(std::uint32_t type, const TRecordView& record) {
  const bool wide = type == U_EMR_POLYPOLYLINE || type == U_EMR_POLYPOLYGON;
  if (!wide && type != U_EMR_POLYPOLYLINE16 && type != U_EMR_POLYPOLYGON16) return false;
  const std::size_t polysAt = kRecordHeader + sizeof(U_RECTL);
  const auto polys = record.Get<std::uint32_t>(polysAt);
  const auto total = record.Get<std::uint32_t>(polysAt + 4);
  const std::size_t countsAt = polysAt + 8;
  if (!record.Has(countsAt, std::uint64_t{polys} * 4)) return true;
  const std::size_t pointsAt = countsAt + std::size_t{polys} * 4;
  const auto points = wide ? record.Points<std::int32_t>(pointsAt, total)
                           : record.Points<std::int16_t>(pointsAt, total);
  if (!points) return true;
  std::vector<QPolygonF> lists;
  std::uint64_t used = 0;
  for (std::uint32_t i = 0; i < polys; ++i) {
    const auto count = record.Get<std::uint32_t>(countsAt + i * 4);
    if (count > total - used) return true;
    lists.push_back(points->mid(static_cast<qsizetype>(used), count));
    used += count;
  }
  if (type == U_EMR_POLYPOLYGON || type == U_EMR_POLYPOLYGON16)
    dc_.PolyPolygon(lists);
  else
    dc_.PolyPolyline(lists);
  return true;
}

bool TEmfPlayer::PlayPath(std::uint32_t type, const TRecordView& record) {
  switch (type) {
    case U_EMR_BEGINPATH: dc_.BeginPath(); return true;
    case U_EMR_ENDPATH: dc_.EndPath(); return true;
    case U_EMR_CLOSEFIGURE: dc_.CloseFigure(); return true;
    case U_EMR_ABORTPATH: dc_.AbortPath(); return true;
    case U_EMR_FILLPATH: dc_.FillPath(); return true;
    case U_EMR_STROKEPATH: dc_.StrokePath(); return true;
    case U_EMR_STROKEANDFILLPATH: dc_.StrokeAndFillPath(); return true;
    case U_EMR_SELECTCLIPPATH:
      dc_.SelectClipPath(static_cast<int>(record.Get<std::uint32_t>(kRecordHeader)));
      return true;
    default: return false;
  }
}

bool TEmfPlayer::PlayRegion(std::uint32_t type, const TRecordView& record) {
  switch (type) {
    case U_EMR_EXCLUDECLIPRECT: dc_.ExcludeClipRect(RectOf(record.Get<U_RECTL>(kRecordHeader))); return true;
    case U_EMR_INTERSECTCLIPRECT: dc_.IntersectClipRect(RectOf(record.Get<U_RECTL>(kRecordHeader))); return true;
    case U_EMR_OFFSETCLIPRGN: dc_.OffsetClip(PointOf(record.Get<U_POINTL>(kRecordHeader))); return true;
    case U_EMR_EXTSELECTCLIPRGN: {
      const auto select = record.Get<U_EMREXTSELECTCLIPRGN>(0);
      if (select.cbRgnData == 0 && select.iMode == U_RGN_COPY) {
        dc_.ResetClip();
      } else if (const auto area = RegionAt(record, offsetof(U_EMREXTSELECTCLIPRGN, RgnData),
                                            select.cbRgnData)) {
        dc_.CombineClip(dc_.DeviceToTarget().map(*area), static_cast<int>(select.iMode));
      }
      return true;
    }
    case U_EMR_FILLRGN:
    case U_EMR_FRAMERGN:
    case U_EMR_PAINTRGN: {
      const bool painted = type == U_EMR_PAINTRGN;
      const std::size_t at = painted ? offsetof(U_EMRINVERTRGN, RgnData)
                           : type == U_EMR_FILLRGN ? offsetof(U_EMRFILLRGN, RgnData)
                                                   : offsetof(U_EMRFRAMERGN, RgnData);
      const auto area = RegionAt(record, at, record.Get<std::uint32_t>(kRecordHeader + 16));
      if (!area) return true;
      const TMetaDCState& state = dc_.State();
      const auto brushIndex = record.Get<std::uint32_t>(kRecordHeader + 20);
      const TMetaObject* object = painted ? nullptr : objects_.Get(brushIndex);
      const auto* chosen = object ? std::get_if<TMetaBrush>(object) : nullptr;
      const TMetaBrush brush = chosen ? *chosen : state.brush;
      if (type == U_EMR_FRAMERGN) {
        const auto stroke = record.Get<U_SIZEL>(offsetof(U_EMRFRAMERGN, szlStroke));
        dc_.FrameArea(*area, brush, QSizeF(stroke.cx, stroke.cy));
      } else {
        dc_.FillArea(*area, brush);
      }
      return true;
    }
    default: return false;
  }
}

bool TEmfPlayer::PlayBitmap(std::uint32_t type, const TRecordView& record) {
  switch (type) {
    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT: {
      const auto blt = record.Get<U_EMRBITBLT>(0);
      const QRectF destination(PointOf(blt.Dest), QSizeF(blt.cDest.x, blt.cDest.y));
      if (blt.cbBmiSrc == 0) {
        dc_.PatBlt(destination, blt.dwRop);
        return true;
      }
      const U_POINTL size = type == U_EMR_STRETCHBLT
                                ? record.Get<U_POINTL>(offsetof(U_EMRSTRETCHBLT, cSrc))
                                : blt.cDest;
      const QImage image = RecordBitmap(record, offsetof(U_EMRBITBLT, offBmiSrc), blt.iUsageSrc);
      dc_.StretchBitmap(destination, image, QRectF(PointOf(blt.Src), QSizeF(size.x, size.y)),
                        blt.dwRop);
      return true;
    }
    case U_EMR_STRETCHDIBITS: {
      const auto blt = record.Get<U_EMRSTRETCHDIBITS>(0);
      const QImage image = RecordBitmap(record, offsetof(U_EMRSTRETCHDIBITS, offBmiSrc),
                                        blt.iUsageSrc);
      dc_.StretchBitmap(QRectF(PointOf(blt.Dest), QSizeF(blt.cDest.x, blt.cDest.y)), image,
                        FromBottom(image, blt.Src, blt.cSrc), blt.dwRop);
      return true;
    }
    case U_EMR_SETDIBITSTODEVICE: {
      const auto blt = record.Get<U_EMRSETDIBITSTODEVICE>(0);
      const QImage image = RecordBitmap(record, offsetof(U_EMRSETDIBITSTODEVICE, offBmiSrc),
                                        blt.iUsageSrc);
      if (blt.iStartScan != 0 || blt.cScans < static_cast<std::uint32_t>(image.height()))
        return true;
      dc_.StretchBitmap(QRectF(PointOf(blt.Dest), QSizeF(blt.cSrc.x, blt.cSrc.y)), image,
                        FromBottom(image, blt.Src, blt.cSrc), U_SRCCOPY);
      return true;
    }
    default: return false;
  }
}

void TEmfPlayer::PlayText(const TRecordView& record, bool wide) {
  const std::size_t at = offsetof(U_EMREXTTEXTOUTW, emrtext);
  const auto text = record.Get<U_EMRTEXT>(at);
  std::size_t next = at + sizeof(U_EMRTEXT);
  std::optional<QRectF> rect;
  if (!(text.fOptions & U_ETO_NO_RECT)) {
    rect = RectOf(record.Get<U_RECTL>(next)).normalized();
    next += sizeof(U_RECTL);
  }
  const auto offDx = record.Get<std::uint32_t>(next);
  const std::uint32_t count = std::min<std::uint32_t>(text.nChars, kMaxTextLength);
  const auto chars = record.Bytes(text.offString, std::size_t{count} * (wide ? 2 : 1));
  if (!chars) return;
  std::vector<double> dx;
  const std::size_t step = text.fOptions & U_ETO_PDY ? 8 : 4;
  if (offDx != 0 && record.Has(offDx, count * step))
    for (std::uint32_t i = 0; i < count; ++i)
      dx.push_back(record.Get<std::int32_t>(offDx + i * step));
  const QPointF reference = PointOf(text.ptlReference);
  // Glyph indexes belong to a font we do not have: only the opaque box shows.
  if (text.fOptions & U_ETO_GLYPH_INDEX)
    dc_.TextOutW(reference, QString(), dx, text.fOptions, rect);
  else if (wide)
    dc_.TextOutW(reference, WideText(*chars), dx, text.fOptions, rect);
  else
    dc_.TextOutA(reference, *chars, dx, text.fOptions, rect);
}

}  // namespace tessalune::metafile
