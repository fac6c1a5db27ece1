// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing records of Windows metafiles: shapes, point lists, regions,
// bitmaps and text.
#include "WmfPlayer.h"

#include "MetafileBitmap.h"
#include "MetafileLimits.h"

#include <uemf.h>
#include <uwmf.h>

namespace tessalune::metafile {

namespace {

// Size and function of every record, before its parameters.
constexpr std::size_t kWmfRecordHeader = 6;

QPointF PointOf(const U_POINT16& p) { return QPointF(p.x, p.y); }
QRectF RectOf(const U_RECT16& r) {
  return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}
QRectF RectOf(const U_POINT16& corner, const U_POINT16& size) {
  return QRectF(PointOf(corner), QSizeF(size.x, size.y));
}

std::size_t OffsetOf(const char* record, const char* inner) {
  return static_cast<std::size_t>(inner - record);
}

// A source rectangle counted from a bitmap's bottom row, in image rows.
QRectF FromBottom(const QImage& image, const U_POINT16& corner, const U_POINT16& size) {
  return QRectF(corner.x, image.height() - corner.y - size.y, size.x, size.y);
}

}  // namespace

bool TWmfPlayer::PlayShape(std::uint8_t type, const char* record) {
  U_RECT16 box{};
  U_POINT16 a{};
  U_POINT16 b{};
  switch (type) {
    case U_WMR_LINETO:
      if (U_WMRLINETO_get(record, &a)) dc_.LineTo(PointOf(a));
      return true;
    case U_WMR_RECTANGLE:
      if (U_WMRRECTANGLE_get(record, &box)) dc_.Rectangle(RectOf(box));
      return true;
    case U_WMR_ELLIPSE:
      if (U_WMRELLIPSE_get(record, &box)) dc_.Ellipse(RectOf(box));
      return true;
    case U_WMR_ROUNDRECT: {
      std::int16_t width = 0;
      std::int16_t height = 0;
      if (U_WMRROUNDRECT_get(record, &width, &height, &box))
        dc_.RoundRect(RectOf(box), QSizeF(width, height));
      return true;
    }
    case U_WMR_ARC:
      if (U_WMRARC_get(record, &a, &b, &box))
        dc_.Arc(TMetafileDC::TArcKind::Arc, RectOf(box), PointOf(a), PointOf(b));
      return true;
    case U_WMR_CHORD:
      if (U_WMRCHORD_get(record, &a, &b, &box))
        dc_.Arc(TMetafileDC::TArcKind::Chord, RectOf(box), PointOf(a), PointOf(b));
      return true;
    case U_WMR_PIE:
      if (U_WMRPIE_get(record, &a, &b, &box))
        dc_.Arc(TMetafileDC::TArcKind::Pie, RectOf(box), PointOf(a), PointOf(b));
      return true;
    case U_WMR_SETPIXEL: {
      U_COLORREF colour{};
      if (U_WMRSETPIXEL_get(record, &colour, &a))
        dc_.SetPixel(PointOf(a), QColor(colour.Red, colour.Green, colour.Blue));
      return true;
    }
    default: return false;
  }
}

bool TWmfPlayer::PlayPoly(std::uint8_t type, const char* record, const TRecordView& view) {
  const char* data = nullptr;
  std::uint16_t count = 0;
  switch (type) {
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE: {
      const bool polygon = type == U_WMR_POLYGON;
      if (!(polygon ? U_WMRPOLYGON_get(record, &count, &data)
                    : U_WMRPOLYLINE_get(record, &count, &data)))
        return true;
      const auto points = view.Points<std::int16_t>(OffsetOf(record, data), count);
      if (points && polygon) dc_.Polygon(*points);
      if (points && !polygon) dc_.Polyline(*points);
      return true;
    }
    case U_WMR_POLYPOLYGON: {
      const std::uint16_t* counts = nullptr;
      if (!U_WMRPOLYPOLYGON_get(record, &count, &counts, &data)) return true;
      const std::size_t countsAt = OffsetOf(record, reinterpret_cast<const char*>(counts));
      if (!view.Has(countsAt, std::size_t{count} * 2)) return true;
      std::vector<QPolygonF> polygons;
      std::size_t pointsAt = OffsetOf(record, data);
      for (std::uint16_t i = 0; i < count; ++i) {
        const auto length = view.Get<std::uint16_t>(countsAt + std::size_t{i} * 2);
        const auto points = view.Points<std::int16_t>(pointsAt, length);
        if (!points) return true;
        polygons.push_back(*points);
        pointsAt += std::size_t{length} * 4;
      }
      dc_.PolyPolygon(polygons);
      return true;
    }
    default: return false;
  }
}

bool TWmfPlayer::PlayRegion(std::uint8_t type, const char* record) {
  U_RECT16 box{};
  U_POINT16 offset{};
  std::uint16_t region = 0;
  std::uint16_t brush = 0;
  switch (type) {
    case U_WMR_EXCLUDECLIPRECT:
      if (U_WMREXCLUDECLIPRECT_get(record, &box)) dc_.ExcludeClipRect(RectOf(box));
      return true;
    case U_WMR_INTERSECTCLIPRECT:
      if (U_WMRINTERSECTCLIPRECT_get(record, &box)) dc_.IntersectClipRect(RectOf(box));
      return true;
    case U_WMR_OFFSETCLIPRGN:
      if (U_WMROFFSETCLIPRGN_get(record, &offset)) dc_.OffsetClip(PointOf(offset));
      return true;
    case U_WMR_SELECTCLIPREGION:
      if (!U_WMRSELECTCLIPREGION_get(record, &region)) return true;
      if (const TMetaRegion* area = Region(region))
        dc_.CombineClip(dc_.LogicalToTarget().map(area->path), 5);
      else
        dc_.ResetClip();
      return true;
    case U_WMR_FILLREGION:
      if (U_WMRFILLREGION_get(record, &region, &brush) && Region(region) && Brush(brush))
        dc_.FillArea(Region(region)->path, *Brush(brush));
      return true;
    case U_WMR_PAINTREGION:
      if (U_WMRPAINTREGION_get(record, &region) && Region(region))
        dc_.FillArea(Region(region)->path, dc_.State().brush);
      return true;
    case U_WMR_FRAMEREGION: {
      std::int16_t height = 0;
      std::int16_t width = 0;
      if (U_WMRFRAMEREGION_get(record, &region, &brush, &height, &width) && Region(region) &&
          Brush(brush))
        dc_.FrameArea(Region(region)->path, *Brush(brush), QSizeF(width, height));
      return true;
    }
    default: return false;
  }
}

bool TWmfPlayer::PlayBitmap(std::uint8_t type, const char* record, const TRecordView& view) {
  U_POINT16 destination{};
  U_POINT16 destinationSize{};
  U_POINT16 source{};
  U_POINT16 sourceSize{};
  std::uint32_t rop = 0;
  std::uint16_t usage = 0;
  const char* dib = nullptr;
  switch (type) {
    case U_WMR_PATBLT:
      if (U_WMRPATBLT_get(record, &destination, &destinationSize, &rop))
        dc_.PatBlt(RectOf(destination, destinationSize), rop);
      return true;
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT: PlayDibBlt(type == U_WMR_DIBSTRETCHBLT, record, view); return true;
    case U_WMR_STRETCHDIB: {
      if (!U_WMRSTRETCHDIB_get(record, &destination, &destinationSize, &source, &sourceSize,
                               &usage, &rop, &dib))
        return true;
      const QImage image = Bitmap(record, view, dib, usage);
      dc_.StretchBitmap(RectOf(destination, destinationSize), image,
                        FromBottom(image, source, sourceSize), rop);
      return true;
    }
    case U_WMR_SETDIBTODEV: {
      std::uint16_t scans = 0;
      std::uint16_t start = 0;
      if (!U_WMRSETDIBTODEV_get(record, &destination, &sourceSize, &source, &usage, &scans,
                                &start, &dib))
        return true;
      const QImage image = Bitmap(record, view, dib, usage);
      if (start == 0 && scans >= image.height())
        dc_.StretchBitmap(RectOf(destination, sourceSize), image,
                          FromBottom(image, source, sourceSize), U_SRCCOPY);
      return true;
    }
    default: return false;
  }
}

// A bitmap copied from a device context, its source counted from the top;
// without a bitmap the raster operation works with the brush alone.
void TWmfPlayer::PlayDibBlt(bool stretch, const char* record, const TRecordView& view) {
  U_POINT16 destination{};
  U_POINT16 destinationSize{};
  U_POINT16 source{};
  U_POINT16 sourceSize{};
  std::uint32_t rop = 0;
  const char* dib = nullptr;
  if (!(stretch ? U_WMRDIBSTRETCHBLT_get(record, &destination, &destinationSize, &source,
                                          &sourceSize, &rop, &dib)
                : U_WMRDIBBITBLT_get(record, &destination, &destinationSize, &source, &rop, &dib)))
    return;
  if (!stretch) sourceSize = destinationSize;
  if (!dib) {
    dc_.PatBlt(RectOf(destination, destinationSize), rop);
    return;
  }
  dc_.StretchBitmap(RectOf(destination, destinationSize),
                    Bitmap(record, view, dib, U_DIB_RGB_COLORS), RectOf(source, sourceSize), rop);
}

bool TWmfPlayer::PlayText(std::uint8_t type, const char* record, const TRecordView& view) {
  U_POINT16 at{};
  std::int16_t length = 0;
  const char* string = nullptr;
  std::uint16_t options = 0;
  const std::int16_t* dx = nullptr;
  U_RECT16 box{};
  if (type == U_WMR_TEXTOUT) {
    // The reference point follows the string; the getter trusts the length.
    const auto declared = view.Get<std::int16_t>(kWmfRecordHeader);
    if (declared < 0 || !view.Has(kWmfRecordHeader + 2, (std::size_t{1} + declared) / 2 * 2 + 4) ||
        !U_WMRTEXTOUT_get(record, &at, &length, &string))
      return true;
  } else if (type == U_WMR_EXTTEXTOUT) {
    const auto flags = view.Get<std::uint16_t>(kWmfRecordHeader + 6);
    const bool boxed = flags & (U_ETO_OPAQUE | U_ETO_CLIPPED);
    if (!view.Has(kWmfRecordHeader, boxed ? 16 : 8) ||
        !U_WMREXTTEXTOUT_get(record, &at, &length, &options, &string, &dx, &box))
      return true;
  } else {
    return false;
  }
  const std::size_t count = static_cast<std::size_t>(std::clamp<int>(length, 0, kMaxTextLength));
  const auto bytes = view.Bytes(OffsetOf(record, string), count);
  if (!bytes) return true;
  std::vector<double> advances;
  const std::size_t dxAt = dx ? OffsetOf(record, reinterpret_cast<const char*>(dx)) : 0;
  if (dx && view.Has(dxAt, count * 2))
    for (std::size_t i = 0; i < count; ++i)
      advances.push_back(view.Get<std::int16_t>(dxAt + i * 2));
  std::optional<QRectF> rect;
  if (options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) rect = RectOf(box).normalized();
  dc_.TextOutA(PointOf(at), *bytes, advances, options, rect);
  return true;
}

}  // namespace tessalune::metafile
