// SPDX-License-Identifier: GPL-3.0-or-later
#include "Metafile.h"

#include "EmfFile.h"
#include "EmfPlayer.h"
#include "Errors.h"
#include "MetafileLimits.h"
#include "WmfFile.h"
#include "WmfPlayer.h"

#include <QImage>
#include <QPainter>
#include <QRectF>

#include <fstream>
#include <iterator>

namespace tessalune {

struct TMetafile::Data {
  std::string bytes;
  bool enhanced = false;
  metafile::TWmfLayout layout;  // for enhanced metafiles only its info is used
};

namespace {

// The whole file, refusing files above the size cap before reading them.
std::string ReadMetafileBytes(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary | std::ios::ate);
  if (!file) throw EFOpenError(Format("Cannot open file %s", fileName.c_str()));
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::size_t>(size) > metafile::kMaxFileBytes)
    throw Exception("Metafile is not valid");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) throw EReadError(Format("Cannot read file %s", fileName.c_str()));
  return bytes;
}

}  // namespace

TMetafile::TMetafile() : data_(std::make_unique<Data>()) {}
TMetafile::~TMetafile() = default;
TMetafile::TMetafile(TMetafile&&) noexcept = default;
TMetafile& TMetafile::operator=(TMetafile&&) noexcept = default;

void TMetafile::LoadFromFile(const std::string& fileName, bool enhanced) {
  auto loaded = std::make_unique<Data>();
  loaded->bytes = ReadMetafileBytes(fileName);
  loaded->enhanced = enhanced;
  if (enhanced)
    loaded->layout.info = metafile::ReadEmf(loaded->bytes);
  else
    loaded->layout = metafile::ReadWmf(loaded->bytes);
  data_ = std::move(loaded);
}

bool TMetafile::Empty() const { return Width() == 0 || Height() == 0; }
int TMetafile::Width() const { return data_->layout.info.width; }
int TMetafile::Height() const { return data_->layout.info.height; }

void TMetafile::Draw(QPainter& painter, const QRectF& target) const {
  if (data_->bytes.empty()) return;
  // Qt draws on 32-bit pixels several times faster than on others (thin
  // lines on 24-bit bitmaps cost about seven times as much), so a bitmap of
  // another opaque format is drawn on through a 32-bit copy. The players
  // draw in device pixels without the painter's transform or clipping, so
  // the copy gives the same pixels.
  QPaintDevice* device = painter.device();
  auto* image = device && device->devType() == QInternal::Image ? static_cast<QImage*>(device)
                                                                  : nullptr;
  if (image && image->depth() != 32 && !image->hasAlphaChannel()) {
    QImage layer = image->convertToFormat(QImage::Format_RGB32);
    {
      QPainter layerPainter(&layer);
      Play(layerPainter, target);
    }
    painter.save();
    painter.resetTransform();
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, layer);
    painter.restore();
    return;
  }
  painter.save();
  Play(painter, target);
  painter.restore();
}

void TMetafile::Play(QPainter& painter, const QRectF& target) const {
  if (data_->enhanced)
    metafile::PlayEmf(data_->bytes, data_->layout.info, painter, target);
  else
    metafile::PlayWmf(data_->bytes, data_->layout, painter, target);
}

}  // namespace tessalune
