// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

#include <cstdint>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace tessalune::metafile {

// A pen as the records describe it; the width is in logical units (0 draws
// one device pixel).
struct TMetaPen {
  std::uint32_t style = 0;  // type, style, end cap and join bits
  double width = 0;
  QColor color = Qt::black;
  // A user-styled pen's dashes and gaps, alternating from a dash: in logical
  // units for a geometric pen, in device pixels for a cosmetic one.
  std::vector<double> dashes;
};

// A brush: solid, hollow, hatched or a bitmap pattern.
struct TMetaBrush {
  std::uint32_t style = 0;
  QColor color = Qt::white;
  std::uint32_t hatch = 0;
  QImage pattern;
};

// A logical font; height and width are in logical units.
struct TMetaFont {
  double height = 0;
  double width = 0;
  int escapement = 0;  // tenths of a degree, counter-clockwise
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  QString face;
  std::uint8_t charset = 0;  // how its 8-bit text is read (ANSI by default)
};

// A region, in the logical coordinates it was made in.
struct TMetaRegion {
  QPainterPath path;
};

// An object the player keeps only so that table slots stay in step
// (palettes, colour spaces and the like).
struct TMetaPlaceholder {};

using TMetaObject = std::variant<TMetaPlaceholder, TMetaPen, TMetaBrush, TMetaFont, TMetaRegion>;

// The object table of a device context. Windows metafiles put a new object in
// the lowest free slot; enhanced metafiles name the slot. Indexes outside the
// table are ignored rather than trusted.
class TMetaObjectTable {
public:
  explicit TMetaObjectTable(std::uint32_t capacity);

  // Puts object into the lowest free slot; false when the table is full.
  bool Add(TMetaObject object);
  // Puts object into slot index (replacing what was there).
  void Put(std::uint32_t index, TMetaObject object);
  // The object in slot index, or nullptr when there is none.
  const TMetaObject* Get(std::uint32_t index) const;
  void Remove(std::uint32_t index);

private:
  std::uint32_t capacity_;
  std::vector<std::optional<TMetaObject>> slots_;
  // Free slots below slots_.size(); slots from slots_.size() up are free too.
  std::set<std::uint32_t> holes_;
};

}  // namespace tessalune::metafile
