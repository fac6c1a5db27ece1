// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the metafile readers, as an enhanced metafile and
// as a Windows metafile, and plays whatever they accept into a small bitmap.
#include "EmfFile.h"
#include "EmfPlayer.h"
#include "Errors.h"
#include "WmfFile.h"
#include "WmfPlayer.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <functional>
#include <string_view>

namespace {

void Play(const std::function<void(QPainter&, const QRectF&)>& play) {
  QImage image(40, 30, QImage::Format_RGB888);
  image.fill(Qt::white);
  QPainter painter(&image);
  play(painter, QRectF(0, 0, 39, 29));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessalune::metafile;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const TMetafileInfo info = ReadEmf(bytes);
    Play([&](QPainter& painter, const QRectF& target) { PlayEmf(bytes, info, painter, target); });
  } catch (const tessalune::Exception&) {
  }
  try {
    const TWmfLayout layout = ReadWmf(bytes);
    Play([&](QPainter& painter, const QRectF& target) { PlayWmf(bytes, layout, painter, target); });
  } catch (const tessalune::Exception&) {
  }
  return 0;
}
