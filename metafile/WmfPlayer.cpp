// SPDX-License-Identifier: GPL-3.0-or-later
#include "WmfPlayer.h"

#include "MetafileBitmap.h"
#include "MetafileLimits.h"

#include <uemf_safe.h>
#include <uwmf.h>

#include <cmath>

namespace tessalune::metafile {

namespace {

constexpr std::size_t kTypeOffset = 4;
constexpr int kMapAnisotropic = 8;

QColor Colour(const U_COLORREF& c) { return QColor(c.Red, c.Green, c.Blue); }
QPointF PointOf(const U_POINT16& p) { return QPointF(p.x, p.y); }
QRectF RectOf(const U_RECT16& r) {
  return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

QSizeF Scaled(const QSizeF& extent, const U_POINT16& denominator, const U_POINT16& numerator) {
  if (denominator.x == 0 || denominator.y == 0) return extent;
  return QSizeF(extent.width() * numerator.x / denominator.x,
                extent.height() * numerator.y / denominator.y);
}

// The face name is 8-bit text, read in the font's own character set.
TMetaFont FontAt(const TRecordView& view, std::size_t offset, TCharsetDecoder& charsets) {
  const auto fixed = view.Get<U_FONT>(offset);
  const std::size_t faceAt = offset + offsetof(U_FONT, FaceName);
  std::string face;
  for (std::size_t i = 0; i < 32 && view.Has(faceAt + i, 1); ++i) {
    const char c = view.Get<char>(faceAt + i);
    if (c == 0) break;
    face.push_back(c);
  }
  return TMetaFont{static_cast<double>(fixed.Height), static_cast<double>(fixed.Width),
                   fixed.Escapement % 3600, fixed.Weight, fixed.Italic != 0,
                   fixed.Underline != 0, fixed.StrikeOut != 0,
                   charsets.DecodeName(fixed.CharSet, face), fixed.CharSet};
}

// A region object: its scans of left and right coordinate pairs, or its
// bounding rectangle when it has none.
TMetaRegion RegionAt(const TRecordView& view, std::size_t offset) {
  const auto count = view.Get<std::int16_t>(offset + 8);
  const auto bounds = view.Get<U_RECT16>(offset + 12);
  TMetaRegion region;
  region.path.setFillRule(Qt::WindingFill);
  if (count <= 0) {
    region.path.addRect(RectOf(bounds).normalized());
    return region;
  }
  std::size_t at = offset + 20;
  for (int scan = 0; scan < count && view.Has(at, 6); ++scan) {
    const auto coordinates = view.Get<std::uint16_t>(at);
    const auto top = view.Get<std::int16_t>(at + 2);
    const auto bottom = view.Get<std::int16_t>(at + 4);
    for (std::size_t i = 0; i + 1 < coordinates && view.Has(at + 6 + 2 * i, 4) &&
                            region.path.elementCount() < 5 * static_cast<int>(kMaxRegionRects);
         i += 2) {
      const auto left = view.Get<std::int16_t>(at + 6 + 2 * i);
      const auto right = view.Get<std::int16_t>(at + 8 + 2 * i);
      region.path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
    }
    at += 8 + std::size_t{coordinates} * 2;
  }
  return region;
}

}  // namespace

TWmfPlayer::TWmfPlayer(QPainter& painter, const TWmfLayout& layout, const QRectF& target)
    : dc_(painter, layout.info.frame, target), objects_(layout.info.objects) {
  TMetaDCState& state = dc_.State();
  state.mapMode = kMapAnisotropic;
  state.windowOrg = layout.window.topLeft();
  state.windowExt = layout.window.size();
  state.viewportExt = layout.info.frame.frame.size();
}

void TWmfPlayer::Play(const char* record, std::size_t size) {
  const TRecordView view(record, size);
  const auto type = static_cast<std::uint8_t>(record[kTypeOffset]);
  if (!dc_.Spend(1)) return;
  PlayState(type, record) || PlayMapping(type, record) || PlayObject(type, record, view) ||
      PlayShape(type, record) || PlayPoly(type, record, view) || PlayRegion(type, record) ||
      PlayBitmap(type, record, view) || PlayText(type, record, view);
}

bool TWmfPlayer::PlayState(std::uint8_t type, const char* record) {
  TMetaDCState& state = dc_.State();
  std::uint16_t mode = 0;
  U_COLORREF colour{};
  U_POINT16 point{};
  switch (type) {
    case U_WMR_SETBKCOLOR:
      if (U_WMRSETBKCOLOR_get(record, &colour)) state.bkColor = Colour(colour);
      return true;
    case U_WMR_SETTEXTCOLOR:
      if (U_WMRSETTEXTCOLOR_get(record, &colour)) state.textColor = Colour(colour);
      return true;
    case U_WMR_SETBKMODE:
      if (U_WMRSETBKMODE_get(record, &mode)) state.bkMode = mode;
      return true;
    case U_WMR_SETROP2:
      if (U_WMRSETROP2_get(record, &mode)) state.rop2 = mode;
      return true;
    case U_WMR_SETPOLYFILLMODE:
      if (U_WMRSETPOLYFILLMODE_get(record, &mode)) state.polyFillMode = mode;
      return true;
    case U_WMR_SETSTRETCHBLTMODE:
      if (U_WMRSETSTRETCHBLTMODE_get(record, &mode)) state.stretchMode = mode;
      return true;
    case U_WMR_SETTEXTALIGN:
      if (U_WMRSETTEXTALIGN_get(record, &mode)) state.textAlign = mode;
      return true;
    case U_WMR_SAVEDC: dc_.SaveDC(); return true;
    case U_WMR_RESTOREDC: {
      std::int16_t level = 0;
      if (U_WMRRESTOREDC_get(record, &level)) dc_.RestoreDC(level);
      return true;
    }
    case U_WMR_MOVETO:
      if (U_WMRMOVETO_get(record, &point)) dc_.MoveTo(PointOf(point));
      return true;
    default: return false;
  }
}

bool TWmfPlayer::PlayMapping(std::uint8_t type, const char* record) {
  TMetaDCState& state = dc_.State();
  U_POINT16 a{};
  U_POINT16 b{};
  std::uint16_t mode = 0;
  switch (type) {
    case U_WMR_SETMAPMODE:
      if (U_WMRSETMAPMODE_get(record, &mode)) dc_.SetMapMode(mode);
      return true;
    case U_WMR_SETWINDOWORG:
      if (U_WMRSETWINDOWORG_get(record, &a)) state.windowOrg = PointOf(a);
      return true;
    case U_WMR_SETWINDOWEXT:
      if (U_WMRSETWINDOWEXT_get(record, &a)) state.windowExt = QSizeF(a.x, a.y);
      return true;
    case U_WMR_SETVIEWPORTORG:
      if (U_WMRSETVIEWPORTORG_get(record, &a)) state.viewportOrg = PointOf(a);
      return true;
    case U_WMR_SETVIEWPORTEXT:
      if (U_WMRSETVIEWPORTEXT_get(record, &a)) state.viewportExt = QSizeF(a.x, a.y);
      return true;
    case U_WMR_OFFSETWINDOWORG:
      if (U_WMROFFSETWINDOWORG_get(record, &a)) state.windowOrg += PointOf(a);
      return true;
    case U_WMR_OFFSETVIEWPORTORG:
      if (U_WMROFFSETVIEWPORTORG_get(record, &a)) state.viewportOrg += PointOf(a);
      return true;
    case U_WMR_SCALEWINDOWEXT:
      if (U_WMRSCALEWINDOWEXT_get(record, &a, &b))
        state.windowExt = Scaled(state.windowExt, a, b);
      return true;
    case U_WMR_SCALEVIEWPORTEXT:
      if (U_WMRSCALEVIEWPORTEXT_get(record, &a, &b))
        state.viewportExt = Scaled(state.viewportExt, a, b);
      return true;
    default: return false;
  }
}

bool TWmfPlayer::PlayObject(std::uint8_t type, const char* record, const TRecordView& view) {
  std::uint16_t index = 0;
  const char* data = nullptr;
  switch (type) {
    case U_WMR_SELECTOBJECT:
      if (U_WMRSELECTOBJECT_get(record, &index)) SelectObject(index);
      return true;
    case U_WMR_DELETEOBJECT:
      if (U_WMRDELETEOBJECT_get(record, &index)) objects_.Remove(index);
      return true;
    case U_WMR_CREATEPENINDIRECT: {
      U_PEN pen{};
      if (U_WMRCREATEPENINDIRECT_get(record, &pen))
        objects_.Add(
            TMetaPen{pen.Style, static_cast<double>(pen.Widthw[0]), Colour(pen.Color), {}});
      return true;
    }
    case U_WMR_CREATEBRUSHINDIRECT:
      if (U_WMRCREATEBRUSHINDIRECT_get(record, &data)) {
        const auto brush = view.Get<U_WLOGBRUSH>(static_cast<std::size_t>(data - record));
        objects_.Add(TMetaBrush{brush.Style, Colour(brush.Color), brush.Hatch, QImage()});
      }
      return true;
    case U_WMR_CREATEFONTINDIRECT:
      if (U_WMRCREATEFONTINDIRECT_get(record, &data))
        objects_.Add(FontAt(view, static_cast<std::size_t>(data - record), dc_.Charsets()));
      return true;
    case U_WMR_CREATEREGION:
      if (U_WMRCREATEREGION_get(record, &data))
        objects_.Add(RegionAt(view, static_cast<std::size_t>(data - record)));
      return true;
    case U_WMR_DIBCREATEPATTERNBRUSH: {
      std::uint16_t style = 0;
      std::uint16_t usage = 0;
      const char* bitmap16 = nullptr;
      QImage pattern;
      if (U_WMRDIBCREATEPATTERNBRUSH_get(record, &style, &usage, &bitmap16, &data))
        pattern = Bitmap(record, view, data, usage);
      objects_.Add(TMetaBrush{pattern.isNull() ? 0u : 6u, Qt::black, 0, pattern});
      return true;
    }
    default:
      if (!(U_wmr_properties(type) & U_DRAW_OBJECT)) return false;
      objects_.Add(TMetaPlaceholder{});
      return true;
  }
}

void TWmfPlayer::SelectObject(std::uint16_t index) {
  const TMetaObject* object = objects_.Get(index);
  if (!object) return;
  dc_.State().Select(*object);
  if (const auto* region = std::get_if<TMetaRegion>(object))
    dc_.CombineClip(dc_.LogicalToTarget().map(region->path), 5);
}

QImage TWmfPlayer::Bitmap(const char* record, const TRecordView& view, const char* inner,
                          std::uint32_t usage) {
  if (!inner || inner < record) return QImage();
  const auto offset = static_cast<std::size_t>(inner - record);
  const auto bytes = view.Bytes(offset, view.Size() - std::min(offset, view.Size()));
  if (!bytes || !bitmapinfo_safe(bytes->data(), bytes->data() + bytes->size())) return QImage();
  return DecodePackedDib(*bytes, usage, [this](std::uint64_t pixels) {
    return dc_.Spend(static_cast<double>(pixels) / kBitmapPixelsPerWorkUnit);
  });
}

const TMetaRegion* TWmfPlayer::Region(std::uint16_t index) const {
  const TMetaObject* object = objects_.Get(index);
  return object ? std::get_if<TMetaRegion>(object) : nullptr;
}

const TMetaBrush* TWmfPlayer::Brush(std::uint16_t index) const {
  const TMetaObject* object = objects_.Get(index);
  return object ? std::get_if<TMetaBrush>(object) : nullptr;
}

void PlayWmf(std::string_view bytes, const TWmfLayout& layout, QPainter& painter,
             const QRectF& target) {
  TWmfPlayer player(painter, layout, target);
  ForEachWmfRecord(bytes, layout.recordsOffset,
                   [&player](const char* record, std::size_t size) { player.Play(record, size); });
}

}  // namespace tessalune::metafile
