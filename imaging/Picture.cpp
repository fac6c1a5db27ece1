// SPDX-License-Identifier: GPL-3.0-or-later
#include "Picture.h"

#include "Errors.h"
#include "FileHandle.h"
#include "FileLib.h"
#include "GifDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>

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

// What a bitmap file's headers say; bytes holds at least kBitmapHeaders.
struct TBitmapHeader {
  std::uint32_t offset;
  std::int64_t width;
  std::int64_t height;  // negative for rows stored top down
  std::uint32_t bitCount;
  std::uint32_t compression;
};

constexpr std::size_t kBitmapHeaders = 14 + 16;

// Room for the segments that come before a JPEG's frame header: EXIF with
// its thumbnail, colour profiles, editors' notes.
constexpr std::size_t kJpegHead = std::size_t{256} << 10;

TBitmapHeader ReadBitmapHeader(const std::string& bytes) {
  constexpr std::size_t kFileHeader = 14;
  const bool core = LittleEndian(bytes, kFileHeader, 4) == 12;
  // Core headers hold unsigned 16-bit sides, the others signed 32-bit ones.
  const auto side = [&](std::size_t coreAt, std::size_t at) -> std::int64_t {
    if (core) return LittleEndian(bytes, coreAt, 2);
    return static_cast<std::int32_t>(LittleEndian(bytes, at, 4));
  };
  return {LittleEndian(bytes, 10, 4), side(18, 18), side(20, 22), LittleEndian(bytes, core ? 24 : 28, 2),
          core || bytes.size() < 34 ? 0 : LittleEndian(bytes, 30, 4)};
}

// A header that declares more than a picture may hold is refused before
// Qt's reader sees it. Qt's bitmap reader fills the rows of a truncated file
// with black; a file too short for the pixels its uncompressed header
// promises is refused.
void CheckBitmapComplete(const std::string& bytes) {
  if (bytes.size() < kBitmapHeaders) throw Exception("Bitmap image is not valid");
  const TBitmapHeader header = ReadBitmapHeader(bytes);
  if (header.width < 0 || header.bitCount > 32) throw Exception("Bitmap image is not valid");
  CheckPictureSize(header.width, std::abs(header.height));
  if (header.compression != 0 && header.compression != 3) return;  // run-length data has no fixed size
  const std::int64_t rowBytes = (header.width * header.bitCount + 31) / 32 * 4;
  if (static_cast<std::int64_t>(bytes.size()) < header.offset + rowBytes * std::abs(header.height)) {
    throw Exception("Bitmap image is not valid");
  }
}

// The first count bytes of a file, or fewer when it is shorter; empty when
// it cannot be read.
std::string ReadFileHead(const std::string& fileName, std::size_t count) {
  const TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  std::string head(count, '\0');
  const ssize_t got = file.Get() < 0 ? -1 : ::read(file.Get(), head.data(), count);
  head.resize(got < 0 ? 0 : std::size_t(got));
  return head;
}

// Decodes with Qt's reader for exactly this format: the content never picks
// another one.
QImage ReadWithQt(const std::string& bytes, const char* format, const char* invalidText) {
  // Qt refuses images above an allocation limit of its own (128 MB); the
  // picture limit, checked below, is the one that holds here.
  static std::once_flag limitRaised;
  std::call_once(limitRaised, [] { QImageReader::setAllocationLimit(int(MaxPicturePixels() * 4 >> 20)); });
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

std::int64_t DeclaredPixels(const std::string& fileName) {
  const std::string kind = AsciiLower(Extension(fileName));
  try {
    if (kind == "jpg" || kind == "jpeg") {
      // The header lies near the start of nearly every file; the rest are
      // read whole.
      TJPEGImage jpeg;
      try {
        jpeg.LoadFromBytes(ReadFileHead(fileName, kJpegHead));
      } catch (const std::exception&) {
        jpeg.LoadFromFile(fileName);
      }
      return ClampedPixels(jpeg.Width(), jpeg.Height());
    }
    if (kind == "gif") {
      // The logical screen, which the decoded picture covers.
      const std::string head = ReadFileHead(fileName, 10);
      return head.size() < 10 ? 0 : ClampedPixels(LittleEndian(head, 6, 2), LittleEndian(head, 8, 2));
    }
    if (kind == "bmp") {
      const std::string head = ReadFileHead(fileName, kBitmapHeaders + 4);
      if (head.size() < kBitmapHeaders) return 0;
      const TBitmapHeader header = ReadBitmapHeader(head);
      return ClampedPixels(header.width, std::abs(header.height));
    }
  } catch (const std::exception&) {
    // Unreadable: loading it will hold nothing either.
  }
  return 0;
}

}  // namespace tessalune
