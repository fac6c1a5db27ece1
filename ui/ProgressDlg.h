// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessalune {

class TCopyAnimation;

// The window in front of everything while a gallery is published: the step
// text, the progress in percent, the copy animation and Cancel. It is
// modeless, but while it is shown every other top-level window of the
// application is disabled and the busy cursor is on. The work runs on the
// user-interface thread and lets pending events run after each report
// (QCoreApplication::processEvents), which keeps this window painted and
// Cancel pressable.
//
// It is no child of its owner, since disabling the owner would disable it
// too: the owner only places it, and the caller deletes it.
class TfrmProgress : public QWidget {
public:
  explicit TfrmProgress(QWidget* Owner);
  ~TfrmProgress() override;

  // Clears Cancelled, shows the window centred on its owner, starts the
  // animation and turns the busy cursor on.
  void Start();
  // Hides the window, stops the animation and restores the cursor.
  void Finish();
  void SetText(const std::string& Value);
  // Percent, 0 to 100.
  void SetPosition(int Value);
  // True once Cancel was pressed or the window was asked to close.
  bool Cancelled() const { return cancelled_; }

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void PlaceOverOwner();
  void FormShow();
  void FormHide();

  QPointer<QWidget> owner_;
  TCopyAnimation* Animate;
  QLabel* lblText;
  QProgressBar* ProgressBar;
  QPushButton* btnCancel;
  bool cancelled_ = false;
  bool busyCursor_ = false;
  // The windows FormShow disabled; those still alive are enabled again.
  std::vector<QPointer<QWidget>> windowList_;
};

}  // namespace tessalune
