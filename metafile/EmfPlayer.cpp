// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmfPlayer.h"

#include "EmfFile.h"
#include "MetafileBitmap.h"
#include "MetafileLimits.h"

#include <uemf.h>

#include <cstddef>

namespace tessalune::metafile {

namespace {

constexpr std::size_t kRecordHeader = sizeof(U_EMR);

QColor Colour(const U_COLORREF& c) { return QColor(c.Red, c.Green, c.Blue); }

QTransform TransformOf(const U_XFORM& x) {
  return QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
}

TMetaFont FontOf(const U_LOGFONT& logical) {
  std::size_t length = 0;
  while (length < U_LF_FACESIZE && logical.lfFaceName[length] != 0) ++length;
  return TMetaFont{static_cast<double>(logical.lfHeight), static_cast<double>(logical.lfWidth),
                   logical.lfEscapement % 3600, logical.lfWeight, logical.lfItalic != 0,
                   logical.lfUnderline != 0, logical.lfStrikeOut != 0,
                   QString::fromUtf16(reinterpret_cast<const char16_t*>(logical.lfFaceName),
                                      static_cast<qsizetype>(length)),
                   logical.lfCharSet};
}

// An extended pen; a user-styled one brings its dashes and gaps, and one
// with more of them than Windows takes is drawn solid.
TMetaPen ExtPenOf(const TRecordView& record) {
  const auto logical = record.Get<U_EMREXTCREATEPEN>(0).elp;
  TMetaPen pen{logical.elpPenStyle, static_cast<double>(logical.elpWidth),
               Colour(logical.elpColor), {}};
  if (logical.elpBrushStyle == U_BS_NULL) pen.style = U_PS_NULL;
  const std::size_t entriesAt =
      offsetof(U_EMREXTCREATEPEN, elp) + offsetof(U_EXTLOGPEN, elpStyleEntry);
  const std::uint32_t count = logical.elpNumEntries;
  if ((pen.style & U_PS_STYLE_MASK) != U_PS_USERSTYLE || count > kMaxDashEntries ||
      !record.Has(entriesAt, std::size_t{count} * 4))
    return pen;
  for (std::uint32_t i = 0; i < count; ++i)
    pen.dashes.push_back(record.Get<std::uint32_t>(entriesAt + std::size_t{i} * 4));
  return pen;
}

QSizeF Scaled(const QSizeF& extent, std::int32_t xNum, std::int32_t xDenom, std::int32_t yNum,
              std::int32_t yDenom) {
  if (xDenom == 0 || yDenom == 0) return extent;
  return QSizeF(extent.width() * xNum / xDenom, extent.height() * yNum / yDenom);
}

}  // namespace

TEmfPlayer::TEmfPlayer(QPainter& painter, const TMetafileInfo& info, const QRectF& target)
    : dc_(painter, info.frame, target), objects_(info.objects) {}

void TEmfPlayer::Play(const char* data) {
  std::uint32_t size = 0;
  std::memcpy(&size, data + 4, sizeof size);
  const TRecordView record(data, size);
  const auto type = record.Get<std::uint32_t>(0);
  if (!dc_.Spend(1)) return;
  PlayState(type, record) || PlayMapping(type, record) || PlayObject(type, record) ||
      PlayShape(type, record) || PlayPoly(type, record) || PlayPolyPoly(type, record) ||
      PlayPath(type, record) || PlayRegion(type, record) || PlayBitmap(type, record);
  if (type == U_EMR_EXTTEXTOUTW || type == U_EMR_EXTTEXTOUTA)
    PlayText(record, type == U_EMR_EXTTEXTOUTW);
}

bool TEmfPlayer::PlayState(std::uint32_t type, const TRecordView& record) {
  TMetaDCState& state = dc_.State();
  const auto value = record.Get<std::uint32_t>(kRecordHeader);
  switch (type) {
    case U_EMR_SETBKMODE: state.bkMode = static_cast<int>(value); return true;
    case U_EMR_SETPOLYFILLMODE: state.polyFillMode = static_cast<int>(value); return true;
    case U_EMR_SETROP2: state.rop2 = static_cast<int>(value); return true;
    case U_EMR_SETSTRETCHBLTMODE: state.stretchMode = static_cast<int>(value); return true;
    case U_EMR_SETTEXTALIGN: state.textAlign = value; return true;
    case U_EMR_SETTEXTCOLOR: state.textColor = ColourOf(value); return true;
    case U_EMR_SETBKCOLOR: state.bkColor = ColourOf(value); return true;
    case U_EMR_SETARCDIRECTION: state.arcDirection = static_cast<int>(value); return true;
    case U_EMR_SAVEDC: dc_.SaveDC(); return true;
    case U_EMR_RESTOREDC: dc_.RestoreDC(record.Get<std::int32_t>(kRecordHeader)); return true;
    case U_EMR_MOVETOEX: {
      const auto point = record.Get<U_POINTL>(kRecordHeader);
      dc_.MoveTo(QPointF(point.x, point.y));
      return true;
    }
    default: return false;
  }
}

bool TEmfPlayer::PlayMapping(std::uint32_t type, const TRecordView& record) {
  TMetaDCState& state = dc_.State();
  const auto pair = record.Get<U_POINTL>(kRecordHeader);
  switch (type) {
    case U_EMR_SETMAPMODE: dc_.SetMapMode(static_cast<int>(pair.x)); return true;
    case U_EMR_SETWINDOWEXTEX: state.windowExt = QSizeF(pair.x, pair.y); return true;
    case U_EMR_SETWINDOWORGEX: state.windowOrg = QPointF(pair.x, pair.y); return true;
    case U_EMR_SETVIEWPORTEXTEX: state.viewportExt = QSizeF(pair.x, pair.y); return true;
    case U_EMR_SETVIEWPORTORGEX: state.viewportOrg = QPointF(pair.x, pair.y); return true;
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX: {
      const auto scale = record.Get<U_EMRSCALEVIEWPORTEXTEX>(0);
      QSizeF& extent = type == U_EMR_SCALEWINDOWEXTEX ? state.windowExt : state.viewportExt;
      extent = Scaled(extent, scale.xNum, scale.xDenom, scale.yNum, scale.yDenom);
      return true;
    }
    case U_EMR_SETWORLDTRANSFORM:
      dc_.SetWorldTransform(TransformOf(record.Get<U_XFORM>(kRecordHeader)));
      return true;
    case U_EMR_MODIFYWORLDTRANSFORM: {
      const auto modify = record.Get<U_EMRMODIFYWORLDTRANSFORM>(0);
      const QTransform xform = TransformOf(modify.xform);
      if (modify.iMode == U_MWT_IDENTITY) dc_.SetWorldTransform(QTransform());
      if (modify.iMode == U_MWT_LEFTMULTIPLY) dc_.SetWorldTransform(xform * state.world);
      if (modify.iMode == U_MWT_RIGHTMULTIPLY) dc_.SetWorldTransform(state.world * xform);
      if (modify.iMode == U_MWT_RIGHTMULTIPLY + 1) dc_.SetWorldTransform(xform);
      return true;
    }
    default: return false;
  }
}

bool TEmfPlayer::PlayObject(std::uint32_t type, const TRecordView& record) {
  const auto index = record.Get<std::uint32_t>(kRecordHeader);
  switch (type) {
    case U_EMR_SELECTOBJECT: SelectObject(index); return true;
    case U_EMR_DELETEOBJECT: objects_.Remove(index); return true;
    case U_EMR_CREATEPEN: {
      const auto logical = record.Get<U_EMRCREATEPEN>(0).lopn;
      objects_.Put(index, TMetaPen{logical.lopnStyle, static_cast<double>(logical.lopnWidth.x),
                                   Colour(logical.lopnColor), {}});
      return true;
    }
    case U_EMR_EXTCREATEPEN: objects_.Put(index, ExtPenOf(record)); return true;
    case U_EMR_CREATEBRUSHINDIRECT: {
      const auto logical = record.Get<U_EMRCREATEBRUSHINDIRECT>(0).lb;
      objects_.Put(index, TMetaBrush{logical.lbStyle, Colour(logical.lbColor), logical.lbHatch,
                                     QImage()});
      return true;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_CREATEMONOBRUSH: {
      const auto usage = record.Get<U_EMRCREATEDIBPATTERNBRUSHPT>(0).iUsage;
      const QImage pattern =
          RecordBitmap(record, offsetof(U_EMRCREATEDIBPATTERNBRUSHPT, offBmi), usage);
      objects_.Put(index, TMetaBrush{pattern.isNull() ? std::uint32_t{U_BS_SOLID} : std::uint32_t{U_BS_DIBPATTERNPT},
                                     Qt::black, 0, pattern});
      return true;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW:
      objects_.Put(index, FontOf(record.Get<U_LOGFONT>(offsetof(U_EMREXTCREATEFONTINDIRECTW,
                                                                  elfw))));
      return true;
    case U_EMR_CREATEPALETTE:
    case U_EMR_CREATECOLORSPACE:
    case U_EMR_CREATECOLORSPACEW: objects_.Put(index, TMetaPlaceholder{}); return true;
    default: return false;
  }
}

void TEmfPlayer::SelectObject(std::uint32_t index) {
  if (index & U_STOCK_OBJECT) {
    SelectStockObject(index & ~U_STOCK_OBJECT);
    return;
  }
  if (const TMetaObject* object = objects_.Get(index)) dc_.State().Select(*object);
}

void TEmfPlayer::SelectStockObject(std::uint32_t stock) {
  static constexpr int kBrushGrey[] = {255, 192, 128, 64, 0};
  TMetaDCState& state = dc_.State();
  if (stock <= 4) {
    state.brush = TMetaBrush{U_BS_SOLID, QColor(kBrushGrey[stock], kBrushGrey[stock],
                                                kBrushGrey[stock]), 0, QImage()};
  } else if (stock == 5) {
    state.brush = TMetaBrush{U_BS_NULL, Qt::white, 0, QImage()};
  } else if (stock == 6 || stock == 7) {
    state.pen = TMetaPen{U_PS_SOLID, 0, stock == 6 ? Qt::white : Qt::black, {}};
  } else if (stock == 8) {
    state.pen = TMetaPen{U_PS_NULL, 0, Qt::black, {}};
  } else if (stock >= 10 && stock <= 17 && stock != 15) {
    state.font = TMetaFont();
  }
}

QImage TEmfPlayer::RecordBitmap(const TRecordView& record, std::size_t offsets,
                                std::uint32_t usage) {
  const auto offInfo = record.Get<std::uint32_t>(offsets);
  const auto cbInfo = record.Get<std::uint32_t>(offsets + 4);
  const auto offBits = record.Get<std::uint32_t>(offsets + 8);
  const auto cbBits = record.Get<std::uint32_t>(offsets + 12);
  const auto info = record.Bytes(offInfo, cbInfo);
  const auto bits = record.Bytes(offBits, cbBits);
  if (cbInfo == 0 || !info || !bits) return QImage();
  return DecodeDib(*info, *bits, usage, [this](std::uint64_t pixels) {
    return dc_.Spend(static_cast<double>(pixels) / kBitmapPixelsPerWorkUnit);
  });
}

void PlayEmf(std::string_view bytes, const TMetafileInfo& info, QPainter& painter,
             const QRectF& target) {
  TEmfPlayer player(painter, info, target);
  ForEachEmfRecord(bytes, [&player](const char* record) { player.Play(record); });
}

}  // namespace tessalune::metafile
