// SPDX-License-Identifier: GPL-3.0-or-later
#include "WmfFile.h"

#include "Errors.h"
#include "MetafileLimits.h"
#include "MetafileRecords.h"

#include <uwmf.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace tessalune::metafile {

namespace {

constexpr double kPixelsPerInch = 96;
constexpr std::size_t kTypeOffset = 4;
constexpr std::size_t kHeaderReadBytes = 128;
// The length of the metafile header in 16-bit words; a file cut before its
// end reads as a header of zeros.
constexpr std::uint16_t kHeaderWords = 9;

[[noreturn]] void RaiseInvalid() { throw Exception("Metafile is not valid"); }

int PictureSide(double pixels) {
  pixels = std::round(std::abs(pixels));
  if (pixels > kMaxPictureSide) RaiseInvalid();
  return static_cast<int>(pixels);
}

// The first window origin and extent the records set, as a rectangle.
std::optional<QRectF> FirstWindow(std::string_view bytes, std::size_t recordsOffset) {
  std::optional<QPointF> origin;
  std::optional<QSizeF> extent;
  ForEachWmfRecord(bytes, recordsOffset, [&](const char* record, std::size_t) {
    U_POINT16 point{};
    const auto type = static_cast<std::uint8_t>(record[kTypeOffset]);
    if (type == U_WMR_SETWINDOWORG && !origin && U_WMRSETWINDOWORG_get(record, &point))
      origin = QPointF(point.x, point.y);
    if (type == U_WMR_SETWINDOWEXT && !extent && U_WMRSETWINDOWEXT_get(record, &point))
      extent = QSizeF(point.x, point.y);
  });
  if (!extent) return std::nullopt;
  return QRectF(origin.value_or(QPointF()), *extent);
}

}  // namespace

void ForEachWmfRecord(std::string_view bytes, std::size_t recordsOffset,
                      const std::function<void(const char*, std::size_t)>& visit) {
  const char* const limit = bytes.data() + bytes.size();
  std::size_t offset = recordsOffset;
  std::size_t count = 0;
  while (offset < bytes.size()) {
    const char* record = bytes.data() + offset;
    const std::size_t size = U_WMRRECSAFE_get(record, limit);
    if (size == 0 || size > bytes.size() - offset || ++count > kMaxRecords) RaiseInvalid();
    visit(record, size);
    if (static_cast<std::uint8_t>(record[kTypeOffset]) == U_WMR_EOF) return;
    offset += size;
  }
}

TWmfLayout ReadWmf(std::string_view bytes) {
  U_WMRPLACEABLE placeable{};
  U_WMRHEADER header{};
  // libuemf's header reader wants more bytes than the headers of a short
  // file have; it reads a zero-padded copy and its answer is checked below.
  std::string head(bytes.substr(0, kHeaderReadBytes));
  head.resize(kHeaderReadBytes, '\0');
  const int headers = wmfheader_get(head.data(), head.data() + head.size(), &placeable, &header);
  if (headers <= 0 || header.Size16w != kHeaderWords ||
      static_cast<std::size_t>(headers) > bytes.size())
    RaiseInvalid();
  TWmfLayout layout;
  layout.recordsOffset = static_cast<std::size_t>(headers);
  layout.info.objects = std::min<std::uint32_t>(header.nObjects, kMaxObjects);
  // A file cut between records draws the records before the cut; one
  // without a single whole record is no picture.
  std::size_t records = 0;
  ForEachWmfRecord(bytes, layout.recordsOffset, [&records](const char*, std::size_t) { ++records; });
  if (records == 0) RaiseInvalid();

  if (placeable.Key == 0x9AC6CDD7) {
    if (placeable.Inch == 0) RaiseInvalid();
    const U_RECT16& box = placeable.Dst;
    layout.window = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom));
    const double scale = kPixelsPerInch / placeable.Inch;
    layout.info.width = PictureSide(layout.window.width() * scale);
    layout.info.height = PictureSide(layout.window.height() * scale);
    layout.info.frame.pixelsPerMmX = placeable.Inch / 25.4;
    layout.info.frame.pixelsPerMmY = placeable.Inch / 25.4;
  } else if (const auto window = FirstWindow(bytes, layout.recordsOffset)) {
    layout.window = *window;
    layout.info.width = PictureSide(window->width());
    layout.info.height = PictureSide(window->height());
  }
  layout.info.frame.frame =
      QRectF(0, 0, std::abs(layout.window.width()), std::abs(layout.window.height()));
  return layout;
}

}  // namespace tessalune::metafile
