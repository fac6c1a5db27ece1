// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

namespace tessalune {

// A sheet of paper flying from one folder to another, the picture of files
// being copied: 34 frames repeated without end while the animation is active
// and shown. Drawn, not played from a clip, so it stays sharp at any scale.
class TCopyAnimation : public QWidget {
public:
  static constexpr int kFrameCount = 34;

  explicit TCopyAnimation(QWidget* Owner = nullptr);

  bool Active() const { return active_; }
  // Starts from the first frame; stopping keeps the frame on screen.
  void SetActive(bool Value);
  // True while the frames advance: active and shown.
  bool Running() const { return timer_.isActive(); }
  // From 0 to kFrameCount - 1.
  int Frame() const { return frame_; }

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void UpdateTimer();
  void NextFrame();

  QTimer timer_;
  bool active_ = false;
  int frame_ = 0;
};

}  // namespace tessalune
