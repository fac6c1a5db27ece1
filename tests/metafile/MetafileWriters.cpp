// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileWriters.h"

#include "Metafile.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace tessalune::test {

namespace {

// 96 pixels per inch: 960 pixels on 254 millimetres.
constexpr int kDevicePixels = 960;
constexpr int kDeviceMillimetres = 254;

int Hundredths(int pixels) { return (pixels * 2540 + 48) / 96; }

void Check(int status, const char* what) {
  if (status != 0) throw std::runtime_error(what);
}

}  // namespace

QImage RenderMetafile(const std::string& fileName, bool enhanced, int width, int height) {
  TMetafile metafile;
  metafile.LoadFromFile(fileName, enhanced);
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(Qt::white);
  QPainter painter(&image);
  metafile.Draw(painter, QRectF(0, 0, width, height));
  return image;
}

::testing::AssertionResult PixelIs(const QImage& image, int x, int y, const QColor& expected) {
  const QColor actual = image.pixelColor(x, y);
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                       << actual.name().toStdString() << ", expected "
                                       << expected.name().toStdString();
}

int InkIn(const QImage& image, int left, int top, int right, int bottom) {
  int ink = 0;
  for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y)
    for (int x = std::max(left, 0); x <= std::min(right, image.width() - 1); ++x)
      if (image.pixelColor(x, y) != QColor(Qt::white)) ++ink;
  return ink;
}

::testing::AssertionResult SamePixels(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << "the sizes differ";
  int differing = 0;
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x)
      if (actual.pixel(x, y) != expected.pixel(x, y)) ++differing;
  if (differing != 0) return ::testing::AssertionFailure() << differing << " pixels differ";
  if (InkIn(expected, 0, 0, expected.width() - 1, expected.height() - 1) == 0)
    return ::testing::AssertionFailure() << "both are blank";
  return ::testing::AssertionSuccess();
}

TQuadrantBitmap::TQuadrantBitmap()
    : info_(bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, 0, 0, 0, 0, 0), nullptr)),
      pixels_{'\xff', 0, 0, '\xff', '\xff', '\xff', 0, 0,   // blue, white
              0, 0, '\xff', 0, '\xff', 0, 0, 0} {}             // red, green

TQuadrantBitmap::~TQuadrantBitmap() { std::free(info_); }

TEmfWriter::TEmfWriter(const std::string& fileName, int width, int height) {
  Check(emf_start(fileName.c_str(), 4096, 4096, &track_), "emf_start");
  Check(emf_htable_create(128, 128, &handles_), "emf_htable_create");
  const U_RECTL bounds{0, 0, width, height};
  const U_RECTL frame{0, 0, Hundredths(width), Hundredths(height)};
  Add(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr,
                      U_SIZEL{kDevicePixels, kDevicePixels},
                      U_SIZEL{kDeviceMillimetres, kDeviceMillimetres}, 0));
}

TEmfWriter::~TEmfWriter() {
  emf_free(&track_);
  emf_htable_free(&handles_);
}

void TEmfWriter::Add(char* record) {
  if (!record) throw std::runtime_error("record not made");
  Check(emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), track_, 1), "emf_append");
}

void TEmfWriter::SelectPen(std::uint32_t style, int width, U_COLORREF colour) {
  std::uint32_t pen = 0;
  Add(createpen_set(&pen, handles_, logpen_set(style, U_POINT{width, 0}, colour)));
  Add(selectobject_set(pen, handles_));
}

void TEmfWriter::SelectBrush(U_COLORREF colour) {
  std::uint32_t brush = 0;
  Add(createbrushindirect_set(&brush, handles_, logbrush_set(U_BS_SOLID, colour, 0)));
  Add(selectobject_set(brush, handles_));
}

void TEmfWriter::SelectExtPen(std::uint32_t style, int width, U_COLORREF colour,
                              std::vector<std::uint32_t> dashes) {
  PU_EXTLOGPEN logical =
      extlogpen_set(style, static_cast<std::uint32_t>(width), U_BS_SOLID, colour, 0,
                    static_cast<U_NUM_STYLEENTRY>(dashes.size()), dashes.data());
  std::uint32_t pen = 0;
  char* record = extcreatepen_set(&pen, handles_, nullptr, 0, nullptr, logical);
  std::free(logical);
  Add(record);
  Add(selectobject_set(pen, handles_));
}

void TEmfWriter::SelectFont(int height, std::uint8_t charset, const std::string& face) {
  std::vector<std::uint16_t> name(face.begin(), face.end());
  name.resize(U_LF_FACESIZE, 0);
  const U_LOGFONT font = logfont_set(height, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, charset,
                                     U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                                     U_DEFAULT_QUALITY, U_DEFAULT_PITCH, name.data());
  std::uint32_t handle = 0;
  Add(extcreatefontindirectw_set(&handle, handles_, reinterpret_cast<const char*>(&font),
                                 nullptr));
  Add(selectobject_set(handle, handles_));
}

void TEmfWriter::Finish() {
  Add(U_EMREOF_set(0, nullptr, track_));
  Check(emf_finish(track_, handles_), "emf_finish");
}

TWmfWriter::TWmfWriter(const std::string& fileName, const U_PAIRF* inches, unsigned dpi) {
  Check(wmf_start(fileName.c_str(), 4096, 4096, &track_), "wmf_start");
  Check(wmf_htable_create(128, 128, &handles_), "wmf_htable_create");
  char* header = U_WMRHEADER_set(const_cast<U_PAIRF*>(inches), dpi);
  if (!header) throw std::runtime_error("header not made");
  Check(wmf_header_append(reinterpret_cast<U_METARECORD*>(header), track_, 1), "header");
}

TWmfWriter::~TWmfWriter() {
  wmf_free(&track_);
  wmf_htable_free(&handles_);
}

void TWmfWriter::Add(char* record) {
  if (!record) throw std::runtime_error("record not made");
  Check(wmf_append(reinterpret_cast<U_METARECORD*>(record), track_, 1), "wmf_append");
}

void TWmfWriter::SelectPen(std::uint16_t style, std::uint16_t width, U_COLORREF colour) {
  std::uint32_t pen = 0;
  Add(wcreatepenindirect_set(&pen, handles_, U_PEN_set(style, width, colour)));
  Add(wselectobject_set(pen, handles_));
}

void TWmfWriter::SelectBrush(U_COLORREF colour) {
  std::uint32_t brush = 0;
  Add(wcreatebrushindirect_set(&brush, handles_, U_WLOGBRUSH_set(U_BS_SOLID, colour, 0)));
  Add(wselectobject_set(brush, handles_));
}

void TWmfWriter::SelectFont(int height, std::uint8_t charset, const std::string& face) {
  U_FONT* font = U_FONT_set(static_cast<std::int16_t>(height), 0, 0, 0, U_FW_NORMAL, 0, 0, 0,
                            charset, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                            U_DEFAULT_QUALITY, U_DEFAULT_PITCH, const_cast<char*>(face.c_str()));
  std::uint32_t handle = 0;
  char* record = wcreatefontindirect_set(&handle, handles_, font);
  std::free(font);
  Add(record);
  Add(wselectobject_set(handle, handles_));
}

void TWmfWriter::Finish() {
  Add(U_WMREOF_set());
  Check(wmf_finish(track_), "wmf_finish");
}

}  // namespace tessalune::test
