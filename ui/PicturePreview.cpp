// SPDX-License-Identifier: GPL-3.0-or-later
#include "PicturePreview.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QPainter>

#include "ThumbnailLoader.h"

namespace tessalune {
namespace {

// The picture keeps this many pixels free around it on every side.
constexpr int kMargin = 2;
// Every request of one preview has this identity, so that each new request
// supersedes (and cancels) the one before.
constexpr std::uint64_t kPreviewId = 1;

}  // namespace

TPicturePreview::TPicturePreview(QWidget* parent)
    : QWidget(parent), loader_(std::make_unique<TThumbnailLoader>(1)) {
  loader_->OnThumbnail = [this](const TThumbnailRequest& request, TThumbnail thumbnail) {
    Made(request, std::move(thumbnail));
  };
}

// The worker stops before the widget it reports to goes.
TPicturePreview::~TPicturePreview() { loader_.reset(); }

int TPicturePreview::Loads() const { return loader_->Loads(); }

void TPicturePreview::SetFileName(const std::string& FileName) {
  if (FileName != fileName_) {
    if (!picture_.isNull()) update();
    picture_ = QPixmap();
    pictureSize_ = QSize();
  }
  fileName_ = FileName;
  Request();
}

void TPicturePreview::SetPictureVisible(bool Value) {
  if (Value == pictureVisible_) return;
  pictureVisible_ = Value;
  update();
}

void TPicturePreview::Request() {
  if (fileName_.empty()) {
    wanted_ = {};
    loader_->CancelAll();
    return;
  }
  TThumbnailRequest request;
  request.Id = kPreviewId;
  request.FileName = fileName_;
  request.Stamp = FileStampOf(fileName_);
  request.DevicePixelRatio = devicePixelRatioF();
  const QSize area = (size() - QSize(2 * kMargin, 2 * kMargin)) * request.DevicePixelRatio;
  request.MaxSize = QSize(std::max(1, area.width()), std::max(1, area.height()));
  if (request == wanted_) return;
  wanted_ = request;
  loader_->SetQueue({request});
}

void TPicturePreview::Made(const TThumbnailRequest& request, TThumbnail thumbnail) {
  if (!(request == wanted_)) return;
  picture_ = QPixmap::fromImage(std::move(thumbnail.Bitmap));
  picture_.setDevicePixelRatio(request.DevicePixelRatio);
  pictureSize_ = thumbnail.PictureSize;
  update();
  emit PictureChanged();
}

// Centred on whole device pixels, so that the picture stays sharp. A window
// moved to a screen of another scale repaints, and the picture is then made
// again for that scale.
void TPicturePreview::paintEvent(QPaintEvent*) {
  if (!fileName_.empty() && devicePixelRatioF() != wanted_.DevicePixelRatio) Request();
  if (picture_.isNull() || !pictureVisible_) return;
  const qreal ratio = picture_.devicePixelRatio();
  const auto centred = [ratio](int room, int side) { return std::floor((room * ratio - side) / 2) / ratio; };
  QPainter painter(this);
  painter.drawPixmap(QPointF(centred(width(), picture_.width()), centred(height(), picture_.height())), picture_);
}

void TPicturePreview::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Request();
}

}  // namespace tessalune
