// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the metafile readers, as an enhanced metafile and
// as a Windows metafile, and plays whatever they accept into a bitmap: a
// small one, or the size given by "--target=WIDTHxHEIGHT" (libFuzzer leaves
// options with two dashes to the target), at which the seeds are checked to
// draw in time.
#include "EmfFile.h"
#include "EmfPlayer.h"
#include "Errors.h"
#include "WmfFile.h"
#include "WmfPlayer.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <cstdint>
#include <functional>
#include <string_view>

namespace {

QSize TargetSize() {
  static const QRegularExpression option(QStringLiteral("^--target=(\\d+)x(\\d+)$"));
  for (const QString& argument : QCoreApplication::arguments()) {
    const QRegularExpressionMatch match = option.match(argument);
    if (match.hasMatch()) return QSize(match.captured(1).toInt(), match.captured(2).toInt());
  }
  return QSize(40, 30);
}

// On 32-bit pixels, as TMetafile draws thumbnails.
void Play(const std::function<void(QPainter&, const QRectF&)>& play) {
  static const QSize size = TargetSize();
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  play(painter, QRectF(0, 0, size.width() - 1, size.height() - 1));
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
