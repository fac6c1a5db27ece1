// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmfFile.h"

#include "Errors.h"
#include "MetafileLimits.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <cmath>
#include <cstring>

namespace tessalune::metafile {

namespace {

constexpr double kHundredthsMmPerInch = 2540;
constexpr double kPixelsPerInch = 96;

[[noreturn]] void RaiseInvalid() { throw Exception("Metafile is not valid"); }

std::uint32_t ReadU32(std::string_view bytes, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

int PictureSide(std::int64_t hundredthsMm) {
  if (hundredthsMm <= 0) return 0;
  const double pixels = std::round(hundredthsMm * kPixelsPerInch / kHundredthsMmPerInch);
  if (pixels > kMaxPictureSide) RaiseInvalid();
  return static_cast<int>(pixels);
}

// Record types that libuemf has a safety check for. Other types are never
// read, only stepped over, and libuemf would complain about them on stdout.
bool Checkable(std::uint32_t type) {
  return (type >= U_EMR_HEADER && type <= U_EMR_ABORTPATH) ||
         (type >= U_EMR_COMMENT && type <= U_EMR_EXTCREATEPEN) ||
         (type >= U_EMR_SETICMMODE && type <= U_EMR_DELETECOLORSPACE) ||
         type == U_EMR_PIXELFORMAT || type == U_EMR_SMALLTEXTOUT ||
         (type >= U_EMR_ALPHABLEND && type <= U_EMR_TRANSPARENTBLT) ||
         type == U_EMR_GRADIENTFILL || type == U_EMR_CREATECOLORSPACEW;
}

double PixelsPerMm(std::int32_t pixels, std::int32_t millimetres) {
  if (pixels <= 0 || millimetres <= 0) return kPixelsPerInch / 25.4;
  return static_cast<double>(pixels) / millimetres;
}

}  // namespace

void ForEachEmfRecord(std::string_view bytes, const std::function<void(const char*)>& visit) {
  std::size_t offset = 0;
  std::size_t count = 0;
  while (bytes.size() - offset >= sizeof(U_EMR)) {
    const std::uint32_t type = ReadU32(bytes, offset);
    const std::uint32_t size = ReadU32(bytes, offset + 4);
    if (size < sizeof(U_EMR) || size % 4 != 0 || size > bytes.size() - offset ||
        ++count > kMaxRecords)
      RaiseInvalid();
    const char* record = bytes.data() + offset;
    if (Checkable(type) && !U_emf_record_safe(record)) RaiseInvalid();
    visit(record);
    if (type == U_EMR_EOF) return;
    offset += size;
  }
}

TMetafileInfo ReadEmf(std::string_view bytes) {
  if (bytes.size() < U_SIZE_EMRHEADER_MIN) RaiseInvalid();
  U_EMRHEADER header;
  std::memset(&header, 0, sizeof header);
  std::memcpy(&header, bytes.data(), std::min(sizeof header, bytes.size()));
  if (header.emr.iType != U_EMR_HEADER || header.dSignature != U_ENHMETA_SIGNATURE ||
      header.emr.nSize < U_SIZE_EMRHEADER_MIN)
    RaiseInvalid();
  // A file cut between records draws the records before the cut; one with
  // no whole record after its header is no picture.
  std::size_t records = 0;
  ForEachEmfRecord(bytes, [&records](const char*) { ++records; });
  if (records < 2) RaiseInvalid();

  const U_RECTL& frame = header.rclFrame;
  TMetafileInfo info;
  info.width = PictureSide(static_cast<std::int64_t>(frame.right) - frame.left);
  info.height = PictureSide(static_cast<std::int64_t>(frame.bottom) - frame.top);
  info.objects = std::min<std::uint32_t>(header.nHandles, kMaxObjects);
  info.frame.pixelsPerMmX = PixelsPerMm(header.szlDevice.cx, header.szlMillimeters.cx);
  info.frame.pixelsPerMmY = PixelsPerMm(header.szlDevice.cy, header.szlMillimeters.cy);
  const double x = info.frame.pixelsPerMmX / 100;
  const double y = info.frame.pixelsPerMmY / 100;
  info.frame.frame = QRectF(frame.left * x, frame.top * y,
                            (static_cast<double>(frame.right) - frame.left) * x,
                            (static_cast<double>(frame.bottom) - frame.top) * y);
  return info;
}

}  // namespace tessalune::metafile
