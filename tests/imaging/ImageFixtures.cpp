// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageFixtures.h"

#include <QBuffer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>

namespace tessalune::test {
namespace {

// Fixtures are valid by construction; a libjpeg error here is a broken test,
// and no exception may cross libjpeg's C frames.
[[noreturn]] void FixtureError(j_common_ptr cinfo) {
  std::fprintf(stderr, "libjpeg failed on a fixture: message %d\n", cinfo->err->msg_code);
  std::abort();
}

void FillRow(const TBitmap& bitmap, int y, JpegKind kind, std::vector<JSAMPLE>& row) {
  const std::uint8_t* pixels = bitmap.constScanLine(y);
  for (int x = 0; x < bitmap.width(); ++x) {
    const std::uint8_t* p = pixels + 3 * x;
    if (kind == JpegKind::Grayscale) {
      row[static_cast<std::size_t>(x)] = p[1];
    } else if (kind == JpegKind::AdobeCmyk) {
      // Inverted CMYK without black: the stored values equal R, G, B.
      for (int c = 0; c < 3; ++c) row[4 * static_cast<std::size_t>(x) + c] = p[c];
      row[4 * static_cast<std::size_t>(x) + 3] = 255;
    } else {
      for (int c = 0; c < 3; ++c) row[3 * static_cast<std::size_t>(x) + c] = p[c];
    }
  }
}

struct GifWriter {
  std::string bytes;
  static int Put(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<GifWriter*>(gif->UserData)->bytes.append(reinterpret_cast<const char*>(data),
                                                           static_cast<std::size_t>(length));
    return length;
  }
};

void PutFrame(GifFileType* gif, const GifFrame& frame) {
  if (frame.transparent >= 0) {
    GraphicsControlBlock control{};
    control.TransparentColor = frame.transparent;
    GifByteType block[4];
    EGifGCBToExtension(&control, block);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
  }
  EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, nullptr);
  std::vector<int> rows;
  if (frame.interlaced) {
    for (int start : {0, 4, 2, 1}) {
      for (int y = start; y < frame.height; y += start == 2 ? 4 : start == 1 ? 2 : 8) rows.push_back(y);
    }
  } else {
    for (int y = 0; y < frame.height; ++y) rows.push_back(y);
  }
  for (int y : rows) {
    std::vector<GifPixelType> line(frame.indexes.begin() + y * frame.width,
                                   frame.indexes.begin() + (y + 1) * frame.width);
    EGifPutLine(gif, line.data(), frame.width);
  }
}

// A JPEG stream of width x height pixels with the given components, each row
// filled by fill(y, row) just before it is encoded.
std::string Encode(int width, int height, int components, J_COLOR_SPACE space, int quality,
                   bool progressive, const std::function<void(int, std::vector<JSAMPLE>&)>& fill) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  error.error_exit = FixtureError;
  jpeg_create_compress(&cinfo);
  unsigned char* output = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &output, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * static_cast<std::size_t>(components));
  while (cinfo.next_scanline < cinfo.image_height) {
    fill(static_cast<int>(cinfo.next_scanline), row);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(output), size);
  std::free(output);
  return bytes;
}

}  // namespace

std::string MakeJpeg(const TBitmap& bitmap, JpegKind kind) {
  const int components = kind == JpegKind::Grayscale ? 1 : kind == JpegKind::AdobeCmyk ? 4 : 3;
  const J_COLOR_SPACE space = kind == JpegKind::Grayscale   ? JCS_GRAYSCALE
                              : kind == JpegKind::AdobeCmyk ? JCS_CMYK
                                                            : JCS_RGB;
  return Encode(bitmap.width(), bitmap.height(), components, space, 95,
                kind == JpegKind::Progressive,
                [&](int y, std::vector<JSAMPLE>& row) { FillRow(bitmap, y, kind, row); });
}

std::string MakeFlatJpeg(int width, int height, std::uint8_t grey) {
  return Encode(width, height, 1, JCS_GRAYSCALE, 50, false,
                [grey](int, std::vector<JSAMPLE>& row) { std::fill(row.begin(), row.end(), grey); });
}

std::string MakeFlatRle8Bitmap(int width, int height, QColor colour) {
  std::string runs;
  for (int y = 0; y < height; ++y) {
    for (int left = width; left > 0; left -= 255) {
      runs += static_cast<char>(std::min(left, 255));
      runs += '\0';  // colour index 0
    }
    runs += std::string("\0\0", 2);  // end of line
  }
  runs += std::string("\0\1", 2);  // end of bitmap
  const auto le = LittleEndian;
  const std::uint32_t offset = 14 + 40 + 4;  // headers and a palette of one colour
  std::string file = "BM" + le(offset + std::uint32_t(runs.size()), 4) + le(0, 4) + le(offset, 4);
  file += le(40, 4) + le(std::uint32_t(width), 4) + le(std::uint32_t(height), 4) + le(1, 2) +
          le(8, 2) + le(1, 4) + le(std::uint32_t(runs.size()), 4) + le(2835, 4) + le(2835, 4) +
          le(1, 4) + le(0, 4);
  file += {static_cast<char>(colour.blue()), static_cast<char>(colour.green()),
           static_cast<char>(colour.red()), '\0'};
  return file + runs;
}

