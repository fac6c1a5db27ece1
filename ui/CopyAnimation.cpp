// SPDX-License-Identifier: GPL-3.0-or-later
#include "CopyAnimation.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>

namespace tessalune {
namespace {

constexpr int kFrameMilliseconds = 66;  // about 15 frames a second
constexpr QSizeF kFolderSize(44, 32);
constexpr QSizeF kSheetSize(18, 22);

void DrawFolder(QPainter& painter, const QPointF& bottomLeft) {
  const QRectF body(bottomLeft.x(), bottomLeft.y() - kFolderSize.height(), kFolderSize.width(),
                    kFolderSize.height());
  QPainterPath tab;
  tab.addRoundedRect(QRectF(body.left(), body.top() - 5, body.width() * 0.45, 10), 2, 2);
  painter.setPen(QPen(QColor(150, 110, 20), 1));
  painter.setBrush(QColor(226, 180, 70));
  painter.drawPath(tab);
  painter.setBrush(QColor(244, 204, 96));
  painter.drawRoundedRect(body, 2, 2);
}

void DrawSheet(QPainter& painter, const QPointF& center, qreal angle) {
  painter.save();
  painter.translate(center);
  painter.rotate(angle);
  const QRectF sheet(-kSheetSize.width() / 2, -kSheetSize.height() / 2, kSheetSize.width(),
                     kSheetSize.height());
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(sheet);
  painter.setPen(QPen(QColor(150, 170, 210), 1));
  for (qreal y = sheet.top() + 5; y < sheet.bottom() - 3; y += 4)
    painter.drawLine(QPointF(sheet.left() + 3, y), QPointF(sheet.right() - 3, y));
  painter.restore();
}

}  // namespace

TCopyAnimation::TCopyAnimation(QWidget* Owner) : QWidget(Owner) {
  timer_.setInterval(kFrameMilliseconds);
  connect(&timer_, &QTimer::timeout, this, [this] { NextFrame(); });
}

QSize TCopyAnimation::sizeHint() const { return {272, 60}; }

void TCopyAnimation::SetActive(bool Value) {
  if (Value && !active_) frame_ = 0;
  active_ = Value;
  UpdateTimer();
  update();
}

void TCopyAnimation::UpdateTimer() {
  if (active_ && isVisible())
    timer_.start();
  else
    timer_.stop();
}

void TCopyAnimation::NextFrame() {
  frame_ = (frame_ + 1) % kFrameCount;
  update();
}

void TCopyAnimation::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UpdateTimer();
}

void TCopyAnimation::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  UpdateTimer();
}

// The sheet rises out of the left folder, arcs over and sinks into the right
// one, tilting as it flies.
void TCopyAnimation::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal base = height() - 6;
  const QPointF from(width() / 2.0 - 90, base);
  const QPointF to(width() / 2.0 + 90 - kFolderSize.width(), base);
  DrawFolder(painter, from);
  DrawFolder(painter, to);
  if (!active_) return;
  const qreal t = qreal(frame_) / (kFrameCount - 1);
  const qreal startX = from.x() + kFolderSize.width() / 2;
  const qreal endX = to.x() + kFolderSize.width() / 2;
  const qreal x = startX + (endX - startX) * t;
  const qreal rest = base - kFolderSize.height() / 2;
  const qreal lift = rest - kSheetSize.height() / 2 - 4;
  const qreal y = rest - std::sin(std::numbers::pi * t) * lift;
  DrawSheet(painter, QPointF(x, y), -30 + 60 * t);
}

}  // namespace tessalune
