// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileBitmap.h"

#include "MetafileLimits.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <cstdlib>
#include <cstring>
#include <optional>

namespace tessalune::metafile {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kMaxInfoHeaderSize = 124;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kJpeg = 4;
constexpr std::uint32_t kPng = 5;
constexpr std::uint32_t kRgbColours = 0;

template <typename T>
T ReadAt(std::string_view bytes, std::size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

template <typename T>
void WriteAt(QByteArray& bytes, std::size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// The fields of a BITMAPINFOHEADER that decoding depends on.
struct TDibHeader {
  std::uint32_t size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours = 0;  // entries in the colour table that follows
  std::size_t tableBytes = 0;  // colour table and bit field masks
};

std::optional<TDibHeader> ReadHeader(std::string_view info) {
  if (info.size() < kInfoHeaderSize) return std::nullopt;
  TDibHeader header;
  header.size = ReadAt<std::uint32_t>(info, 0);
  header.width = ReadAt<std::int32_t>(info, 4);
  header.height = ReadAt<std::int32_t>(info, 8);
  header.bitCount = ReadAt<std::uint16_t>(info, 14);
  header.compression = ReadAt<std::uint32_t>(info, 16);
  const std::uint32_t used = ReadAt<std::uint32_t>(info, 32);
  if (header.size < kInfoHeaderSize || header.size > kMaxInfoHeaderSize ||
      header.size > info.size())
    return std::nullopt;
  const long long width = header.width;
  const long long height = std::llabs(static_cast<long long>(header.height));
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
      width * height > kMaxBitmapPixels)
    return std::nullopt;
  if (header.bitCount <= 8) {
    const std::uint32_t full = 1u << header.bitCount;
    header.colours = used == 0 || used > full ? full : used;
  }
  header.tableBytes = std::size_t{4} * header.colours;
  if (header.compression == kBitFields && header.size == kInfoHeaderSize) header.tableBytes += 12;
  if (header.size + header.tableBytes > info.size()) return std::nullopt;
  return header;
}

// The bytes of uncompressed pixels: rows padded to four bytes.
std::size_t PixelBytes(const TDibHeader& header) {
  const std::size_t stride =
      (static_cast<std::size_t>(header.width) * header.bitCount + 31) / 32 * 4;
  return stride * static_cast<std::size_t>(std::llabs(static_cast<long long>(header.height)));
}

QImage ReadEmbedded(std::string_view bits, const char* format, const TAfford& afford) {
  QByteArray data(bits.data(), static_cast<qsizetype>(bits.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer, format);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxBitmapSide || size.height() > kMaxBitmapSide ||
      static_cast<long long>(size.width()) * size.height() > kMaxBitmapPixels ||
      !afford(static_cast<std::uint64_t>(size.width()) * static_cast<std::uint64_t>(size.height())))
    return QImage();
  return reader.read();
}

// Wraps header, table and pixels in a BMP file for Qt's bounds-checked reader.
QImage ReadAsBmp(std::string_view info, const TDibHeader& header, std::string_view bits) {
  const std::size_t infoBytes = header.size + header.tableBytes;
  const std::size_t offset = 14 + infoBytes;
  QByteArray file(static_cast<qsizetype>(offset + bits.size()), '\0');
  file[0] = 'B';
  file[1] = 'M';
  WriteAt<std::uint32_t>(file, 2, static_cast<std::uint32_t>(file.size()));
  WriteAt<std::uint32_t>(file, 10, static_cast<std::uint32_t>(offset));
  std::memcpy(file.data() + 14, info.data(), infoBytes);
  WriteAt<std::uint32_t>(file, 14 + 32, header.colours);
  std::memcpy(file.data() + offset, bits.data(), bits.size());
  QImage image;
  if (!image.loadFromData(file, "BMP")) return QImage();
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QImage DecodeDib(std::string_view info, std::string_view bits, std::uint32_t usage,
                 const TAfford& afford) {
  const std::optional<TDibHeader> header = ReadHeader(info);
  if (!header || usage != kRgbColours) return QImage();
  if (header->compression == kJpeg) return ReadEmbedded(bits, "JPEG", afford);
  if (header->compression == kPng) return ReadEmbedded(bits, "PNG", afford);
  if (!afford(static_cast<std::uint64_t>(header->width) *
              static_cast<std::uint64_t>(std::llabs(static_cast<long long>(header->height)))))
    return QImage();
  switch (header->compression) {
    case kRle8:
    case kRle4:
      if (header->height < 0) return QImage();
      return ReadAsBmp(info, *header, bits);
    case kRgb:
    case kBitFields: {
      const std::size_t needed = PixelBytes(*header);
      if (bits.size() < needed) return QImage();
      return ReadAsBmp(info, *header, bits.substr(0, needed));
    }
    default: return QImage();
  }
}

QImage DecodePackedDib(std::string_view dib, std::uint32_t usage, const TAfford& afford) {
  const std::optional<TDibHeader> header = ReadHeader(dib);
  if (!header) return QImage();
  const std::size_t infoBytes = header->size + header->tableBytes;
  return DecodeDib(dib.substr(0, infoBytes), dib.substr(infoBytes), usage, afford);
}

}  // namespace tessalune::metafile