std::string LittleEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string MakeBitmapHeader(std::int32_t width, std::int32_t height, std::uint32_t compression) {
  const auto le = LittleEndian;
  std::string file = "BM" + le(64, 4) + le(0, 4) + le(14 + 40, 4);
  file += le(40, 4) + le(std::uint32_t(width), 4) + le(std::uint32_t(height), 4) + le(1, 2) + le(24, 2) +
          le(compression, 4) + std::string(20, '\0');
  return file + std::string(10, '\x7F');
}

std::string ExifBlock(const ExifEntry& entry) {
  const auto put = [&entry](std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (entry.bigEndian ? bytes - 1 - i : i);
      out += static_cast<char>((value >> shift) & 0xFF);
    }
  };
  std::string block("Exif\0\0", 6);
  block += entry.bigEndian ? "MM" : "II";
  put(block, 42, 2);
  put(block, 8, 4);  // the first IFD follows the header
  put(block, 1, 2);  // one entry
  put(block, 0x0112, 2);
  put(block, static_cast<std::uint32_t>(entry.type), 2);
  put(block, static_cast<std::uint32_t>(entry.count), 4);
  // The value sits left-aligned in the four bytes of the entry.
  if (entry.type == 3) {
    put(block, static_cast<std::uint32_t>(entry.value), 2);
    put(block, 0, 2);
  } else {
    put(block, static_cast<std::uint32_t>(entry.value), 4);
  }
  put(block, 0, 4);  // no next IFD
  return block;
}

std::string WithApp1(const std::string& jpeg, const std::string& body) {
  const std::size_t length = body.size() + 2;
  std::string segment = "\xFF\xE1";
  segment += static_cast<char>(length >> 8);
  segment += static_cast<char>(length & 0xFF);
  return jpeg.substr(0, 2) + segment + body + jpeg.substr(2);
}

TBitmap CornerMarkedBitmap(int width, int height) {
  TBitmap bitmap = FilledBitmap(width, height, QColor(0, 0, 255));
  for (int y = 0; y < height / 4; ++y) {
    for (int x = 0; x < width / 4; ++x) {
      std::uint8_t* left = bitmap.scanLine(y) + 3 * x;
      std::uint8_t* right = bitmap.scanLine(y) + 3 * (width - 1 - x);
      left[0] = 255, left[1] = 0, left[2] = 0;
      right[0] = 0, right[1] = 255, right[2] = 0;
    }
  }
  return bitmap;
}

JpegInfo ReadJpegInfo(const std::string& bytes) {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  error.error_exit = FixtureError;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  const JpegInfo info{static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height),
                      cinfo.progressive_mode != 0};
  jpeg_destroy_decompress(&cinfo);
  return info;
}

std::string MakeGif(int screenWidth, int screenHeight, const std::vector<QColor>& colours,
                    const std::vector<GifFrame>& frames) {
  GifWriter writer;
  int error = 0;
  GifFileType* gif = EGifOpen(&writer, GifWriter::Put, &error);
  std::vector<GifColorType> table(256, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < colours.size(); ++i) {
    table[i] = GifColorType{static_cast<GifByteType>(colours[i].red()), static_cast<GifByteType>(colours[i].green()),
                            static_cast<GifByteType>(colours[i].blue())};
  }
  ColorMapObject* map = GifMakeMapObject(256, table.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, map);
  for (const GifFrame& frame : frames) PutFrame(gif, frame);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return writer.bytes;
}

std::string MakeWithQt(const QImage& image, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) throw std::runtime_error("Qt cannot write the fixture");
  return data.toStdString();
}

TBitmap FilledBitmap(int width, int height, QColor colour) {
  TBitmap bitmap = NewBitmap(width, height);
  bitmap.fill(colour);
  return bitmap;
}

TBitmap NoiseBitmap(int width, int height, unsigned seed) {
  TBitmap bitmap = NewBitmap(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < 3 * width; ++x) bitmap.scanLine(y)[x] = static_cast<std::uint8_t>(random() & 255);
  }
  return bitmap;
}

QColor PixelAt(const TBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.constScanLine(y) + 3 * x;
  return QColor(p[0], p[1], p[2]);
}

}  // namespace tessalune::test
