// SPDX-License-Identifier: GPL-3.0-or-later
#include "Picture.h"

#include "Errors.h"
#include "FileLib.h"
#include "GifDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

namespace tessalune {
namespace {

// The extension without its dot, as written in the file name.
std::string Extension(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return fileName.substr(dot + 1);
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// Qt's bitmap reader fills the rows of a truncated file with black; a file
// too short for the pixels its uncompressed header promises is refused.
void CheckBitmapComplete(const std::string& bytes) {
  constexpr std::size_t kFileHeader = 14;
  if (bytes.size() < kFileHeader + 16) throw Exception("Bitmap image is not valid");
  const std::uint32_t offset = LittleEndian(bytes, 10, 4);
  const bool core = LittleEndian(bytes, kFileHeader, 4) == 12;
  const std::int64_t width = core ? LittleEndian(bytes, 18, 2) : static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
  const std::int64_t height = core ? LittleEndian(bytes, 20, 2) : static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
  const std::uint32_t bitCount = LittleEndian(bytes, core ? 24 : 28, 2);
  const std::uint32_t compression = core || bytes.size() < 34 ? 0 : LittleEndian(bytes, 30, 4);
  if (compression != 0 && compression != 3) return;  // run-length data has no fixed size
  if (width < 0 || bitCount > 32) throw Exception("Bitmap image is not valid");
  CheckPictureSize(width, std::abs(height));
  const std::int64_t rowBytes = (width * bitCount + 31) / 32 * 4;
  if (static_cast<std::int64_t>(bytes.size()) < offset + rowBytes * std::abs(height)) {
    throw Exception("Bitmap image is not valid");
  }
}

// Decodes with Qt's reader for exactly this format: the content never picks
// another one.
QImage ReadWithQt(const std::string& bytes, const char* format, const char* invalidText) {
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);
  const QSize size = reader.size();
  if (size.isValid()) CheckPictureSize(size.width(), size.height());
  QImage image;
  if (!reader.read(&image) || image.isNull()) throw Exception(invalidText);
  return image;
}

}  // namespace

void TPicture::Clear() {
  kind_ = TGraphicKind::None;
  image_ = QImage();
  jpeg_ = TJPEGImage();
  metafile_ = TMetafile();
}

void TPicture::LoadFromFile(const std::string& fileName) {
  Clear();
  const std::string extension = Extension(fileName);
  const std::string kind = AsciiLower(extension);
  if (kind == "jpg" || kind == "jpeg") {
    jpeg_.LoadFromFile(fileName);
    kind_ = TGraphicKind::Jpeg;
  } else if (kind == "gif") {
    image_ = DecodeGif(ReadFileBytes(fileName));
    kind_ = TGraphicKind::Gif;
  } else if (kind == "bmp") {
    const std::string bytes = ReadFileBytes(fileName);
    CheckBitmapComplete(bytes);
    image_ = ReadWithQt(bytes, "bmp", "Bitmap image is not valid");
    kind_ = TGraphicKind::Bitmap;
  } else if (kind == "ico") {
    image_ = ReadWithQt(ReadFileBytes(fileName), "ico", "Icon image is not valid")
                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    kind_ = TGraphicKind::Icon;
  } else if (kind == "wmf" || kind == "emf") {
    metafile_.LoadFromFile(fileName, kind == "emf");
    kind_ = TGraphicKind::Metafile;
  } else {
    throw Exception(Format("Unknown picture file extension (.%s)", extension.c_str()));
  }
}

int TPicture::Width() const {
  switch (kind_) {
    case TGraphicKind::Jpeg: return jpeg_.Width();
    case TGraphicKind::Metafile: return metafile_.Width();
    case TGraphicKind::None: return 0;
    default: return image_.width();
  }
}

int TPicture::Height() const {
  switch (kind_) {
    case TGraphicKind::Jpeg: return jpeg_.Height();
    case TGraphicKind::Metafile: return metafile_.Height();
    case TGraphicKind::None: return 0;
    default: return image_.height();
  }
}

}  // namespace tessalune
