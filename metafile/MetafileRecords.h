// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPolygonF>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace tessalune::metafile {

// Reading values out of a record that has passed libuemf's checks. Records
// are byte strings: every read is bounded by the record and copies, so no
// read depends on alignment or on the record being as long as it claims.
class TRecordView {
public:
  TRecordView(const char* data, std::size_t size) : bytes_(data, size) {}

  std::size_t Size() const { return bytes_.size(); }
  bool Has(std::size_t offset, std::size_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  // The value at offset. Bytes the record lacks read as zero, so structures
  // that end in an optional array read whole.
  template <typename T>
  T Get(std::size_t offset) const {
    T value{};
    if (offset < bytes_.size())
      std::memcpy(&value, bytes_.data() + offset, std::min(sizeof(T), bytes_.size() - offset));
    return value;
  }
  // count bytes at offset, or nothing when they are not all inside the record.
  std::optional<std::string_view> Bytes(std::size_t offset, std::size_t count) const {
    if (!Has(offset, count)) return std::nullopt;
    return bytes_.substr(offset, count);
  }
  // count points of two Coordinate values each, or nothing when they do not fit.
  template <typename Coordinate>
  std::optional<QPolygonF> Points(std::size_t offset, std::uint64_t count) const {
    constexpr std::size_t kPointBytes = 2 * sizeof(Coordinate);
    if (count > bytes_.size() / kPointBytes || !Has(offset, count * kPointBytes))
      return std::nullopt;
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::size_t at = offset + i * kPointBytes;
      points.append(QPointF(Get<Coordinate>(at), Get<Coordinate>(at + sizeof(Coordinate))));
    }
    return points;
  }

private:
  std::string_view bytes_;
};

// A COLORREF: red, green, blue and a reserved byte.
inline QColor ColourOf(std::uint32_t colorref) {
  return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

}  // namespace tessalune::metafile
